// Helpers shared by the unit tests: a list's contents as plain values.
#ifndef WORDLIST_TESTS_LIST_TEST_UTIL_H
#define WORDLIST_TESTS_LIST_TEST_UTIL_H

#include <string>
#include <utility>
#include <vector>

#include "model.h"
#include "word_list.h"

// The words and counts of a list, from the head on.
inline Listing contents(const WordNode* head) {
  Listing result;
  for (const WordNode* node = head; node != nullptr; node = node->next) {
    result.emplace_back(node->word, node->count);
  }
  return result;
}

// The element addresses and their links, to see that nothing moved.
inline std::vector<std::pair<const void*, const void*>> links(const WordNode* head) {
  std::vector<std::pair<const void*, const void*>> result;
  for (const WordNode* node = head; node != nullptr; node = node->next) {
    result.emplace_back(node, node->next);
  }
  return result;
}

#endif  // WORDLIST_TESTS_LIST_TEST_UTIL_H
