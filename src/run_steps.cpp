#include "run_steps.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "word_list.h"

namespace {

enum class Load { kLoaded, kNoMemory, kFailed };

// The buffer must hold any length ftell can report, plus the terminator.
static_assert(static_cast<unsigned long>(LONG_MAX) < SIZE_MAX, "length + 1 must fit in size_t");

// Writes "program: subject: reason" to standard error, with the system's
// reason when there is one.
void report(const char* program, const char* subject, int error, const char* fallback) {
  (void)std::fprintf(stderr, "%s: %s: %s\n", program, subject,
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
bool measure_text(const char* program, std::FILE* file, const char* name, std::size_t* size) {
  // A directory opens and seeks on some systems, reporting a huge length;
  // reading a byte first tells it apart before anything is allocated.
  errno = 0;
  if (std::fgetc(file) == EOF && std::ferror(file) != 0) {
    report(program, name, errno, "read error");
    return false;
  }
  errno = 0;
  const long length = file_length(file);
  if (length < 0) {
    report(program, name, errno, "cannot determine the file's size");
    return false;
  }
  *size = static_cast<std::size_t>(length);
  return true;
}

// Reads the open file whole into a new buffer terminated by a zero byte.
// The text ends where the bytes actually read end, should the file have
// shrunk since it was measured.
Load read_text(const char* program, std::FILE* file, const char* name, char** text) {
  std::size_t size = 0;
  if (!measure_text(program, file, name, &size)) {
    return Load::kFailed;
  }
  char* buffer = new (std::nothrow) char[size + 1];
  if (buffer == nullptr) {
    return Load::kNoMemory;
  }
  errno = 0;
  const std::size_t got = std::fread(buffer, 1, size, file);
  if (std::ferror(file) != 0) {
    report(program, name, errno, "read error");
    delete[] buffer;
    return Load::kFailed;
  }
  buffer[got] = '\0';
  *text = buffer;
  return Load::kLoaded;
}

// Opens the file `name` in binary mode, reads it whole into a new buffer
// terminated by a zero byte, and closes it. Reports any failure but a lack
// of memory.
Load load_text(const char* program, const char* name, char** text) {
  std::FILE* file = std::fopen(name, "rb");
  if (file == nullptr) {
    report(program, name, errno, "cannot open");
    return Load::kFailed;
  }
  const Load result = read_text(program, file, name, text);
  (void)std::fclose(file);  // only read from: nothing to lose
  return result;
}

}  // namespace

// A full disk or a closed descriptor shows only here.
int finish_output(const char* program) {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    report(program, "write error", errno, "cannot write standard output");
    return kExitTrouble;
  }
  return kExitSuccess;
}

// The list cannot tell a lack of memory from a count at its limit.
int finish_counting(const char* program, std::size_t dropped) {
  if (dropped == 0) {
    return kExitSuccess;
  }
  (void)std::fprintf(stderr, "%s: %zu occurrence%s not counted: out of memory or count limit\n",
                     program, dropped, dropped == 1 ? "" : "s");
  return kExitIncomplete;
}

int run_words(const char* program, const char* name, const char* preamble, AddWord add,
              void* context) {
  char* text = nullptr;
  switch (load_text(program, name, &text)) {
    case Load::kNoMemory:
      return kExitNoMemory;
    case Load::kFailed:
      return kExitTrouble;
    case Load::kLoaded:
      break;
  }
  if (preamble != nullptr) {
    (void)std::fputs(preamble, stdout);
  }
  WordNode* head = nullptr;
  std::size_t dropped = add_fixed_words(&head, add, context);
  dropped += add_text_words(&head, text, add, context);
  list_print(&head);
  list_free(&head);
  delete[] text;
  const int status = finish_output(program);
  return status != kExitSuccess ? status : finish_counting(program, dropped);
}
