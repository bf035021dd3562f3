// Replaces the global operators new and delete with malloc and free, and
// lets the nothrow forms fail on command.
#include "countdown_alloc.h"

#include <cstdlib>
#include <new>

namespace {

long g_fail_at = 0;  // 0: disarmed
bool g_sticky = false;
long g_attempts = 0;
bool g_failed = false;
long g_live = 0;

bool should_fail() {
  ++g_attempts;
  if (g_fail_at == 0 || g_attempts < g_fail_at || (g_attempts > g_fail_at && !g_sticky)) {
    return false;
  }
  g_failed = true;
  return true;
}

void* allocate(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) {
    std::abort();  // the tests themselves ran out of memory
  }
  ++g_live;
  return block;
}

void* allocate_nothrow(std::size_t size) noexcept {
  if (should_fail()) {
    return nullptr;
  }
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block != nullptr) {
    ++g_live;
  }
  return block;
}

void release(void* block) noexcept {
  if (block != nullptr) {
    --g_live;
    std::free(block);
  }
}

}  // namespace

namespace countdown {

void fail_at(long n, bool sticky) {
  g_fail_at = n;
  g_sticky = sticky;
  g_attempts = 0;
  g_failed = false;
}

void disarm() { g_fail_at = 0; }

long attempts() { return g_attempts; }

bool failed() { return g_failed; }

long live() { return g_live; }

}  // namespace countdown

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
  return allocate_nothrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
  return allocate_nothrow(size);
}
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t /*size*/) noexcept { release(block); }
void operator delete[](void* block, std::size_t /*size*/) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t& /*tag*/) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t& /*tag*/) noexcept { release(block); }
