#include "input_checks.h"

#include <cstdio>

#include "program_status.h"

namespace {

// Reads one input of a page of two runs, which must be a trace.
int read_run(const char* program, const NamedInput& input, ParsedTrace* trace) {
  if (!is_trace(input.bytes, input.size)) {
    report(program, input.name, "not a trace: two inputs must be two traces of one text");
    return kExitTrouble;
  }
  ListingError error{};
  const ReadResult result = trace_read(input.bytes, input.size, trace, &error);
  return result == ReadResult::kRead ? kExitSuccess
                                     : report_refusal(program, input.name, result, error);
}

// Checks two traces that replayed as the two runs of one text: a page
// compares the runs step by step, which only the same additions allow.
int check_pair(const char* program, const NamedInput inputs[2], const ParsedTrace traces[2]) {
  const std::size_t differs = traces_first_difference(traces[0], traces[1]);
  if (differs != 0) {
    (void)std::fprintf(stderr,
                       "%s: %s: addition %zu is not that of %s: the traces are not of the same "
                       "additions in the same order\n",
                       program, inputs[1].name, differs, inputs[0].name);
    return kExitTrouble;
  }
  if (traces[0].front == traces[1].front) {
    report(program, inputs[1].name,
           "built the same way as the first trace: give one trace of each way "
           "(wordlist-trace, and wordlist-trace --front)");
    return kExitTrouble;
  }
  return kExitSuccess;
}

}  // namespace

int report_refusal(const char* program, const char* name, ReadResult result,
                   const ListingError& error) {
  if (result == ReadResult::kNoMemory) {
    report(program, name, "out of memory");
    return kExitNoMemory;
  }
  (void)std::fprintf(stderr, "%s: %s:%zu: %s\n", program, name, error.line, error.what);
  return kExitTrouble;
}

int read_two_runs(const char* program, const NamedInput inputs[2], ParsedTrace traces[2]) {
  traces[0] = ParsedTrace{};
  traces[1] = ParsedTrace{};
  int status = read_run(program, inputs[0], &traces[0]);
  if (status == kExitSuccess) {
    status = read_run(program, inputs[1], &traces[1]);
  }
  if (status == kExitSuccess) {
    status = check_pair(program, inputs, traces);
  }
  if (status != kExitSuccess) {
    trace_release(&traces[0]);
    trace_release(&traces[1]);
  }
  return status;
}
