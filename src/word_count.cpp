#include "word_count.h"

#include <cstring>

namespace {

constexpr const char* kFixedWords[] = {"pokus", "druhy", "pokus", "pokus"};
constexpr const char* kDelimiters = " \r\n\t,.?!*'";

}  // namespace

std::size_t add_fixed_words(WordNode** head) {
  std::size_t dropped = 0;
  for (const char* word : kFixedWords) {
    dropped += list_add_sorted(head, word) ? 0 : 1;
  }
  return dropped;
}

std::size_t add_text_words(WordNode** head, char* text) {
  std::size_t dropped = 0;
  for (const char* word = std::strtok(text, kDelimiters); word != nullptr;
       word = std::strtok(nullptr, kDelimiters)) {
    dropped += list_add_sorted(head, word) ? 0 : 1;
  }
  return dropped;
}
