#include "corpus.h"

#include <algorithm>
#include <random>
#include <set>

std::vector<std::string> make_vocabulary(std::size_t count, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::set<std::string> seen;
  std::vector<std::string> words;
  while (words.size() < count) {
    std::string word(2 + random() % 9, ' ');
    for (char& letter : word) {
      letter = static_cast<char>('a' + random() % 26);
    }
    if (seen.insert(word).second) {
      words.push_back(word);
    }
  }
  return words;
}

std::string make_distinct_text(std::size_t count, std::uint64_t seed) {
  std::string text;
  for (const auto& word : make_vocabulary(count, seed)) {
    text += word + "\r\n";
  }
  return text;
}

std::string make_zipf_text(std::size_t vocabulary, std::size_t words, std::uint64_t seed) {
  const std::vector<std::string> vocab = make_vocabulary(vocabulary, seed);
  std::vector<double> cumulative(vocabulary);
  double total = 0;
  for (std::size_t k = 0; k < vocabulary; ++k) {
    total += 1.0 / static_cast<double>(k + 1);
    cumulative[k] = total;
  }
  std::mt19937_64 random(seed + 1);
  std::string text;
  for (std::size_t i = 0; i < words; ++i) {
    // 53 random bits as a fraction in [0, 1), the same on every library.
    const double draw = static_cast<double>(random() >> 11U) * 0x1.0p-53 * total;
    const auto rank =
        std::upper_bound(cumulative.begin(), cumulative.end(), draw) - cumulative.begin();
    text += vocab[std::min<std::size_t>(static_cast<std::size_t>(rank), vocabulary - 1)];
    text += i % 12 == 11 ? ".\r\n" : (i % 5 == 4 ? ", " : " ");
  }
  return text;
}
