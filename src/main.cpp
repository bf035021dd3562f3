// wordlist: counts the words of "neco.txt" in an ordered linked list and
// prints the list with its addresses and links laid open.
//
// Exit status: 0 after a complete run; 1 when the text buffer cannot be
// allocated (nothing is written then); 2 when the input file cannot be
// used or standard output cannot be written (one line on standard error);
// 3 when the listing was written but lacks occurrences that could not be
// counted (one line on standard error saying how many).
#include <cstddef>

#include "run_steps.h"
#include "word_count.h"
#include "word_list.h"

namespace {

constexpr const char* kProgram = "wordlist";
constexpr const char* kInputName = "neco.txt";

}  // namespace

int main() {
  WordNode* head = nullptr;
  char* text = nullptr;
  switch (load_text(kProgram, kInputName, &text)) {
    case Load::kNoMemory:
      return kExitNoMemory;
    case Load::kFailed:
      return kExitTrouble;
    case Load::kLoaded:
      break;
  }
  std::size_t dropped = add_fixed_words(&head);
  dropped += add_text_words(&head, text);
  list_print(&head);
  list_free(&head);
  delete[] text;
  const int status = finish_output(kProgram);
  return status != kExitSuccess ? status : finish_counting(kProgram, dropped);
}
