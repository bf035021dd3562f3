// An address as the listing writes it, for every program that writes one.
#ifndef WORDLIST_ADDRESS_TEXT_H
#define WORDLIST_ADDRESS_TEXT_H

#include <cstddef>

constexpr std::size_t kAddressDigits = 2 * sizeof(void*);

// An address as printed: hexadecimal digits and a terminating zero.
struct AddressText {
  char digits[kAddressDigits + 1];
};

// Renders an address the same way on every runtime: upper-case hexadecimal,
// zero-padded to the width of a pointer, no prefix; null is all zeros.
// The C library's %p differs between runtimes, so it is not used.
AddressText format_address(const void* address);

#endif  // WORDLIST_ADDRESS_TEXT_H
