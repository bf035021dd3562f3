// Deterministic texts for the benchmarks.
#ifndef WORDLIST_BENCH_CORPUS_H
#define WORDLIST_BENCH_CORPUS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// `count` distinct lower-case pseudo-words of 2 to 10 letters, in the
// order they were drawn.
std::vector<std::string> make_vocabulary(std::size_t count, std::uint64_t seed);

// About `words` words drawn from a vocabulary of `vocabulary` words with
// Zipf-distributed frequencies (the k-th most frequent word has weight
// 1/k), separated by spaces, punctuation and CRLF line ends.
std::string make_zipf_text(std::size_t vocabulary, std::size_t words, std::uint64_t seed);

// `count` distinct words, each once, in random order, one per CRLF line.
std::string make_distinct_text(std::size_t count, std::uint64_t seed);

#endif  // WORDLIST_BENCH_CORPUS_H
