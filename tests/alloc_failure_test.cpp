// Every allocation the list makes is made to fail in turn: the operation
// must report it, leave the list exactly as it was and leak nothing. The
// trace reader's too: it must report the lack of memory, not a fault.
#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "countdown_alloc.h"
#include "list_test_util.h"
#include "trace_reader.h"
#include "word_count.h"
#include "word_list.h"

namespace {

using Words = std::vector<std::string>;

struct AdditionCase {
  const char* name;
  Words list;
  bool front;
  const char* word;
};

// Names a case in test listings instead of dumping its bytes.
void PrintTo(const AdditionCase& test, std::ostream* out) { *out << test.name; }

class AdditionFailureTest : public testing::TestWithParam<AdditionCase> {
 protected:
  void TearDown() override {
    countdown::disarm();
    list_free(&head_);
  }
  WordNode* head_ = nullptr;
};

// Tests every failure point of one addition, until it needs no more
// allocations than the allocator lets through.
TEST_P(AdditionFailureTest, FailureChangesNothing) {
  for (const auto& word : GetParam().list) {
    ASSERT_TRUE(list_add_sorted(&head_, word.c_str()));
  }
  const auto before = contents(head_);
  const auto before_links = links(head_);
  const auto add = GetParam().front ? list_add_front : list_add_sorted;
  for (long n = 1;; ++n) {
    const long live = countdown::live();
    countdown::fail_at(n, false);
    const bool added = add(&head_, GetParam().word);
    countdown::disarm();
    if (!countdown::failed()) {
      EXPECT_TRUE(added);
      EXPECT_EQ(before.size() + 1, contents(head_).size());
      break;
    }
    ASSERT_FALSE(added) << "allocation " << n;
    ASSERT_EQ(before, contents(head_)) << "allocation " << n;
    ASSERT_EQ(before_links, links(head_)) << "allocation " << n;
    ASSERT_EQ(live, countdown::live()) << "allocation " << n;
  }
}

const AdditionCase kAdditionCases[] = {
    {"SortedIntoEmpty", {}, false, "a"},        {"SortedAtHead", {"b", "d"}, false, "a"},
    {"SortedInMiddle", {"b", "d"}, false, "c"}, {"SortedAtTail", {"b", "d"}, false, "e"},
    {"FrontIntoEmpty", {}, true, "a"},          {"FrontBeforeOthers", {"b", "d"}, true, "c"},
};

INSTANTIATE_TEST_SUITE_P(Cases, AdditionFailureTest, testing::ValuesIn(kAdditionCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Tests that counting a known word needs no memory at all.
TEST(RepeatTest, NeedsNoMemory) {
  WordNode* head = nullptr;
  ASSERT_TRUE(list_add_sorted(&head, "a"));
  ASSERT_TRUE(list_add_sorted(&head, "b"));
  countdown::fail_at(1, true);
  EXPECT_TRUE(list_add_sorted(&head, "b"));
  EXPECT_TRUE(list_add_front(&head, "a"));
  countdown::disarm();
  EXPECT_EQ(0, countdown::attempts());
  EXPECT_EQ((Listing{{"a", 2}, {"b", 2}}), contents(head));
  list_free(&head);
}

constexpr const char* kText =
    "It was a bright cold day in April, and the clocks were striking thirteen.\r\n"
    "The hallway smelt of boiled cabbage and old rag mats. At one end of it a\r\n"
    "coloured poster, too large for indoor display, had been tacked to the wall!\r\n"
    "Pokus? pokus. It's a pokus, druhy pokus; the end.\r\n";

// The list a run must hold when allocation `fail_at` fails (and, when
// `sticky`, every allocation after it): each new word takes two
// allocations, an element and its copy, and is dropped when either fails.
Listing expected_counts(const Words& words, long fail_at, bool sticky) {
  std::map<std::string, int> counts;
  long attempt = 0;
  const auto allocation_fails = [&] {
    ++attempt;
    return attempt == fail_at || (sticky && attempt > fail_at);
  };
  for (const auto& word : words) {
    auto found = counts.find(word);
    if (found != counts.end()) {
      ++found->second;
      continue;
    }
    const bool element = !allocation_fails();
    if (element && !allocation_fails()) {  // the element, then its word
      counts.emplace(word, 1);
    }
  }
  return {counts.begin(), counts.end()};
}

// The words of kText as the program splits them, after the fixed words.
Words all_words() {
  Words words = fixed_words();
  for (auto& word : model_words(kText)) {
    words.push_back(std::move(word));
  }
  return words;
}

// Counts kText with the program's own path under one armed allocator;
// `dropped` is what the path reports as not counted.
Listing count_text(long fail_at, bool sticky, std::size_t* dropped) {
  std::string text = kText;
  WordNode* head = nullptr;
  countdown::fail_at(fail_at, sticky);
  *dropped = add_fixed_words(&head);
  *dropped += add_text_words(&head, text.data());
  countdown::disarm();
  Listing result = contents(head);
  list_free(&head);
  return result;
}

std::size_t total_count(const Listing& listing) {
  std::size_t total = 0;
  for (const auto& entry : listing) {
    total += static_cast<std::size_t>(entry.second);
  }
  return total;
}

class WholeRunFailureTest : public testing::TestWithParam<bool> {};

// Tests a whole run with each of its allocations failing in turn, once
// alone and once with every later allocation failing too: the list holds
// exactly the words whose additions succeeded, in order, the occurrences
// reported as not counted are exactly those missing, and nothing leaks.
TEST_P(WholeRunFailureTest, KeepsWhatSucceeded) {
  const bool sticky = GetParam();
  const Words words = all_words();
  long points = 0;
  std::size_t dropped = 0;
  for (long n = 1;; ++n, ++points) {
    const long live = countdown::live();
    bool failed = false;
    {
      const Listing listing = count_text(n, sticky, &dropped);
      failed = countdown::failed();
      if (failed) {
        ASSERT_EQ(expected_counts(words, n, sticky), listing) << "allocation " << n;
        ASSERT_EQ(words.size() - total_count(listing), dropped) << "allocation " << n;
      }
    }
    ASSERT_EQ(live, countdown::live()) << "allocation " << n;
    if (!failed) {
      break;
    }
  }
  EXPECT_EQ(expected_counts(words, 0, false), count_text(0, false, &dropped));
  EXPECT_EQ(0U, dropped);
  EXPECT_GT(points, 80);
  RecordProperty("failure_points", static_cast<int>(points));
}

INSTANTIATE_TEST_SUITE_P(Modes, WholeRunFailureTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "Sticky" : "Once"; });

struct ReadingCase {
  const char* name;
  bool trace;
  std::string text;
};

void PrintTo(const ReadingCase& test, std::ostream* out) { *out << test.name; }

class ReadingFailureTest : public testing::TestWithParam<ReadingCase> {};

// Reads the case's text as a listing or a trace; whether anything is kept.
ReadResult read_text(const ReadingCase& test, bool* kept, ListingError* error) {
  ParsedTrace trace{};
  const ReadResult result =
      test.trace ? trace_read(test.text.data(), test.text.size(), &trace, error)
                 : listing_read(test.text.data(), test.text.size(), &trace.listing, error);
  *kept = trace.steps != nullptr || trace.listing.elements != nullptr;
  trace_release(&trace);
  return result;
}

// Tests each allocation of a reading failing in turn, a listing's and a
// trace's (its replay's and its final listing's): the reader says it ran
// out of memory, keeps nothing and leaks nothing.
TEST_P(ReadingFailureTest, ReportsNoMemory) {
  for (long n = 1;; ++n) {
    const long live = countdown::live();
    bool kept = false;
    ListingError error{};
    countdown::fail_at(n, false);
    const ReadResult result = read_text(GetParam(), &kept, &error);
    countdown::disarm();
    if (!countdown::failed()) {
      EXPECT_EQ(ReadResult::kRead, result) << error.line << ": " << error.what;
      break;
    }
    ASSERT_EQ(ReadResult::kNoMemory, result) << "allocation " << n;
    ASSERT_FALSE(kept) << "allocation " << n;
    ASSERT_EQ(live, countdown::live()) << "allocation " << n;
  }
}

const char* const kListing =
    "Seznam - adresa prvniho prvku: 00001000\n"
    "  1 ADR: 00001000 NEXT: 00000000 COUNT:   2 WORD: a\n";

INSTANTIATE_TEST_SUITE_P(Readers, ReadingFailureTest,
                         testing::Values(ReadingCase{"Listing", false, kListing},
                                         ReadingCase{
                                             "Trace", true,
                                             std::string("wordlist-trace 1\n"
                                                         "inserted 00001000 at head WORD: a\n"
                                                         "counted 00001000 COUNT: 2 WORD: a\n") +
                                                 kListing}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
