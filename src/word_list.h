// The word list: a singly linked list of distinct words with their counts,
// kept in ascending byte order when built with list_add_sorted.
//
// Every operation takes the list head by reference (a pointer to the head
// pointer, which must not itself be null), because adding can replace the
// head and releasing sets it to null. An empty list is a null head.
#ifndef WORDLIST_WORD_LIST_H
#define WORDLIST_WORD_LIST_H

#include <cstdint>

// One element: its own copy of a word, how often the word was seen (at
// least 1), and the following element (null in the last one).
struct WordNode {
  char* word;
  std::int32_t count;
  WordNode* next;
};

// Counts one occurrence of `word` (a zero-terminated byte string, not
// retained). A word already in the list has its count raised; a new word is
// copied into a new element linked in byte order. Returns false, with the
// list unchanged, when memory runs out or the count is already INT32_MAX.
bool list_add_sorted(WordNode** head, const char* word);

// Returns the last element whose word sorts strictly before `word`, or null
// when `word` belongs at the head. Meaningful only on an ordered list.
WordNode* list_find_predecessor(WordNode** head, const char* word);

// Counts one occurrence of `word` like list_add_sorted, but links a new
// element at the head, so new words stand in reverse order of arrival.
// Returns false, with the list unchanged, on the same failures.
bool list_add_front(WordNode** head, const char* word);

// Releases every element and its word and leaves the head null. Returns
// false when the list was already empty. Cannot fail.
bool list_free(WordNode** head);

// Writes the listing to standard output: a header with the first element's
// address, then per element its position, address, next address, count and
// word; or a single line when the list is empty. Changes nothing.
void list_print(WordNode** head);

#endif  // WORDLIST_WORD_LIST_H
