// The steps of a run that wordlist and wordlist-trace share: reading the
// text, and ending with an honest exit status. Failures are reported on
// standard error as "PROGRAM: subject: reason".
#ifndef WORDLIST_RUN_STEPS_H
#define WORDLIST_RUN_STEPS_H

#include <cstddef>

constexpr int kExitSuccess = 0;
constexpr int kExitNoMemory = 1;
constexpr int kExitTrouble = 2;
constexpr int kExitIncomplete = 3;

enum class Load { kLoaded, kNoMemory, kFailed };

// Opens the file `name` in binary mode, reads it whole into a new buffer
// terminated by a zero byte (`*text`, to be released with delete[]), and
// closes it. Reports any failure but a lack of memory.
Load load_text(const char* program, const char* name, char** text);

// Flushes standard output: kExitSuccess when everything written reached
// it, else kExitTrouble, reported.
int finish_output(const char* program);

// kExitSuccess when no occurrence was dropped, else kExitIncomplete, with
// one line saying how many were.
int finish_counting(const char* program, std::size_t dropped);

#endif  // WORDLIST_RUN_STEPS_H
