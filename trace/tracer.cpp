#include "tracer.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "address_text.h"
#include "index_memory.h"

namespace {

constexpr std::size_t kFewestSlots = 1024;

// An index with room for the distinct words of a text of `bytes` bytes
// (each word and its delimiter take at least two), given up when even
// that cannot be had. An index that cannot grow is made whole at once.
WordIndex index_for(std::uint64_t bytes) {
  const std::uint64_t words = bytes / 2 + 1 + 4;
  std::size_t capacity = kIndexSlotsGrow ? kFewestSlots : kIndexMostSlots;
  while (capacity < 2 * words && capacity < kIndexMostSlots) {
    capacity *= 2;
  }
  return index_make(capacity);
}

// The element holding `word`, known from the index, or found by a walk
// of the list's records once the index is given up; null for none.
const WordNode* find_counted(const WordIndex& index, WordNode* const* head, const char* word) {
  if (!index.given_up) {
    return index_find(index, word);
  }
  for (const WordNode* node = *head; node != nullptr; node = node->next) {
    if (std::strcmp(node->word, word) == 0) {
      return node;
    }
  }
  return nullptr;
}

}  // namespace

Tracer tracer_make(std::uint64_t text_bytes, bool front) {
  return Tracer{front, index_for(text_bytes)};
}

void tracer_release(Tracer* tracer) { index_release(&tracer->index); }

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
  index_remember(&tracer->index, node);
  return true;
}
