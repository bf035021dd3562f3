#include "tracer.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <new>

#include "address_text.h"

namespace {

// The most slots an index is made with at first.
constexpr std::size_t kMostSlots = std::size_t{1} << 20U;
constexpr std::size_t kFewestSlots = 1024;

// Zeroed room for `count` slots; null when there is none.
const WordNode** slots_allocate(std::size_t count) {
  return new (std::nothrow) const WordNode*[count]();
}

void slots_release(const WordNode** slots, std::size_t /*count*/) { delete[] slots; }

std::size_t hash_word(const char* word) {
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (; *word != '\0'; ++word) {
    hash = (hash ^ static_cast<unsigned char>(*word)) * 1099511628211ULL;
  }
  return static_cast<std::size_t>(hash ^ (hash >> 32U));
}

// The slot holding `word`'s element, or the empty slot where it belongs.
const WordNode** slot_of(const WordIndex& index, const char* word) {
  std::size_t at = hash_word(word) & (index.capacity - 1);
  while (index.slots[at] != nullptr && std::strcmp(index.slots[at]->word, word) != 0) {
    at = (at + 1) & (index.capacity - 1);
  }
  return &index.slots[at];
}

constexpr WordIndex kGivenUp{nullptr, 0, 0, true};

void give_up(WordIndex* index) {
  if (!index->given_up) {
    slots_release(index->slots, index->capacity);
  }
  *index = kGivenUp;
}

bool grow(WordIndex* index) {
  const std::size_t capacity = 2 * index->capacity;
  const WordNode** slots = slots_allocate(capacity);
  if (slots == nullptr) {
    return false;
  }
  WordIndex larger{slots, capacity, index->size, false};
  for (std::size_t i = 0; i < index->capacity; ++i) {
    if (index->slots[i] != nullptr) {
      *slot_of(larger, index->slots[i]->word) = index->slots[i];
    }
  }
  slots_release(index->slots, index->capacity);
  *index = larger;
  return true;
}

// An index with room for the distinct words of a text of `bytes` bytes
// (each word and its delimiter take at least two), given up when even
// that cannot be had.
WordIndex index_for(std::uint64_t bytes) {
  const std::uint64_t words = bytes / 2 + 1 + 4;
  std::size_t capacity = kFewestSlots;
  while (capacity < 2 * words && capacity < kMostSlots) {
    capacity *= 2;
  }
  const WordNode** slots = slots_allocate(capacity);
  return slots == nullptr ? kGivenUp : WordIndex{slots, capacity, 0, false};
}

// The element holding `word`, known from the index, or found by a walk
// of the list's records once the index is given up; null for none.
const WordNode* find_counted(const WordIndex& index, WordNode* const* head, const char* word) {
  if (!index.given_up) {
    return *slot_of(index, word);
  }
  for (const WordNode* node = *head; node != nullptr; node = node->next) {
    if (std::strcmp(node->word, word) == 0) {
      return node;
    }
  }
  return nullptr;
}

void remember(WordIndex* index, const WordNode* node) {
  if (index->given_up) {
    return;
  }
  if (2 * (index->size + 1) > index->capacity && !grow(index)) {
    give_up(index);
    return;
  }
  *slot_of(*index, node->word) = node;
  ++index->size;
}

}  // namespace

Tracer tracer_make(std::uint64_t text_bytes, bool front) {
  return Tracer{front, index_for(text_bytes)};
}

void tracer_release(Tracer* tracer) { give_up(&tracer->index); }

// A word the index knows was counted in its element; otherwise it is new,
// and its element follows the last one that sorts before it (for a run
// that adds at the front: it is the head).
bool add_traced(WordNode** head, const char* word, void* context) {
  auto* tracer = static_cast<Tracer*>(context);
  if (!(tracer->front ? list_add_front(head, word) : list_add_sorted(head, word))) {
    std::printf("not counted WORD: %s\n", word);
    return false;
  }
  // An element that holds the word with a count above 1 was counted now;
  // with a count of 1 it was inserted now.
  const WordNode* node = find_counted(tracer->index, head, word);
  if (node != nullptr && node->count > 1) {
    std::printf("counted %s COUNT: %" PRId32 " WORD: %s\n", format_address(node).digits,
                node->count, word);
    return true;
  }
  const WordNode* before = tracer->front ? nullptr : list_find_predecessor(head, word);
  node = before == nullptr ? *head : before->next;
  if (before == nullptr) {
    std::printf("inserted %s at head WORD: %s\n", format_address(node).digits, word);
  } else {
    std::printf("inserted %s after %s WORD: %s\n", format_address(node).digits,
                format_address(before).digits, word);
  }
  remember(&tracer->index, node);
  return true;
}
