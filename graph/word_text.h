// The characters of a word, for drawing it: a word is bytes, in no
// particular encoding, and only well-formed UTF-8 is drawn as text.
#ifndef WORDLIST_GRAPH_WORD_TEXT_H
#define WORDLIST_GRAPH_WORD_TEXT_H

#include <cstddef>
#include <cstdint>

// The code point of the well-formed UTF-8 sequence at `bytes` (of which
// `left` remain, at least 1), and the sequence's length; 0 when the bytes
// there are not one (overlong forms, surrogates and values past U+10FFFF
// included).
std::size_t utf8_sequence(const unsigned char* bytes, std::size_t left, std::uint32_t* point);

#endif  // WORDLIST_GRAPH_WORD_TEXT_H
