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

// A word as one string, its escapes as the page shows them.
export const wordText = (word) => pieces(word).map((piece) => piece.text).join('');

function isInvisible(point) {
  return point < 0x20 || (point >= 0x7F && point <= 0x9F) ||
    (point >= 0x200B && point <= 0x200F) || (point >= 0x2028 && point <= 0x202E) ||
    (point >= 0x2060 && point <= 0x2069) || point === 0xFEFF;
}

function hex(value, width) {
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

// A word's pieces cut to `room` characters for a box: an escape is
// shown whole or not at all; `cut` says that something is left out.
export function shortened(word, room) {
  const shown = [];
  let left = room;
  for (const piece of pieces(word)) {
    const characters = [...piece.text];
    const fits = piece.escaped ? (characters.length <= left ? characters.length : 0)
      : Math.min(characters.length, left);
    if (fits > 0) shown.push({ text: characters.slice(0, fits).join(''), escaped: piece.escaped });
    left -= fits;
    if (fits < characters.length) return { pieces: shown, cut: true };
  }
  return { pieces: shown, cut: false };
}

// Looks for `text` in the words of a list (`order`: indices into
// `words`, in list order), all of it, as the list's own search does:
// { found: i } for the element holding it, or else { after: i }, the
// element a sorted insertion would link it after (-1: at the head).
export function findWord(words, order, text) {
  const wanted = bytesOf(text);
  let after = -1;
  let passed = false;
  for (const i of order) {
    const sign = compareBytes(wanted, bytesOf(words[i]));
    if (sign === 0) return { found: i };
    if (sign < 0) passed = true;
    else if (!passed) after = i;
  }
  return { after };
}
