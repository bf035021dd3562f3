#include "word_index.h"

#include <cstdint>
#include <cstring>

#include "index_memory.h"

namespace {

std::size_t hash_word(const char* word) {
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (; *word != '\0'; ++word) {
    hash = (hash ^ static_cast<unsigned char>(*word)) * 1099511628211ULL;
  }
  return static_cast<std::size_t>(hash ^ (hash >> 32U));
}

// The slot holding `word`'s element, or the empty slot where it belongs.
// There is always one: the index is never more than half full.
const WordNode** slot_of(const WordIndex& index, const char* word) {
  std::size_t at = index_home(word, index.capacity);
  while (index.slots[at] != nullptr && std::strcmp(index.slots[at]->word, word) != 0) {
    at = (at + 1) & (index.capacity - 1);
  }
  return &index.slots[at];
}

constexpr WordIndex kGivenUp{nullptr, 0, 0, true};

bool grow(WordIndex* index) {
  if (index->capacity > SIZE_MAX / 2) {
    return false;
  }
  WordIndex larger = index_make(2 * index->capacity);
  if (larger.given_up) {
    return false;
  }
  for (std::size_t i = 0; i < index->capacity; ++i) {
    if (index->slots[i] != nullptr) {
      *slot_of(larger, index->slots[i]->word) = index->slots[i];
    }
  }
  larger.size = index->size;
  index_release(index);
  *index = larger;
  return true;
}

}  // namespace

WordIndex index_make(std::size_t capacity) {
  const WordNode** slots = index_slots_allocate(capacity);
  return slots == nullptr ? kGivenUp : WordIndex{slots, capacity, 0, false};
}

const WordNode* index_find(const WordIndex& index, const char* word) {
  return index.given_up ? nullptr : *slot_of(index, word);
}

void index_remember(WordIndex* index, const WordNode* node) {
  if (index->given_up) {
    return;
  }
  if (2 * (index->size + 1) > index->capacity && !grow(index)) {
    index_release(index);
    return;
  }
  *slot_of(*index, node->word) = node;
  ++index->size;
}

void index_release(WordIndex* index) {
  if (!index->given_up) {
    index_slots_release(index->slots, index->capacity);
  }
  *index = kGivenUp;
}

std::size_t index_home(const char* word, std::size_t capacity) {
  return hash_word(word) & (capacity - 1);
}
