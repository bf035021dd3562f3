#include "countdown_slots.h"

#include <cstdlib>

#include "index_memory.h"

namespace {

long g_fail_at = 0;  // 0: disarmed
long g_attempts = 0;
long g_live = 0;

}  // namespace

namespace countdown_slots {

void fail_at(long n) {
  g_fail_at = n;
  g_attempts = 0;
}

long live() { return g_live; }

}  // namespace countdown_slots

const WordNode** index_slots_allocate(std::size_t count) {
  if (++g_attempts == g_fail_at) {
    return nullptr;
  }
  auto* slots = static_cast<const WordNode**>(std::calloc(count, sizeof(void*)));
  if (slots == nullptr) {
    std::abort();  // the tests themselves ran out of memory
  }
  ++g_live;
  return slots;
}

void index_slots_release(const WordNode** slots, std::size_t /*count*/) {
  --g_live;
  std::free(static_cast<void*>(slots));
}
