// How the programs (wordlist, wordlist-trace, wordlist-graph and the
// WebAssembly module) say how a run ended: the exit statuses they share,
// the one line on standard error that names what went wrong, as
// "PROGRAM: subject: reason", and the check that standard output received
// everything written to it.
#ifndef WORDLIST_PROGRAM_STATUS_H
#define WORDLIST_PROGRAM_STATUS_H

constexpr int kExitSuccess = 0;
constexpr int kExitNoMemory = 1;
constexpr int kExitTrouble = 2;
constexpr int kExitIncomplete = 3;

// The system's description of the error number `error`, or `fallback`
// when it is 0 (the library failed without saying why). Never null.
const char* error_reason(int error, const char* fallback);

// Writes "program: subject: reason" and a line end to standard error.
// Nothing is reported when that write fails: there is nowhere left to.
void report(const char* program, const char* subject, const char* reason);

// Flushes standard output: kExitSuccess when everything written reached
// it, else kExitTrouble, reported as "PROGRAM: write error: reason", the
// reason being the flush's failure or else the first failed write's
// (callers clear errno before they start writing, for that).
int finish_output(const char* program);

#endif  // WORDLIST_PROGRAM_STATUS_H
