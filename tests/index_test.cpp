// The tracer's index, its slots from memory that counts and fails on
// command (countdown_slots.cpp): words that meet in one slot, doubling;
// and the tracer, whose index grows, cannot be had or cannot grow (and
// then it walks the list).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "address_text.h"
#include "countdown_slots.h"
#include "tracer.h"
#include "word_index.h"
#include "word_list.h"

namespace {

// `count` words "<prefix>0", "<prefix>1", ... whose home among `capacity`
// slots is `home`.
std::vector<std::string> words_at(std::size_t home, std::size_t capacity, std::size_t count,
                                  const char* prefix) {
  std::vector<std::string> words;
  for (int i = 0; words.size() < count; ++i) {
    std::string word = prefix + std::to_string(i);
    if (index_home(word.c_str(), capacity) == home) {
      words.push_back(word);
    }
  }
  return words;
}

// Elements holding copies of words, as the list's elements hold their
// own: the index must compare words, not where they lie.
struct Elements {
  std::vector<std::string> words;
  std::vector<WordNode> nodes;
};

Elements elements(const std::vector<std::string>& words) {
  Elements made{words, {}};
  for (std::string& word : made.words) {
    made.nodes.push_back(WordNode{word.data(), 1, nullptr});
  }
  return made;
}

// Checks that a test leaves no area of slots behind, and disarms the
// memory whatever the test did.
class IndexTest : public testing::Test {
 protected:
  void SetUp() override { live_ = countdown_slots::live(); }
  void TearDown() override {
    countdown_slots::fail_at(0);
    EXPECT_EQ(live_, countdown_slots::live()) << "areas of slots left allocated";
  }
  long live_ = 0;
};

// Tests that words that meet are all found: three at home in the last of
// 16 slots, whose search goes on from the end of the slots to their
// start, and one at home in the first, pushed on past them. Words not held
// are not found, whichever slot of the chain their search starts from.
TEST_F(IndexTest, FindsWordsThatMeet) {
  constexpr std::size_t kSlots = 16;
  std::vector<std::string> held = words_at(kSlots - 1, kSlots, 3, "a");
  held.push_back(words_at(0, kSlots, 1, "b")[0]);
  const Elements made = elements(held);
  const std::vector<WordNode>& nodes = made.nodes;
  std::vector<std::string> absent = words_at(kSlots - 1, kSlots, 1, "c");
  absent.push_back(words_at(0, kSlots, 1, "d")[0]);
  absent.push_back(words_at(2, kSlots, 1, "e")[0]);
  WordIndex index = index_make(kSlots);
  for (const WordNode& node : nodes) {
    index_remember(&index, &node);
  }
  ASSERT_EQ(kSlots, index.capacity);
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    EXPECT_EQ(&nodes[i], index_find(index, held[i].c_str())) << held[i];
  }
  for (const std::string& word : absent) {
    EXPECT_EQ(nullptr, index_find(index, word.c_str())) << word;
  }
  index_release(&index);
}

// Tests that a search for a word not held ends in a chain as long as the
// index allows: eight words at home in the first of 16 slots fill it half,
// up to slot 7, and a search from the chain's start, its middle or its
// end must go on to slot 8, the next empty one, and stop there.
TEST_F(IndexTest, EndsASearchThroughTheLongestChain) {
  constexpr std::size_t kSlots = 16;
  const Elements made = elements(words_at(0, kSlots, kSlots / 2, "f"));
  const std::vector<WordNode>& nodes = made.nodes;
  WordIndex index = index_make(kSlots);
  for (const WordNode& node : nodes) {
    index_remember(&index, &node);
  }
  ASSERT_EQ(kSlots, index.capacity) << "half full, it grows no sooner";
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    EXPECT_EQ(&nodes[i], index_find(index, made.words[i].c_str())) << made.words[i];
  }
  for (const std::size_t home : {std::size_t{0}, std::size_t{4}, std::size_t{7}}) {
    const std::string word = words_at(home, kSlots, 1, "g")[0];
    EXPECT_EQ(nullptr, index_find(index, word.c_str())) << word;
  }
  index_release(&index);
}

// Tests that the index doubles when it would be more than half full, and
// not before, keeping every element and only the one area of slots:
// from 2 slots, 1024 words take 2048, and one more 4096.
TEST_F(IndexTest, GrowsKeepingEveryWord) {
  std::vector<std::string> words;
  for (int i = 0; i <= 1024; ++i) {
    words.push_back("w" + std::to_string(i));
  }
  const Elements made = elements(words);
  const std::vector<WordNode>& nodes = made.nodes;
  WordIndex index = index_make(2);
  std::size_t half_full = 0;
  for (const WordNode& node : nodes) {
    half_full = index.capacity;
    index_remember(&index, &node);
  }
  EXPECT_EQ(2048U, half_full);
  EXPECT_EQ(4096U, index.capacity);
  EXPECT_EQ(live_ + 1, countdown_slots::live());
  std::size_t lost = 0;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    lost += index_find(index, words[i].c_str()) == &nodes[i] ? 0 : 1;
  }
  EXPECT_EQ(0U, lost) << "of " << nodes.size();
  EXPECT_EQ(nullptr, index_find(index, "w1025"));
  index_release(&index);
}

struct ShortageCase {
  const char* name;
  long fail_at;          // the slot allocation that fails; 0 for none
  std::size_t capacity;  // the index's at the end; 0 when given up
};

void PrintTo(const ShortageCase& test, std::ostream* out) { *out << test.name; }

class TracerIndexTest : public IndexTest, public testing::WithParamInterface<ShortageCase> {};

// Tests that the trace says what became of every addition whether the
// tracer's index grows, cannot be had or cannot grow (when the tracer
// walks the list): 600 words, more than its first 1024 slots hold at
// half full, each inserted after the one before and then counted in its
// own element.
TEST_P(TracerIndexTest, TracesEveryAddition) {
  std::vector<std::string> words;
  for (int i = 1000; i < 1600; ++i) {
    words.push_back("w" + std::to_string(i));
  }
  countdown_slots::fail_at(GetParam().fail_at);
  Tracer tracer = tracer_make(0, false);
  WordNode* head = nullptr;
  testing::internal::CaptureStdout();
  for (int pass = 0; pass < 2; ++pass) {
    for (const std::string& word : words) {
      EXPECT_TRUE(add_traced(&head, word.c_str(), &tracer));
    }
  }
  std::string trace = testing::internal::GetCapturedStdout();
  trace.erase(std::remove(trace.begin(), trace.end(), '\r'), trace.end());  // Windows' text mode
  EXPECT_EQ(GetParam().capacity, tracer.index.capacity);
  std::map<std::string, std::string> address;
  for (const WordNode* node = head; node != nullptr; node = node->next) {
    address[node->word] = format_address(node).digits;
  }
  ASSERT_EQ(words.size(), address.size());
  std::string expected;
  for (std::size_t i = 0; i < words.size(); ++i) {
    expected += "inserted " + address[words[i]] +
                (i == 0 ? " at head" : " after " + address[words[i - 1]]) + " WORD: " + words[i] +
                "\n";
  }
  for (const std::string& word : words) {
    expected += "counted " + address[word] + " COUNT: 2 WORD: " + word + "\n";
  }
  EXPECT_EQ(expected, trace);
  tracer_release(&tracer);
  list_free(&head);
}

INSTANTIATE_TEST_SUITE_P(Memory, TracerIndexTest,
                         testing::Values(ShortageCase{"IndexGrows", 0, 2048},
                                         ShortageCase{"NoIndex", 1, 0},
                                         ShortageCase{"IndexCannotGrow", 2, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
