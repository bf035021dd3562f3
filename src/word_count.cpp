#include "word_count.h"

#include <cstring>

namespace {

constexpr const char* kFixedWords[] = {"pokus", "druhy", "pokus", "pokus"};

// 1 when the word could not be counted, else 0.
std::size_t add(WordNode** head, const char* word, AddWord add_word, void* context) {
  const bool counted =
      add_word == nullptr ? list_add_sorted(head, word) : add_word(head, word, context);
  return counted ? 0 : 1;
}

}  // namespace

std::size_t add_fixed_words(WordNode** head, AddWord add_word, void* context) {
  std::size_t dropped = 0;
  for (const char* word : kFixedWords) {
    dropped += add(head, word, add_word, context);
  }
  return dropped;
}

std::size_t add_text_words(WordNode** head, char* text, AddWord add_word, void* context) {
  std::size_t dropped = 0;
  for (const char* word = std::strtok(text, kWordDelimiters); word != nullptr;
       word = std::strtok(nullptr, kWordDelimiters)) {
    dropped += add(head, word, add_word, context);
  }
  return dropped;
}
