// The listing reader and the DOT writer, in process: every rule the
// reader enforces, with the line it must name; listings from every target;
// and words that must stay data in the graph.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

#include "dot_writer.h"
#include "listing_reader.h"

namespace {

// A well-formed listing of three elements, 16 address digits, LF ends.
const std::string kGood =
    "Seznam - adresa prvniho prvku: 00005555AAAA0010\n"
    "  1 ADR: 00005555AAAA0010 NEXT: 00005555AAAA0050 COUNT:   1 WORD: druhy\n"
    "  2 ADR: 00005555AAAA0050 NEXT: 00005555AAAA0030 COUNT:   3 WORD: pokus\n"
    "  3 ADR: 00005555AAAA0030 NEXT: 0000000000000000 COUNT: 100 WORD: x\"<\\N>\n";

// kGood with its first occurrence of `from` replaced by `to`.
std::string edited(const std::string& from, const std::string& to) {
  std::string text = kGood;
  const std::size_t at = text.find(from);
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

struct BrokenCase {
  const char* name;
  std::string text;
  std::size_t line;
};

void PrintTo(const BrokenCase& test, std::ostream* out) { *out << test.name; }

class BrokenListingTest : public testing::TestWithParam<BrokenCase> {};

// Tests that the first violation is found, on its line, and nothing kept.
TEST_P(BrokenListingTest, NamesTheLine) {
  ParsedListing listing{};
  ListingError error{};
  const std::string& text = GetParam().text;
  ASSERT_EQ(ReadResult::kInvalid, listing_read(text.data(), text.size(), &listing, &error));
  EXPECT_EQ(GetParam().line, error.line) << error.what;
  EXPECT_EQ(nullptr, listing.elements);
}

const std::string kLine3 = "  3 ADR: 00005555AAAA0030 NEXT: 0000000000000000 COUNT: 100 WORD: ";

INSTANTIATE_TEST_SUITE_P(
    Rules, BrokenListingTest,
    testing::Values(
        BrokenCase{"Empty", "", 1}, BrokenCase{"NotAListing", "hello\n", 1},
        BrokenCase{"EmptyListThenMore", "Seznam je prazdny.\nx\n", 2},
        BrokenCase{"HeaderLowerCase", edited("AAAA0010\n", "aaaa0010\n"), 1},
        BrokenCase{"HeaderTwelveDigits", edited("00005555AAAA0010\n", "5555AAAA0010\n"), 1},
        BrokenCase{"HeaderNull", "Seznam - adresa prvniho prvku: 00000000\n", 1},
        BrokenCase{"HeaderOnly", "Seznam - adresa prvniho prvku: 0000AAAA\n", 2},
        BrokenCase{"CutShort", kGood.substr(0, kGood.size() - 1), 4},
        BrokenCase{"MixedLineEnds", edited("druhy\n", "druhy\r\n"), 2},
        BrokenCase{"PositionSkipped", edited("  2 ADR", "  3 ADR"), 3},
        BrokenCase{"PositionNotAligned", edited("  1 ADR", "1 ADR"), 2},
        BrokenCase{"HeaderDiffersFromFirst", edited("0010\n", "0020\n"), 2},
        BrokenCase{"NextDiffersFromAdr", edited("0050 COUNT", "0060 COUNT"), 3},
        BrokenCase{"AddressWidthsDiffer", edited("ADR: 00005555AAAA0050", "ADR: AAAA0050"), 3},
        BrokenCase{"NextMissing", edited(" NEXT: 00005555AAAA0050", ""), 2},
        BrokenCase{"CountMissing", edited(" COUNT:   3", ""), 3},
        BrokenCase{"CountZero", edited("COUNT:   3", "COUNT:   0"), 3},
        BrokenCase{"CountNegative", edited("COUNT:   3", "COUNT:  -3"), 3},
        BrokenCase{"CountNotAligned", edited("COUNT:   3", "COUNT: 3"), 3},
        BrokenCase{"CountLeadingZero", edited("COUNT: 100", "COUNT: 010"), 4},
        BrokenCase{"CountOverflows", edited("COUNT: 100", "COUNT: 2147483648"), 4},
        BrokenCase{"WordMissing", edited(" WORD: pokus", ""), 3},
        BrokenCase{"WordEmpty", edited("WORD: pokus", "WORD: "), 3},
        BrokenCase{"WordWithDelimiter", edited("WORD: pokus", "WORD: po kus"), 3},
        BrokenCase{"WordWithZeroByte", edited("WORD: pokus", std::string("WORD: po\0kus", 12)), 3},
        BrokenCase{"LastNextNotNull", edited("NEXT: 0000000000000000", "NEXT: 00005555AAAA0070"),
                   4},
        BrokenCase{"LineAfterLast", kGood + "\n", 5},
        BrokenCase{"AddressRepeats",
                   edited("0030 NEXT: 0000000000000000 COUNT: 100 WORD: x\"<\\N>\n",
                          "0030 NEXT: 00005555AAAA0010 COUNT: 100 WORD: x\n"
                          "  4 ADR: 00005555AAAA0010 NEXT: 0000000000000000 COUNT:   1 WORD: y\n"),
                   5}),
    [](const auto& info) { return std::string(info.param.name); });

struct GoodCase {
  const char* name;
  std::string text;
  std::size_t size;
  int digits;
};

void PrintTo(const GoodCase& test, std::ostream* out) { *out << test.name; }

class GoodListingTest : public testing::TestWithParam<GoodCase> {};

// The listing of `words` with 8-digit addresses, with `eol` line ends and
// the position and count widened as the program widens them.
std::string listing_of(std::size_t count, const char* eol) {
  std::string text = std::string("Seznam - adresa prvniho prvku: 00010000") + eol;
  for (std::size_t i = 1; i <= count; ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "%3zu ADR: %08zX NEXT: %08zX COUNT: %3zu WORD: w\x01\xFF%s", i,
                  0x10000 + i - 1, i == count ? 0 : 0x10000 + i, i * 1000, eol);
    text += line;
  }
  return text;
}

// Tests that what the program writes on each target is read whole.
TEST_P(GoodListingTest, ReadsEveryElement) {
  ParsedListing listing{};
  ListingError error{};
  const std::string& text = GetParam().text;
  ASSERT_EQ(ReadResult::kRead, listing_read(text.data(), text.size(), &listing, &error))
      << error.line << ": " << error.what;
  EXPECT_EQ(GetParam().size, listing.size);
  if (listing.size > 0) {
    EXPECT_EQ(GetParam().digits, listing.address_digits);
    EXPECT_EQ(0U, listing.elements[listing.size - 1].next);
  }
  listing_release(&listing);
}

INSTANTIATE_TEST_SUITE_P(Targets, GoodListingTest,
                         testing::Values(GoodCase{"Linux64", kGood, 3, 16},
                                         GoodCase{"Windows32", listing_of(3, "\r\n"), 3, 8},
                                         GoodCase{"WidePositions", listing_of(1200, "\n"), 1200, 8},
                                         GoodCase{"EmptyList", "Seznam je prazdny.\n", 0, 0},
                                         GoodCase{"EmptyListCrLf", "Seznam je prazdny.\r\n", 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// What dot_write_word writes for `word`.
std::string label_of(const std::string& word) {
  std::FILE* file = std::tmpfile();
  dot_write_word(file, word.data(), word.size());
  std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
  std::rewind(file);
  EXPECT_EQ(text.size(), std::fread(text.data(), 1, text.size(), file));
  std::fclose(file);
  return text;
}

// Tests that words are drawn as their characters and nothing else.
TEST(WordLabelTest, WordsStayData) {
  const std::string kMark = "<FONT COLOR=\"#B00020\">";
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "plain"},
      {R"(\N\G\)", R"(<FONT>\</FONT>N<FONT>\</FONT>G<FONT>\</FONT>)"},
      {"<b>&\"x\"</b>", "&lt;b&gt;&amp;&quot;x&quot;&lt;/b&gt;"},
      {"{|};[]", "{|};[]"},
      {"\xC3\xA1\xE2\x82\xAC", "\xC3\xA1\xE2\x82\xAC"},  // valid UTF-8 stays
      {"\xFF", kMark + "\\xFF</FONT>"},
      {"\xC0\xAF", kMark + "\\xC0</FONT>" + kMark + "\\xAF</FONT>"},  // overlong
      {"\xED\xA0\x80", kMark + "\\xED</FONT>" + kMark + "\\xA0</FONT>" + kMark + "\\x80</FONT>"},
      {"\x01\x7F", kMark + "\\x01</FONT>" + kMark + "\\x7F</FONT>"},
      // NOLINTNEXTLINE(misc-misleading-bidirectional): a right-to-left override
      {"\xE2\x80\xAE", kMark + "\\u202E</FONT>"},
      {std::string(50, 'a'), std::string(40, 'a') + "&#8230; (50 bytes)"},
  };
  for (const auto& [word, label] : cases) {
    EXPECT_EQ(label, label_of(word)) << testing::PrintToString(word);
  }
}

}  // namespace
