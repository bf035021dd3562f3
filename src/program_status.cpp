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

// A full disk or a closed descriptor shows only here. A write that the C
// library made past its buffer (a long word, the page's template) may
// have failed and left nothing to flush: its errno is the reason then.
int finish_output(const char* program) {
  const int earlier = errno;
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  if (flushed && std::ferror(stdout) == 0) {
    return kExitSuccess;
  }
  const int error = !flushed && errno != 0 ? errno : earlier;
  report(program, "write error", error_reason(error, "cannot write standard output"));
  return kExitTrouble;
}
