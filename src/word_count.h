// Turning a text into counted words: the part of the program between
// loading the file and printing the list.
#ifndef WORDLIST_WORD_COUNT_H
#define WORDLIST_WORD_COUNT_H

#include <cstddef>

#include "word_delimiters.h"
#include "word_list.h"

// One addition of a word: list_add_sorted, or a caller's function that
// makes it and watches the list before and after. Returns whether the
// word was counted.
using AddWord = bool (*)(WordNode** head, const char* word, void* context);

// Adds the four words every listing starts from: "pokus", "druhy", "pokus",
// "pokus", in that order, with list_add_sorted, or with `add` (given
// `context`) when it is not null. An addition that fails (out of memory,
// or a count already at its limit) is dropped; returns how many were.
std::size_t add_fixed_words(WordNode** head, AddWord add = nullptr, void* context = nullptr);

// Splits `text` in place into words and adds each, in text order, as
// add_fixed_words adds. A word is a maximal run of bytes outside the ten
// delimiters " \r\n\t,.?!*'"; the text ends at its first zero byte. The
// delimiter after each word is overwritten with a zero byte. An addition
// that fails is dropped; returns how many were.
std::size_t add_text_words(WordNode** head, char* text, AddWord add = nullptr,
                           void* context = nullptr);

#endif  // WORDLIST_WORD_COUNT_H
