// The bytes that end a word: the one definition for the counting, which
// splits a text at them, and for the readers, which refuse a word that
// holds one.
#ifndef WORDLIST_WORD_DELIMITERS_H
#define WORDLIST_WORD_DELIMITERS_H

constexpr const char* kWordDelimiters = " \r\n\t,.?!*'";

#endif  // WORDLIST_WORD_DELIMITERS_H
