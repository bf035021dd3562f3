#include "word_list.h"

#include <cstddef>
#include <cstring>
#include <new>

namespace {

#ifdef WORDLIST_LIBRARY_COMPARE
// The benchmarks' baseline: one library call per element visited.
int compare_words(const char* left, const char* right) { return std::strcmp(left, right); }
#else
// Orders two words exactly as strcmp does: by unsigned byte values, a
// proper prefix first. Most words met on a walk differ from the one looked
// for in the first byte, so that byte is decided here without a call.
int compare_words(const char* left, const char* right) {
  const auto first_left = static_cast<unsigned char>(left[0]);
  const auto first_right = static_cast<unsigned char>(right[0]);
  if (first_left != first_right) {
    return first_left < first_right ? -1 : 1;
  }
  if (first_left == 0) {
    return 0;
  }
  return std::strcmp(left + 1, right + 1);
}
#endif

// Returns the first element holding `word`, or null. The whole list is
// searched: an addition may follow list_add_front, which keeps no order.
WordNode* find_equal(WordNode* node, const char* word) {
  for (; node != nullptr; node = node->next) {
    if (compare_words(word, node->word) == 0) {
      return node;
    }
  }
  return nullptr;
}

// Counts one more occurrence unless the count would overflow.
bool count_again(WordNode* node) {
  if (node->count == INT32_MAX) {
    return false;
  }
  ++node->count;
  return true;
}

// Allocates an unlinked element with count 1 and its own copy of `word`.
// Returns null, with nothing left allocated, when memory runs out.
WordNode* new_node(const char* word) {
  auto* node = new (std::nothrow) WordNode{};
  if (node == nullptr) {
    return nullptr;
  }
  const std::size_t size = std::strlen(word) + 1;
  node->word = new (std::nothrow) char[size];
  if (node->word == nullptr) {
    delete node;
    return nullptr;
  }
  std::memcpy(node->word, word, size);
  node->count = 1;
  return node;
}

// Links `node` after `predecessor`, or at the head when that is null.
void link_after(WordNode** head, WordNode* predecessor, WordNode* node) {
  WordNode** slot = predecessor == nullptr ? head : &predecessor->next;
  node->next = *slot;
  *slot = node;
}

}  // namespace

bool list_add_sorted(WordNode** head, const char* word) {
  if (WordNode* same = find_equal(*head, word)) {
    return count_again(same);
  }
  WordNode* node = new_node(word);
  if (node == nullptr) {
    return false;
  }
  link_after(head, list_find_predecessor(head, word), node);
  return true;
}

WordNode* list_find_predecessor(WordNode** head, const char* word) {
  WordNode* candidate = nullptr;
  for (WordNode* node = *head; node != nullptr && compare_words(word, node->word) > 0;
       node = node->next) {
    candidate = node;
  }
  return candidate;
}

bool list_add_front(WordNode** head, const char* word) {
  if (WordNode* same = find_equal(*head, word)) {
    return count_again(same);
  }
  WordNode* node = new_node(word);
  if (node == nullptr) {
    return false;
  }
  link_after(head, nullptr, node);
  return true;
}

bool list_free(WordNode** head) {
  if (*head == nullptr) {
    return false;
  }
  while (*head != nullptr) {
    WordNode* node = *head;
    *head = node->next;
    delete[] node->word;
    delete node;
  }
  return true;
}
