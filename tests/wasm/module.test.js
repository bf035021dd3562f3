// The WebAssembly module, through its loader, against the native
// programs: the same listing but for the addresses, traces that the C++
// reader replays, the same page data, and the programs' honest endings
// when memory runs out or a trace is broken.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { closeSync, existsSync, mkdtempSync, openSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { describe, test } from 'node:test';

import { compileModule, countText, pageData, runText } from '../../wasm/module_loader.js';

const env = (name) => process.env[name] ?? '';
const module = await compileModule(readFileSync(env('WORDLIST_MODULE')));
const smallModule = await compileModule(readFileSync(env('WORDLIST_SMALL_MODULE')));
const native = env('WORDLIST_NATIVE');
const wordlist = join(native, 'wordlist');
const wordlistTrace = join(native, 'wordlist-trace');
const graph = join(native, 'wordlist-graph');
const noNative = existsSync(wordlist) && existsSync(graph) ? false
  : `SKIPPED: no native build in '${native}' (cmake --workflow --preset release makes it)`;

const latin1 = (bytes) => Buffer.from(bytes).toString('latin1');
const repeated = (piece, times) => piece.repeat(times);
function distinctWords(count) {
  let text = '';
  for (let i = 0; i < count; i++) {
    for (let rest = (i * 7919) % count + count; rest > 0; rest = Math.floor(rest / 26)) {
      text += String.fromCharCode(97 + rest % 26);
    }
    text += '\n';
  }
  return text;
}
function allBytes() {
  return Array.from({ length: 255 }, (_, i) => String.fromCharCode(i + 1)).join('');
}

// The texts of the native end-to-end tests that are files' contents.
const texts = [
  ['worked example', 'Ahoj, ahoj! Don\'t stop.\r\n'],
  ['empty file', ''],
  ['delimiters only', ' \r\n\t,.?!*\' \r\n\t,.?!*\''],
  ['fixed word counted', 'pokus'],
  ['case distinct', 'Pokus'],
  ['CR LF lines', 'b a\r\nb\r\n\r\nc\r\n'],
  ['other bytes are word bytes', 'well-known x:y "q"; (p)\f\v[1]'],
  ['zero byte ends the text', 'one two\0three four'],
  ['high bytes', '\xC3\xA1 z \xFF\x80 \x80 z'],
  ['all byte values', allBytes()],
  ['leading zero byte', '\0pokus word'],
  ['trailing zero byte', 'word\0'],
  ['the sample', latin1(readFileSync(env('WORDLIST_SAMPLE')))],
  ['one word of 16 MiB', 'x'.repeat(16 << 20)],
  ['delimiters only, 10 MiB', repeated(' \r\n\t,.?!*\'', 1 << 20)],
  ['20000 distinct words', distinctWords(20000)],
  ['one word a million times', repeated('slovo\r\n', 1000000)],
].map(([name, text]) => [name, Buffer.from(text, 'latin1')]);

// Runs a native program in a folder of its own holding `files` (by
// default neco.txt), its standard output collected or, with `outputFull`,
// /dev/full.
function runNative(program, text, args = [], { files = { 'neco.txt': text }, outputFull = false } = {}) {
  const dir = mkdtempSync(join(tmpdir(), 'wordlist-wasm-'));
  const full = outputFull ? openSync('/dev/full', 'w') : null;
  try {
    for (const [name, bytes] of Object.entries(files)) writeFileSync(join(dir, name), bytes);
    const stdio = ['ignore', full ?? 'pipe', 'pipe'];
    const run = spawnSync(program, args, { cwd: dir, stdio, maxBuffer: 1 << 30 });
    return { status: run.status, out: run.stdout ?? Buffer.alloc(0), err: run.stderr.toString() };
  } finally {
    if (full !== null) closeSync(full);
    rmSync(dir, { recursive: true, force: true });
  }
}

// wordlist-graph's page of two runs, from traces in files named as the
// module names its inputs.
function nativePage(sorted, front, options = {}) {
  const files = { 'sorted trace': sorted, 'front trace': front };
  return runNative(graph, null, ['--html', 'sorted trace', 'front trace'], { files, ...options });
}

// A listing with its addresses taken out, after checking their width.
function shape(listing, digits) {
  const field = /(prvku: |ADR: |NEXT: )([0-9A-F]+)( |\n)/g;
  for (const [, , address] of latin1(listing).matchAll(field)) assert.equal(address.length, digits, address);
  return latin1(listing).replace(field, '$1ADDRESS$3');
}

describe('the module counts as wordlist does', () => {
  for (const [name, text] of texts) {
    test(name, { skip: noNative }, async () => {
      const run = await runText(module, text);
      const expected = runNative(wordlist, text);
      assert.equal(run.status, expected.status);
      assert.equal(run.err, expected.err);
      assert.equal(shape(run.out, 8), shape(expected.out, 16));
      assert.deepEqual((await runText(module, text)).out, run.out, 'a second run differs');
    });
  }
});

describe('its traces', () => {
  const small = texts.filter(([, text]) => text.length < 1 << 16);
  for (const [name, text] of small) {
    test(name, { skip: noNative }, async () => {
      const all = await countText(module, text);
      assert.equal(all.status, 0, all.err);
      // The listing ends each trace, at the same addresses: the tracer
      // leaves the heap as the plain run has it.
      for (const trace of [all.sorted, all.front]) {
        assert.ok(latin1(trace).startsWith('wordlist-trace 1'));
      }
      assert.ok(latin1(all.sorted).endsWith(latin1(all.listing)));
      // In chunks of any size, the same run, byte for byte.
      assert.deepEqual((await runText(module, text, { run: 'sorted', chunk: 1 })).out, all.sorted);
      // The C++ reader replays them, and its page holds the module's data.
      const dir = mkdtempSync(join(tmpdir(), 'wordlist-wasm-'));
      try {
        writeFileSync(join(dir, 'sorted'), all.sorted);
        writeFileSync(join(dir, 'front'), all.front);
        const page = spawnSync(graph, ['--html', 'sorted', 'front'], { cwd: dir, maxBuffer: 1 << 28 });
        assert.equal(page.status, 0, page.stderr.toString());
        assert.ok(page.stdout.includes(Buffer.from(all.data)), 'the page data differ');
      } finally {
        rmSync(dir, { recursive: true, force: true });
      }
    });
  }

  test('progress runs from 0 to 1, and a cancelled run stops', async () => {
    const text = Buffer.from(distinctWords(2000));
    const shares = [];
    await runText(module, text, { run: 'sorted', chunk: 1000, onProgress: (share) => shares.push(share) });
    assert.ok(shares.length > 5 && shares.at(-1) === 1);
    assert.deepEqual(shares, [...shares].sort((a, b) => a - b));
    const controller = new AbortController();
    const progress = () => controller.abort();
    assert.deepEqual(await countText(module, text, { chunk: 1000, onProgress: progress, signal: controller.signal }),
      { cancelled: true });
  });

  // The checks are wordlist-graph's own code: the same status and the
  // same words, the module's inputs named as files would be.
  test('a broken trace, or two of different texts, is an error, never data', async () => {
    const worked = await countText(module, texts[0][1]);
    const other = await countText(module, Buffer.from('other words'));
    const miscount = (trace) => Buffer.from(latin1(trace).replace('COUNT: 2 WORD: pokus', 'COUNT: 3 WORD: pokus'), 'latin1');
    // A trace of 2 million additions, each line empty: too many to
    // replay in the small module's 16 MiB.
    const endless = Buffer.from(`wordlist-trace 1\n${'\n'.repeat(2 << 20)}`);
    const rows = [
      [module, miscount(worked.sorted), worked.front, 2,
        'wordlist-graph: sorted trace:4: COUNT is not the element\'s count plus one\n'],
      [module, worked.sorted, miscount(worked.front), 2,
        'wordlist-graph: front trace:4: COUNT is not the element\'s count plus one\n'],
      [module, worked.sorted, worked.sorted, 2,
        'wordlist-graph: front trace: built the same way as the first trace: give one trace of each way ' +
        '(wordlist-trace, and wordlist-trace --front)\n'],
      [module, worked.sorted, other.front, 2,
        'wordlist-graph: front trace: addition 5 is not that of sorted trace: the traces are not of the same ' +
        'additions in the same order\n'],
      [module, worked.listing, worked.front, 2,
        'wordlist-graph: sorted trace: not a trace: two inputs must be two traces of one text\n'],
      [smallModule, endless, worked.front, 1, 'wordlist-graph: sorted trace: out of memory\n'],
      // Too large for the host to place in the module at all.
      [smallModule, worked.sorted, Buffer.alloc(20 << 20), 1, 'wordlist-graph: front trace: out of memory\n'],
    ];
    for (const [instance, sorted, front, status, message] of rows) {
      const data = pageData(instance, sorted, front);
      assert.equal(data.status, status, message);
      assert.equal(data.err, message);
      assert.equal(data.out.length, 0);
      if (!noNative && status === 2) assert.deepEqual(nativePage(sorted, front), { status, out: Buffer.alloc(0), err: message });
    }
  });
});

// Standard output refusing every write, as /dev/full does for the native
// programs: the same status and the same line.
describe('a full output, as the programs end', () => {
  const text = texts[0][1];
  const rows = [
    ['listing', () => runText(module, text, { outputFull: true }), () => runNative(wordlist, text, [], { outputFull: true })],
    ['sorted', () => runText(module, text, { run: 'sorted', outputFull: true }),
      () => runNative(wordlistTrace, text, [], { outputFull: true })],
    ['front', () => runText(module, text, { run: 'front', outputFull: true }),
      () => runNative(wordlistTrace, text, ['--front'], { outputFull: true })],
    ['page data', async () => {
      const all = await countText(module, text);
      return pageData(module, all.sorted, all.front, { outputFull: true });
    }, async () => {
      const all = await countText(module, text);
      return nativePage(all.sorted, all.front, { outputFull: true });
    }],
  ];
  for (const [name, runModule, runProgram] of rows) {
    test(name, { skip: noNative }, async () => {
      const run = await runModule();
      const expected = await runProgram();
      assert.equal(run.status, 2);
      assert.match(run.err, /^wordlist(-trace|-graph)?: write error: No space left on device\n$/);
      assert.equal(run.out.length, 0);
      assert.deepEqual([run.status, run.err], [expected.status, expected.err]);
    });
  }
});

describe('out of memory, as the programs end', () => {
  // 40 distinct words of 256 KiB in a module of 16 MiB at most: the text
  // fits, not all the copies of its words.
  const words = Array.from({ length: 40 }, (_, i) => i.toString(36).padStart(2, 'a') + 'x'.repeat(1 << 18));
  const text = Buffer.from(words.join(' '));

  test('the text does not fit: status 1, nothing written', async () => {
    assert.deepEqual(await runText(smallModule, Buffer.alloc(20 << 20, 0x61)), { status: 1, out: new Uint8Array(0), err: '' });
  });

  for (const run of ['listing', 'sorted', 'front']) {
    test(`words not counted (${run}): status 3, and the listing says how many`, async () => {
      const result = await runText(smallModule, text, { run });
      const listed = latin1(result.out).split('\n').filter((line) => / ADR: .* WORD: [a-z0-9]{2}x/.test(line));
      assert.ok(listed.length > 0 && listed.length < words.length, `${listed.length} listed`);
      const missing = words.length - listed.length;
      assert.equal(result.status, 3);
      const program = run === 'listing' ? 'wordlist' : 'wordlist-trace';
      assert.equal(result.err, `${program}: ${missing} occurrences not counted: out of memory or count limit\n`);
      if (run !== 'listing') assert.equal(latin1(result.out).split('\nnot counted WORD: ').length - 1, missing);
    });
  }
});
