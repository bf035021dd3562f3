// Helpers for the tests that run the programs: files whole, the
// environment they are told things through, and whether the programs
// were built with the sanitizers (which reserve a great deal of address
// space, so that no memory limit can be tried on them).
#ifndef WORDLIST_TESTS_RUN_UTIL_H
#define WORDLIST_TESTS_RUN_UTIL_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// The bytes of a file, or "" when it cannot be read.
inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_file(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

#ifdef WORDLIST_SANITIZED
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

inline std::string env_or_empty(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? "" : value;
}

#endif  // WORDLIST_TESTS_RUN_UTIL_H
