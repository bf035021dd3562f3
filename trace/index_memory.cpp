#include "index_memory.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#elif !defined(__wasi__)
#include <sys/mman.h>
#endif

#include <cstdint>
#include <cstring>

namespace {

#ifdef __wasi__
const WordNode* area[kIndexMostSlots];
bool area_taken = false;
#endif

// The bytes of one slot: an element's address, as wide as any object's.
constexpr std::size_t kSlotBytes = sizeof(void*);

}  // namespace

const WordNode** index_slots_allocate(std::size_t count) {
  if (count > SIZE_MAX / kSlotBytes) {
    return nullptr;
  }
  const std::size_t bytes = count * kSlotBytes;
#if defined(_WIN32)
  return static_cast<const WordNode**>(
      VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
#elif defined(__wasi__)
  if (area_taken || count > kIndexMostSlots) {
    return nullptr;
  }
  area_taken = true;
  std::memset(static_cast<void*>(area), 0, bytes);  // a run before this one may have used it
  return area;
#else
  void* slots = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return slots == MAP_FAILED ? nullptr : static_cast<const WordNode**>(slots);
#endif
}

void index_slots_release(const WordNode** slots, std::size_t count) {
#if defined(_WIN32)
  (void)count;
  (void)VirtualFree(static_cast<void*>(slots), 0, MEM_RELEASE);
#elif defined(__wasi__)
  (void)slots;
  (void)count;
  area_taken = false;
#else
  (void)munmap(static_cast<void*>(slots), count * kSlotBytes);
#endif
}
