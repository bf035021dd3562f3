#include "input_file.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "program_status.h"

namespace {

// A measured buffer must hold any length ftell can report, plus the
// terminator.
static_assert(static_cast<unsigned long>(LONG_MAX) < SIZE_MAX, "length + 1 must fit in size_t");

// The first buffer of a streamed reading: most listings fit in it.
constexpr std::size_t kFirstCapacity = std::size_t{1} << 16U;

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
bool measure(const char* program, std::FILE* file, const char* name, std::size_t* size) {
  // A directory opens and seeks on some systems, reporting a huge length;
  // reading a byte first tells it apart before anything is allocated.
  errno = 0;
  if (std::fgetc(file) == EOF && std::ferror(file) != 0) {
    report(program, name, error_reason(errno, "read error"));
    return false;
  }
  errno = 0;
  const long length = file_length(file);
  if (length < 0) {
    report(program, name, error_reason(errno, "cannot determine the file's size"));
    return false;
  }
  *size = static_cast<std::size_t>(length);
  return true;
}

// Ends a reading of `size` bytes into `buffer`, which has room for one
// more: the input, terminated, when the stream read without error; else
// the error reported and the buffer released.
Load end_reading(const char* program, std::FILE* file, const char* name, char* buffer,
                 std::size_t size, LoadedInput* input) {
  if (std::ferror(file) != 0) {
    report(program, name, error_reason(errno, "read error"));
    delete[] buffer;
    return Load::kFailed;
  }
  buffer[size] = '\0';
  *input = LoadedInput{buffer, size};
  return Load::kLoaded;
}

// Reads the open file, measured first, into one buffer of its length + 1.
Load read_measured(const char* program, std::FILE* file, const char* name, LoadedInput* input) {
  std::size_t size = 0;
  if (!measure(program, file, name, &size)) {
    return Load::kFailed;
  }
  char* buffer = new (std::nothrow) char[size + 1];
  if (buffer == nullptr) {
    return Load::kNoMemory;
  }
  errno = 0;
  const std::size_t got = std::fread(buffer, 1, size, file);
  return end_reading(program, file, name, buffer, got, input);
}

// Reads what is left of the open stream, doubling the buffer whenever a
// read fills it; a read that does not fill it leaves room for the
// terminator.
Load read_streamed(const char* program, std::FILE* stream, const char* name, LoadedInput* input) {
  std::size_t capacity = kFirstCapacity;
  char* buffer = new (std::nothrow) char[capacity];
  std::size_t size = 0;
  errno = 0;
  while (buffer != nullptr) {
    size += std::fread(buffer + size, 1, capacity - size, stream);
    if (size < capacity) {
      break;
    }
    char* larger = capacity <= SIZE_MAX / 2 ? new (std::nothrow) char[capacity * 2] : nullptr;
    if (larger != nullptr) {
      std::memcpy(larger, buffer, size);
      capacity *= 2;
    }
    delete[] buffer;
    buffer = larger;
  }
  return buffer == nullptr ? Load::kNoMemory
                           : end_reading(program, stream, name, buffer, size, input);
}

}  // namespace

Load load_input(const char* program, const char* name, Reading reading, LoadedInput* input) {
  *input = LoadedInput{};
  const bool standard = reading == Reading::kStreamed && std::strcmp(name, "-") == 0;
  errno = 0;
  std::FILE* file = standard ? stdin : std::fopen(name, "rb");
  if (file == nullptr) {
    report(program, name, error_reason(errno, "cannot open"));
    return Load::kFailed;
  }
  const Load result = reading == Reading::kMeasured ? read_measured(program, file, name, input)
                                                    : read_streamed(program, file, name, input);
  if (!standard) {
    (void)std::fclose(file);  // only read from: nothing to lose
  }
  return result;
}
