// The run that wordlist and wordlist-trace share: reading the text,
// counting its words, printing the list, and ending with an honest exit
// status. Failures are reported on standard error as "PROGRAM: subject:
// reason".
#ifndef WORDLIST_RUN_STEPS_H
#define WORDLIST_RUN_STEPS_H

#include <cstddef>

#include "program_status.h"
#include "word_count.h"

// The whole run: loads the file `name`, writes `preamble` (unless null),
// adds the four fixed words and then every word of the text to a new list
// (with `add`, given `context`; null: list_add_sorted), prints the list,
// releases it and the text, and returns the run's exit status: 1 when the
// text does not fit in memory (nothing is written then), 2 when the file
// cannot be used or standard output written, 3 when occurrences were not
// counted, else 0. Each failure is reported once, as "PROGRAM: subject:
// reason", or as how many occurrences were not counted.
int run_words(const char* program, const char* name, const char* preamble, AddWord add,
              void* context);

// Ends a run whose additions dropped `dropped` occurrences: prints the
// list, releases it, and returns the run's status: kExitTrouble when
// standard output could not be written, else kExitIncomplete when
// occurrences were dropped (reported with how many), else kExitSuccess.
int finish_run(const char* program, WordNode** head, std::size_t dropped);

#endif  // WORDLIST_RUN_STEPS_H
