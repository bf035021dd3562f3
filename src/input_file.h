// Reading a program's input whole into memory: wordlist's and
// wordlist-trace's text, wordlist-graph's listing or trace. Failures but a
// lack of memory are reported on standard error as "PROGRAM: NAME: reason".
#ifndef WORDLIST_INPUT_FILE_H
#define WORDLIST_INPUT_FILE_H

#include <cstddef>

// How the input is read.
enum class Reading {
  // The file `name`, measured before it is read: its buffer is one
  // allocation of exactly its length + 1 bytes, and a file that cannot be
  // measured (a pipe, say) cannot be used. The text ends where the bytes
  // actually read end, should the file have shrunk since.
  kMeasured,
  // The file `name`, or standard input for "-", read to its end into a
  // buffer that doubles whenever a read fills it: for pipes and for files
  // whose size the system does not know.
  kStreamed,
};

// What became of a loading.
enum class Load { kLoaded, kNoMemory, kFailed };

// An input read whole: `size` bytes, then a zero byte that ends them.
struct LoadedInput {
  char* bytes;
  std::size_t size;
};

// Reads the input `name` as `reading` says into a new buffer in `input`,
// to be released with delete[]. kNoMemory when the buffer cannot be had,
// not reported (wordlist then writes nothing at all); kFailed when the
// input cannot be opened or read, reported. On failure `input` holds
// nothing.
Load load_input(const char* program, const char* name, Reading reading, LoadedInput* input);

#endif  // WORDLIST_INPUT_FILE_H
