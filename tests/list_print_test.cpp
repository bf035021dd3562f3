#include <gtest/gtest.h>

#include <cctype>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "word_list.h"

namespace {

// An address as the listing must show it, worked out independently of the
// program: zero-padded upper-case hexadecimal of the pointer's width.
std::string address_text(const void* address) {
  char text[2 * sizeof(void*) + 1];
  std::snprintf(text, sizeof text, "%0*" PRIXPTR, static_cast<int>(2 * sizeof(void*)),
                reinterpret_cast<std::uintptr_t>(address));
  return text;
}

// Replaces every "@k" in `pattern` with the address of the k-th element
// (counting from 1), and "@0" with the null address.
std::string fill_addresses(const std::string& pattern, const WordNode* head) {
  std::vector<const WordNode*> nodes{nullptr};
  for (const WordNode* node = head; node != nullptr; node = node->next) {
    nodes.push_back(node);
  }
  std::string result;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '@') {
      result += pattern[i];
      continue;
    }
    std::size_t end = i + 1;
    while (end < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[end])) != 0) {
      ++end;
    }
    result += address_text(nodes.at(std::stoul(pattern.substr(i + 1, end - i - 1))));
    i = end - 1;
  }
  return result;
}

// What list_print writes for the list.
std::string printed(WordNode* head) {
  testing::internal::CaptureStdout();
  list_print(&head);
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

struct PrintCase {
  const char* name;
  std::vector<const char*> words;
  const char* pattern;
};

// Names a case in test listings instead of dumping its bytes.
void PrintTo(const PrintCase& test, std::ostream* out) { *out << test.name; }

class PrintTest : public testing::TestWithParam<PrintCase> {
 protected:
  void TearDown() override { list_free(&head_); }
  WordNode* head_ = nullptr;
};

// Tests the listing byte for byte, with each element's real address.
TEST_P(PrintTest, WritesExactListing) {
  for (const char* word : GetParam().words) {
    ASSERT_TRUE(list_add_sorted(&head_, word));
  }
  const std::string listing = printed(head_);
  EXPECT_EQ(fill_addresses(GetParam().pattern, head_), listing);
}

const PrintCase kPrintCases[] = {
    {"Empty", {}, "Seznam je prazdny.\n"},
    {"One",
     {"a"},
     "Seznam - adresa prvniho prvku: @1\n"
     "  1 ADR: @1 NEXT: @0 COUNT:   1 WORD: a\n"},
    {"FixedWords",
     {"pokus", "druhy", "pokus", "pokus"},
     "Seznam - adresa prvniho prvku: @1\n"
     "  1 ADR: @1 NEXT: @2 COUNT:   1 WORD: druhy\n"
     "  2 ADR: @2 NEXT: @0 COUNT:   3 WORD: pokus\n"},
    {"HighBytesUnchanged",
     {"\xC3\xA1", "z\x01\x7F"},
     "Seznam - adresa prvniho prvku: @1\n"
     "  1 ADR: @1 NEXT: @2 COUNT:   1 WORD: z\x01\x7F\n"
     "  2 ADR: @2 NEXT: @0 COUNT:   1 WORD: \xC3\xA1\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, PrintTest, testing::ValuesIn(kPrintCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Tests that positions and counts wider than three digits are written in
// full, and that printing changes nothing in the list.
TEST_F(PrintTest, WideFieldsGrow) {
  for (int i = 0; i < 1000; ++i) {
    char word[8];
    std::snprintf(word, sizeof word, "w%04d", i);
    ASSERT_TRUE(list_add_sorted(&head_, word));
  }
  head_->count = 1000;
  WordNode* last = head_;
  while (last->next != nullptr) {
    last = last->next;
  }
  last->count = 2147483647;
  const std::string listing = printed(head_);
  const std::string tail = fill_addresses(
      "999 ADR: @999 NEXT: @1000 COUNT:   1 WORD: w0998\n"
      "1000 ADR: @1000 NEXT: @0 COUNT: 2147483647 WORD: w0999\n",
      head_);
  const std::string first = fill_addresses("  1 ADR: @1 NEXT: @2 COUNT: 1000 WORD: w0000\n", head_);
  EXPECT_NE(std::string::npos, listing.find(first));
  ASSERT_GE(listing.size(), tail.size());
  EXPECT_EQ(tail, listing.substr(listing.size() - tail.size()));
  EXPECT_EQ(listing, printed(head_));
}

}  // namespace
