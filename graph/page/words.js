// Words as the page holds them: the listing's bytes, with each byte that
// is not UTF-8 as a lone surrogate U+DC80..U+DCFF; shown legibly, and
// compared as the program compares them.

// A word's characters as pieces { text, escaped }. Bytes that are not
// UTF-8 come as U+DC80..U+DCFF (one per byte); they, control bytes, and
// invisible or direction-changing characters are shown as \xHH or \uHHHH.
export function pieces(word) {
  const out = [];
  let plain = '';
  const escape = (text) => {
    if (plain) out.push({ text: plain, escaped: false });
    plain = '';
    out.push({ text, escaped: true });
  };
  for (const character of word) {
    const point = character.codePointAt(0);
    if (point >= 0xDC80 && point <= 0xDCFF) {
      escape(`\\x${hex(point - 0xDC00, 2)}`);
    } else if (point < 0x20 || point === 0x7F) {
      escape(`\\x${hex(point, 2)}`);
    } else if (isInvisible(point)) {
      escape(`\\u${hex(point, 4)}`);
    } else {
      plain += character;
    }
  }
  if (plain) out.push({ text: plain, escaped: false });
  return out;
}

export function isInvisible(point) {
  return point < 0x20 || (point >= 0x7F && point <= 0x9F) ||
    (point >= 0x200B && point <= 0x200F) || (point >= 0x2028 && point <= 0x202E) ||
    (point >= 0x2060 && point <= 0x2069) || point === 0xFEFF;
}

export function hex(value, width) {
  return value.toString(16).toUpperCase().padStart(width, '0');
}

// A word's bytes, for comparing as the program does: unsigned bytes.
const encoder = new TextEncoder();
export function bytesOf(word) {
  const bytes = [];
  for (const character of word) {
    const point = character.codePointAt(0);
    if (point >= 0xDC80 && point <= 0xDCFF) bytes.push(point - 0xDC00);
    else bytes.push(...encoder.encode(character));
  }
  return bytes;
}

export function compareBytes(a, b) {
  const length = Math.min(a.length, b.length);
  for (let k = 0; k < length; k += 1) {
    if (a[k] !== b[k]) return a[k] - b[k];
  }
  return a.length - b.length;
}
