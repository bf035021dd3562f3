// A deliberately plain model of what the program counts, for checking it:
// split at the ten delimiters up to the first zero byte, count in a map,
// and start from the four fixed words.
#ifndef WORDLIST_TESTS_MODEL_H
#define WORDLIST_TESTS_MODEL_H

#include <map>
#include <string>
#include <utility>
#include <vector>

using Listing = std::vector<std::pair<std::string, int>>;

// The words every run starts from, in the order they are added.
inline std::vector<std::string> fixed_words() { return {"pokus", "druhy", "pokus", "pokus"}; }

// The words of `text` in text order.
inline std::vector<std::string> model_words(const std::string& text) {
  const std::string delimiters(" \r\n\t,.?!*'");
  std::vector<std::string> words;
  std::string word;
  for (const char byte : text.substr(0, text.find('\0')) + ' ') {
    if (delimiters.find(byte) == std::string::npos) {
      word += byte;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  return words;
}

inline std::map<std::string, int> model_counts(const std::string& text) {
  std::map<std::string, int> counts;
  for (const auto& word : fixed_words()) {
    ++counts[word];
  }
  for (const auto& word : model_words(text)) {
    ++counts[word];
  }
  return counts;
}

// The listing's words and counts for `text`. std::map orders std::string
// by unsigned bytes, a prefix first: the order the listing must have.
inline Listing model_listing(const std::string& text) {
  const auto counts = model_counts(text);
  return {counts.begin(), counts.end()};
}

#endif  // WORDLIST_TESTS_MODEL_H
