// wordlist: counts the words of "neco.txt" in an ordered linked list and
// prints the list with its addresses and links laid open.
//
// Exit status: 0 after a complete run; 1 when the text buffer cannot be
// allocated (nothing is written then); 2 when the input file cannot be
// used or standard output cannot be written (one line on standard error);
// 3 when the listing was written but lacks occurrences that could not be
// counted (one line on standard error saying how many).
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "word_count.h"
#include "word_list.h"

namespace {

constexpr const char* kInputName = "neco.txt";

constexpr int kExitSuccess = 0;
constexpr int kExitNoMemory = 1;
constexpr int kExitTrouble = 2;
constexpr int kExitIncomplete = 3;

// The buffer must hold any length ftell can report, plus the terminator.
static_assert(static_cast<unsigned long>(LONG_MAX) < SIZE_MAX, "length + 1 must fit in size_t");

enum class Load { kLoaded, kNoMemory, kFailed };

// Writes "wordlist: subject: reason" to standard error, with the system's
// reason when there is one.
void report(const char* subject, int error, const char* fallback) {
  (void)std::fprintf(stderr, "wordlist: %s: %s\n", subject,
                     error != 0 ? std::strerror(error) : fallback);
}

// Finds the length of an open file by seeking to its end and back.
// Returns -1, with errno set where the library sets it, on failure.
long file_length(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) {
    return -1;
  }
  const long length = std::ftell(file);
  if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
    return -1;
  }
  return length;
}

// Makes sure the open file can be read, and measures it. Reports a
// failure and returns false.
bool measure_text(std::FILE* file, const char* name, std::size_t* size) {
  // A directory opens and seeks on some systems, reporting a huge length;
  // reading a byte first tells it apart before anything is allocated.
  errno = 0;
  if (std::fgetc(file) == EOF && std::ferror(file) != 0) {
    report(name, errno, "read error");
    return false;
  }
  errno = 0;
  const long length = file_length(file);
  if (length < 0) {
    report(name, errno, "cannot determine the file's size");
    return false;
  }
  *size = static_cast<std::size_t>(length);
  return true;
}

// Reads the open file whole into a new buffer terminated by a zero byte.
// The text ends where the bytes actually read end, should the file have
// shrunk since it was measured.
Load read_text(std::FILE* file, const char* name, char** text) {
  std::size_t size = 0;
  if (!measure_text(file, name, &size)) {
    return Load::kFailed;
  }
  char* buffer = new (std::nothrow) char[size + 1];
  if (buffer == nullptr) {
    return Load::kNoMemory;
  }
  errno = 0;
  const std::size_t got = std::fread(buffer, 1, size, file);
  if (std::ferror(file) != 0) {
    report(name, errno, "read error");
    delete[] buffer;
    return Load::kFailed;
  }
  buffer[got] = '\0';
  *text = buffer;
  return Load::kLoaded;
}

// Opens, reads and closes the input file. Reports any failure but a lack
// of memory on standard error.
Load load_text(const char* name, char** text) {
  std::FILE* file = std::fopen(name, "rb");
  if (file == nullptr) {
    report(name, errno, "cannot open");
    return Load::kFailed;
  }
  const Load result = read_text(file, name, text);
  (void)std::fclose(file);  // only read from: nothing to lose
  return result;
}

// Flushes standard output and reports whether everything written reached
// it; a full disk or a closed descriptor shows only here.
int finish_output() {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    report("write error", errno, "cannot write standard output");
    return kExitTrouble;
  }
  return kExitSuccess;
}

// A listing that lacks occurrences is no success: says how many are
// missing. The list cannot tell a lack of memory from a count at its limit.
int finish_counting(std::size_t dropped) {
  if (dropped == 0) {
    return kExitSuccess;
  }
  (void)std::fprintf(stderr,
                     "wordlist: %zu occurrence%s not counted: out of memory or count limit\n",
                     dropped, dropped == 1 ? "" : "s");
  return kExitIncomplete;
}

}  // namespace

int main() {
  WordNode* head = nullptr;
  char* text = nullptr;
  switch (load_text(kInputName, &text)) {
    case Load::kNoMemory:
      return kExitNoMemory;
    case Load::kFailed:
      return kExitTrouble;
    case Load::kLoaded:
      break;
  }
  std::size_t dropped = add_fixed_words(&head);
  dropped += add_text_words(&head, text);
  list_print(&head);
  list_free(&head);
  delete[] text;
  const int status = finish_output();
  return status != kExitSuccess ? status : finish_counting(dropped);
}
