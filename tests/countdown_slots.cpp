#include "countdown_slots.h"

#include <cstdlib>
#include <cstring>

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

// Each area begins with one more slot, which holds its count: releasing
// it with another count is a fault in the index, and ends the test.
static_assert(sizeof(std::size_t) <= sizeof(void*), "a slot holds a count");

const WordNode** index_slots_allocate(std::size_t count) {
  if (++g_attempts == g_fail_at) {
    return nullptr;
  }
  auto* area = static_cast<const WordNode**>(std::calloc(count + 1, sizeof(void*)));
  if (area == nullptr) {
    std::abort();  // the tests themselves ran out of memory
  }
  std::memcpy(static_cast<void*>(area), &count, sizeof count);
  ++g_live;
  return area + 1;
}

void index_slots_release(const WordNode** slots, std::size_t count) {
  const WordNode** area = slots - 1;
  std::size_t allocated = 0;
  std::memcpy(&allocated, static_cast<const void*>(area), sizeof allocated);
  if (allocated != count) {
    std::abort();
  }
  --g_live;
  std::free(static_cast<void*>(area));
}
