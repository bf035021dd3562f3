#include "program_status.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

const char* error_reason(int error, const char* fallback) {
  return error != 0 ? std::strerror(error) : fallback;
}

void report(const char* program, const char* subject, const char* reason) {
  (void)std::fprintf(stderr, "%s: %s: %s\n", program, subject, reason);
}

// A full disk or a closed descriptor shows only here. A C library that
// keeps what a failed write could not write (glibc does) fails on it
// again here, with the same error; errno is cleared first, so that no
// earlier, unrelated error is given as the reason.
int finish_output(const char* program) {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    report(program, "write error", error_reason(errno, "cannot write standard output"));
    return kExitTrouble;
  }
  return kExitSuccess;
}
