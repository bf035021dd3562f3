#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "address_text.h"
#include "word_list.h"

AddressText format_address(const void* address) {
  static const char kHex[] = "0123456789ABCDEF";
  auto value = reinterpret_cast<std::uintptr_t>(address);
  AddressText text{};
  for (std::size_t i = kAddressDigits; i > 0; --i) {
    text.digits[i - 1] = kHex[value & 0xFU];
    value >>= 4U;
  }
  return text;
}

// Write errors are not checked line by line: the stream remembers them,
// and the program checks it once when it has written everything.
void list_print(WordNode** head) {
  if (*head == nullptr) {
    (void)std::fputs("Seznam je prazdny.\n", stdout);
    return;
  }
  std::printf("Seznam - adresa prvniho prvku: %s\n", format_address(*head).digits);
  int position = 0;
  for (const WordNode* node = *head; node != nullptr; node = node->next) {
    ++position;
    std::printf("%3d ADR: %s NEXT: %s COUNT: %3" PRId32 " WORD: %s\n", position,
                format_address(node).digits, format_address(node->next).digits, node->count,
                node->word);
  }
}
