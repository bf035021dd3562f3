// try.html's models in Node: the text a link carries, and what a count's
// result shows.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import { sayText } from '../../graph/page/language.js';
import { outcomeOf } from '../../wasm/page/counted.js';
import { LINK_TEXT_BYTES, decodeText, encodeText, textField } from '../../wasm/page/text_fragment.js';

const bytes = (text) => new Uint8Array(Buffer.from(text, 'latin1'));

describe('the text a link carries', () => {
  // Tests that texts come back byte for byte, UTF-8 or not.
  test('round trip', async () => {
    const texts = ['', 'Ahoj, ahoj! Don\'t stop.\r\n', 'a\0b\xff\xfe\x80\r', 'slovo '.repeat(1300)];
    for (const text of texts) {
      const value = await encodeText(bytes(text));
      assert.match(value, /^[A-Za-z0-9_-]*$/);
      assert.equal(textField(`#view=list&step=3&text=${value}&line=2`), value);
      assert.deepEqual(await decodeText(value), bytes(text), JSON.stringify(text.slice(0, 20)));
    }
  });

  // Tests that a text too long for a link is not put in one.
  test('too long', async () => {
    assert.equal(await encodeText(new Uint8Array(LINK_TEXT_BYTES + 1)), null);
  });

  // Tests that a value cut short, changed or made up is refused.
  test('corrupt values refused', async () => {
    const value = await encodeText(bytes('Ahoj, ahoj! Don\'t stop.\r\n'));
    const cases = [value.slice(0, value.length - 3), `${value.slice(0, 2)}+${value.slice(3)}`, 'A',
      'not deflate at all', '____', 'A'.repeat(9000)];
    for (const corrupt of cases) assert.equal(await decodeText(corrupt), null, corrupt);
    // A short field that inflates past the limit.
    const packed = new Response(new Blob([new Uint8Array(LINK_TEXT_BYTES + 1)]).stream()
      .pipeThrough(new CompressionStream('deflate-raw')));
    const bomb = Buffer.from(await packed.arrayBuffer()).toString('base64url');
    assert.ok(bomb.length < 100);
    assert.equal(await decodeText(bomb), null);
  });
});

describe('what a count shows', () => {
  const listing = bytes('Seznam - adresa prvniho prvku: 00000010\n');
  const data = bytes('{"steps":[]}');
  const cases = [
    ['all well', { status: 0, err: '', listing, sorted: data, front: data, data },
      { listing: true, message: null, data: true }],
    ['the text does not fit', { status: 1, err: '', listing: new Uint8Array() },
      { listing: false, message: /^Nothing was counted: the text does not fit/, data: false }],
    ['occurrences lost', { status: 3, err: 'wordlist: 2 occurrences not counted\n', listing },
      { listing: true, message: /^wordlist: 2 occurrences/, data: false }],
    ['a trace run out of memory', { status: 3, err: 'wordlist-trace: out of memory', listing, sorted: data },
      { listing: true, message: /^The replay could not be made: wordlist-trace/, data: false }],
    ['a broken trace', { status: 2, err: 'wordlist-graph: sorted trace:3: bad', listing, sorted: data, front: data, data: new Uint8Array() },
      { listing: true, message: /^The replay could not be made: wordlist-graph: sorted trace:3/, data: false }],
    ['data that is not JSON', { status: 0, err: '', listing, sorted: data, front: data, data: bytes('{') },
      { listing: true, message: /^The replay could not be shown/, data: false }],
    ['the Worker failed', { failure: 'Out of memory' },
      { listing: false, message: /^The text could not be counted: Out of memory/, data: false }],
  ];
  for (const [name, result, expected] of cases) {
    test(name, () => {
      const shown = outcomeOf(result);
      assert.equal(shown.listing !== null, expected.listing);
      if (expected.listing) assert.equal(shown.listing, Buffer.from(listing).toString());
      if (expected.message === null) assert.equal(shown.message, null);
      else assert.match(sayText('en', shown.message.key, shown.message.places), expected.message);
      assert.equal(shown.data !== null, expected.data);
    });
  }
});
