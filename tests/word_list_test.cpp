#include "word_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "list_test_util.h"

namespace {

using Words = std::vector<std::string>;

// A list that is released after every test, whatever it checked.
class WordListTest : public testing::Test {
 protected:
  void TearDown() override { list_free(&head_); }

  void add_sorted(const Words& words) {
    for (const auto& word : words) {
      ASSERT_TRUE(list_add_sorted(&head_, word.c_str())) << word;
    }
  }

  WordNode* head_ = nullptr;
};

// Words added at the front first, then words added in order, and the
// list that must result.
struct AddCase {
  const char* name;
  Words front;
  Words sorted;
  Listing expected;
};

// Names a case in test listings instead of dumping its bytes.
void PrintTo(const AddCase& test, std::ostream* out) { *out << test.name; }

class AddTest : public WordListTest, public testing::WithParamInterface<AddCase> {};

// Tests that additions count every word once per occurrence and keep the
// order the additions promise.
TEST_P(AddTest, BuildsExpectedList) {
  for (const auto& word : GetParam().front) {
    ASSERT_TRUE(list_add_front(&head_, word.c_str())) << word;
  }
  add_sorted(GetParam().sorted);
  EXPECT_EQ(GetParam().expected, contents(head_));
}

const AddCase kAddCases[] = {
    {"Empty", {}, {}, {}},
    {"One", {}, {"a"}, {{"a", 1}}},
    {"FixedWords", {}, {"pokus", "druhy", "pokus", "pokus"}, {{"druhy", 1}, {"pokus", 3}}},
    {"NewHead", {}, {"m", "x", "a"}, {{"a", 1}, {"m", 1}, {"x", 1}}},
    {"NewTail", {}, {"a", "m", "x"}, {{"a", 1}, {"m", 1}, {"x", 1}}},
    {"Middle", {}, {"a", "x", "m"}, {{"a", 1}, {"m", 1}, {"x", 1}}},
    {"UpperCaseFirst", {}, {"pokus", "Pokus", "pokus"}, {{"Pokus", 1}, {"pokus", 2}}},
    {"PrefixFirst", {}, {"pokus", "pok", "po"}, {{"po", 1}, {"pok", 1}, {"pokus", 1}}},
    {"SameFirstByte", {}, {"ab", "aa", "ac", "ab"}, {{"aa", 1}, {"ab", 2}, {"ac", 1}}},
    {"HighBytesAfterAscii",
     {},
     {"\xC3\xA1", "\x80", "z", "\x7F", "\xFF", "\xC3"},
     {{"z", 1}, {"\x7F", 1}, {"\x80", 1}, {"\xC3", 1}, {"\xC3\xA1", 1}, {"\xFF", 1}}},
    {"EmptyWordFirst", {}, {"b", "", "a", ""}, {{"", 2}, {"a", 1}, {"b", 1}}},
    {"Many",
     {},
     {"the", "cat", "sat", "on", "the", "mat", "and", "the", "cat", "ran"},
     {{"and", 1}, {"cat", 2}, {"mat", 1}, {"on", 1}, {"ran", 1}, {"sat", 1}, {"the", 3}}},
    {"FrontRepeat", {"b", "a", "b"}, {}, {{"a", 1}, {"b", 2}}},
    {"FrontReverses", {"a", "b", "c"}, {}, {{"c", 1}, {"b", 1}, {"a", 1}}},
    {"FrontCountsUnordered", {"c", "a", "c", "b", "a", "c"}, {}, {{"b", 1}, {"a", 2}, {"c", 3}}},
    // The equality walk must not stop at a greater word: on an unordered
    // list the word may stand further on.
    {"SortedCountsOnUnorderedList", {"a", "b", "c"}, {"a", "c"}, {{"c", 2}, {"b", 1}, {"a", 2}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, AddTest, testing::ValuesIn(kAddCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Tests that a repeated word changes only its count: no element moves and
// no link changes.
TEST_F(WordListTest, RepeatKeepsLinks) {
  add_sorted({"b", "d", "f"});
  const auto before = links(head_);
  add_sorted({"d", "b", "f"});
  EXPECT_EQ(before, links(head_));
  EXPECT_EQ((Listing{{"b", 2}, {"d", 2}, {"f", 2}}), contents(head_));
}

// Tests that a count at its limit refuses one more occurrence and keeps
// everything else as it was.
TEST_F(WordListTest, CountStopsAtLimit) {
  add_sorted({"a", "b"});
  head_->next->count = INT32_MAX - 1;
  EXPECT_TRUE(list_add_sorted(&head_, "b"));
  EXPECT_EQ(INT32_MAX, head_->next->count);
  const auto before = links(head_);
  EXPECT_FALSE(list_add_sorted(&head_, "b"));
  EXPECT_FALSE(list_add_front(&head_, "b"));
  EXPECT_EQ((Listing{{"a", 1}, {"b", INT32_MAX}}), contents(head_));
  EXPECT_EQ(before, links(head_));
}

// A query on the list b, d, f (or on the empty list) and the word of the
// predecessor it must find; null where the word belongs at the head.
struct PredecessorCase {
  const char* name;
  Words list;
  const char* query;
  const char* expected;
};

// Names a case in test listings instead of dumping its bytes.
void PrintTo(const PredecessorCase& test, std::ostream* out) { *out << test.name; }

class PredecessorTest : public WordListTest, public testing::WithParamInterface<PredecessorCase> {};

// Tests that the predecessor is the last element sorting strictly before
// the word.
TEST_P(PredecessorTest, FindsLastSmallerElement) {
  add_sorted(GetParam().list);
  const WordNode* found = list_find_predecessor(&head_, GetParam().query);
  if (GetParam().expected == nullptr) {
    EXPECT_EQ(nullptr, found);
  } else {
    ASSERT_NE(nullptr, found);
    EXPECT_STREQ(GetParam().expected, found->word);
  }
}

const PredecessorCase kPredecessorCases[] = {
    {"EmptyList", {}, "a", nullptr},
    {"BeforeHead", {"b", "d", "f"}, "a", nullptr},
    {"EqualsHead", {"b", "d", "f"}, "b", nullptr},
    {"AfterHead", {"b", "d", "f"}, "c", "b"},
    {"EqualsMiddle", {"b", "d", "f"}, "d", "b"},
    {"AfterMiddle", {"b", "d", "f"}, "e", "d"},
    {"EqualsTail", {"b", "d", "f"}, "f", "d"},
    {"AfterTail", {"b", "d", "f"}, "g", "f"},
    {"LongerForm", {"b", "d", "f"}, "dd", "d"},
    {"HighByte", {"b", "d", "f"}, "\xE9", "f"},
};

INSTANTIATE_TEST_SUITE_P(Cases, PredecessorTest, testing::ValuesIn(kPredecessorCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Tests that releasing reports whether there was anything to release and
// leaves an empty list that can be used again.
TEST_F(WordListTest, FreeEmptiesAndReports) {
  EXPECT_FALSE(list_free(&head_));
  EXPECT_EQ(nullptr, head_);
  add_sorted({"a", "b", "a"});
  EXPECT_TRUE(list_free(&head_));
  EXPECT_EQ(nullptr, head_);
  EXPECT_FALSE(list_free(&head_));
  add_sorted({"c"});
  EXPECT_EQ((Listing{{"c", 1}}), contents(head_));
}

}  // namespace
