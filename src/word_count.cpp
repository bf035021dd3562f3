#include "word_count.h"

#include <cstring>

namespace {

constexpr const char* kFixedWords[] = {"pokus", "druhy", "pokus", "pokus"};
constexpr const char* kDelimiters = " \r\n\t,.?!*'";

}  // namespace

void add_fixed_words(WordNode** head) {
  for (const char* word : kFixedWords) {
    list_add_sorted(head, word);
  }
}

void add_text_words(WordNode** head, char* text) {
  for (const char* word = std::strtok(text, kDelimiters); word != nullptr;
       word = std::strtok(nullptr, kDelimiters)) {
    list_add_sorted(head, word);
  }
}
