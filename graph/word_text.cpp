#include "word_text.h"

std::size_t utf8_sequence(const unsigned char* bytes, std::size_t left, std::uint32_t* point) {
  const unsigned char lead = bytes[0];
  std::size_t length = 0;
  std::uint32_t value = 0;
  std::uint32_t least = 0;
  if (lead < 0x80) {
    *point = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1FU, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0FU, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07U, least = 0x10000;
  } else {
    return 0;
  }
  if (left < length) {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((bytes[i] & 0xC0U) != 0x80U) {
      return 0;
    }
    value = value << 6U | (bytes[i] & 0x3FU);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return 0;
  }
  *point = value;
  return length;
}
