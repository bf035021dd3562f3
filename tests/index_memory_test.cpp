// The index's own memory, as the programs have it: zeroed slots, every
// page of them given back on release (a release that kept some would
// pass every other test, each program ending soon after), and none at all
// for a count whose bytes do not fit.
#include "index_memory.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

#include "word_list.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

#ifdef _WIN32
std::size_t page_bytes() {
  SYSTEM_INFO system{};
  GetSystemInfo(&system);
  return system.dwPageSize;
}

// Whether the page holding `at` is mapped.
bool mapped(const void* at) {
  MEMORY_BASIC_INFORMATION region{};
  return VirtualQuery(at, &region, sizeof region) != 0 && region.State != MEM_FREE;
}
#else
std::size_t page_bytes() { return static_cast<std::size_t>(sysconf(_SC_PAGESIZE)); }

// Whether the page holding `at` is mapped: msync refuses, with ENOMEM,
// a page that is not.
bool mapped(const void* at) {
  const std::uintptr_t page = reinterpret_cast<std::uintptr_t>(at) & ~(page_bytes() - 1);
  // NOLINTNEXTLINE(performance-no-int-to-ptr): the page's start, from the address
  void* start = reinterpret_cast<void*>(page);
  return msync(start, 1, MS_ASYNC) == 0 || errno != ENOMEM;
}
#endif

// Tests, for one slot, one page of them, a page and a slot more, and the
// most an index starts with, that the slots come zeroed and writable and
// that neither the first nor the last page stays mapped after release.
TEST(IndexMemoryTest, GivesZeroedSlotsAndTakesEveryPageBack) {
  const std::size_t per_page = page_bytes() / sizeof(void*);
  for (const std::size_t count : {std::size_t{1}, per_page, per_page + 1, kIndexMostSlots}) {
    SCOPED_TRACE(count);
    const WordNode** slots = index_slots_allocate(count);
    ASSERT_NE(nullptr, slots);
    EXPECT_EQ(nullptr, slots[0]);
    EXPECT_EQ(nullptr, slots[count - 1]);
    static WordNode node{};
    slots[count - 1] = &node;
    const WordNode* const* last = &slots[count - 1];
    ASSERT_TRUE(mapped(slots));
    ASSERT_TRUE(mapped(last));
    index_slots_release(slots, count);
    EXPECT_FALSE(mapped(slots)) << "the first page is still mapped";
    EXPECT_FALSE(mapped(last)) << "the last page is still mapped";
  }
}

// Tests that a count whose bytes overflow is refused, not wrapped to a
// small area that the index would then write past.
TEST(IndexMemoryTest, RefusesACountWhoseBytesDoNotFit) {
  EXPECT_EQ(nullptr, index_slots_allocate(SIZE_MAX / sizeof(void*) + 1));
  EXPECT_EQ(nullptr, index_slots_allocate(SIZE_MAX));
}

}  // namespace
