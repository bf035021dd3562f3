// wordlist: counts the words of "neco.txt" in an ordered linked list and
// prints the list with its addresses and links laid open.
//
// Exit status: 0 after a complete run; 1 when the text buffer cannot be
// allocated (nothing is written then); 2 when the input file cannot be
// used or standard output cannot be written (one line on standard error);
// 3 when the listing was written but lacks occurrences that could not be
// counted (one line on standard error saying how many).
#include "run_steps.h"

namespace {

constexpr const char* kProgram = "wordlist";
constexpr const char* kInputName = "neco.txt";

}  // namespace

int main() { return run_words(kProgram, kInputName, nullptr, nullptr, nullptr); }
