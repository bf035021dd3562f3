#include "run_steps.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>

#include "input_file.h"
#include "word_list.h"

namespace {

// The status of a run that could not count `dropped` occurrences:
// kExitSuccess for none, else kExitIncomplete, reported with how many.
// The list cannot tell a lack of memory from a count at its limit.
int finish_counting(const char* program, std::size_t dropped) {
  if (dropped == 0) {
    return kExitSuccess;
  }
  (void)std::fprintf(stderr, "%s: %zu occurrence%s not counted: out of memory or count limit\n",
                     program, dropped, dropped == 1 ? "" : "s");
  return kExitIncomplete;
}

}  // namespace

int finish_run(const char* program, WordNode** head, std::size_t dropped) {
  list_print(head);
  list_free(head);
  const int status = finish_output(program);
  return status != kExitSuccess ? status : finish_counting(program, dropped);
}

int run_words(const char* program, const char* name, const char* preamble, AddWord add,
              void* context) {
  LoadedInput text{};
  switch (load_input(program, name, Reading::kMeasured, &text)) {
    case Load::kNoMemory:
      return kExitNoMemory;
    case Load::kFailed:
      return kExitTrouble;
    case Load::kLoaded:
      break;
  }
  errno = 0;  // for finish_output: what a failed write leaves
  if (preamble != nullptr) {
    (void)std::fputs(preamble, stdout);
  }
  WordNode* head = nullptr;
  std::size_t dropped = add_fixed_words(&head, add, context);
  dropped += add_text_words(&head, text.bytes, add, context);
  const int status = finish_run(program, &head, dropped);
  delete[] text.bytes;
  return status;
}
