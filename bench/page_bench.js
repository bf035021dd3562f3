// Measures the page of wordlist-graph --html in headless Chromium: its
// weight beside the listing's, the time from navigation to the first
// picture (data-ready), and how long a redraw takes after a zoom, a pan,
// a selection and a view switch; then the replay page of a trace: its
// weight, its time to ready, a step forward or back, a jump on the
// slider, whether playing at 60 additions a second keeps up, a line of
// code forward or back, and a link to the last addition's last line; in
// Your turn, a line step, a step to the next question and an answer; and
// wordlist-trace's time beside wordlist's. A measurement, not a test.
//   node bench/page_bench.js [ELEMENTS ...]
// Each ELEMENTS makes a listing of that many elements; the bundled
// sample is always measured, and Genesis where Debian's bible-kjv is
// installed. The programs are taken from build/release unless
// WORDLIST_PROGRAM, WORDLIST_GRAPH and WORDLIST_TRACE name them.
import { execFileSync } from 'node:child_process';
import { readFileSync, statSync } from 'node:fs';
import { fileURLToPath } from 'node:url';

import {
  genesis, launch, listingOf, missing, pageOf, runsPageOf, syntheticListing, traceOf, workFolder,
} from '../tests/browser/browser.js';

const root = fileURLToPath(new URL('..', import.meta.url));
process.env.WORDLIST_PROGRAM ||= `${root}build/release/wordlist`;
process.env.WORDLIST_GRAPH ||= `${root}build/release/wordlist-graph`;
process.env.WORDLIST_TRACE ||= `${root}build/release/wordlist-trace`;
const LOADS = 7;
const REDRAWS = 41;

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// The time from navigation to data-ready, over several fresh loads.
async function readyTime(browser, url) {
  const times = [];
  for (let load = 0; load < LOADS; load += 1) {
    const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
    await page.goto(url);
    await page.waitForSelector('html[data-ready]');
    times.push(await page.evaluate(() => performance.getEntriesByName('ready')[0].startTime));
    await page.close();
  }
  return median(times);
}

// Does `action` REDRAWS times; returns the median and the longest of the
// redraws that each one caused, with the work of the step (or line step,
// `work`) that asked for it.
async function redraws(page, action, work = 'step') {
  const times = [];
  for (let round = 0; round < REDRAWS; round += 1) times.push(await redrawn(page, () => action(round), work));
  return summary(times);
}

const summary = (times) => ({ median: median(times), max: Math.max(...times) });

// The time of the redraw that `action` causes, with the work (`work`, a
// measure's name) that asked for it.
async function redrawn(page, action, work) {
  const before = await page.evaluate(() => performance.getEntriesByName('draw').length);
  await action();
  await page.waitForFunction((count) => performance.getEntriesByName('draw').length > count, before);
  // A step's own work, done before it asks for the redraw, counts too.
  const time = await page.evaluate((name) => performance.getEntriesByName('draw').at(-1).duration +
    (performance.getEntriesByName(name).at(-1)?.duration ?? 0), work);
  await page.evaluate((name) => performance.clearMeasures(name), work);
  return time;
}

// Your turn from the first line of the middle addition: REDRAWS line
// steps with ], REDRAWS steps with . to the next question, and an answer
// to every question they open (n or h, whichever the question takes).
// Null on a page without the mode.
async function measureTurn(browser, url, middle) {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  await page.goto(`${url}#view=memory&step=${middle}&line=1&ask=1`);
  await page.waitForSelector('html[data-ready]');
  if (await page.$('#your-turn') === null) {
    await page.close();
    return null;
  }
  const times = { line: [], next: [], answer: [] };
  while (times.next.length < REDRAWS) {
    const asked = await page.$eval('#ask', (ask) => (ask.dataset.verdict ? '' : ask.dataset.question ?? ''));
    const key = asked === 'found' || asked === 'next' ? 'n' : 'h';
    if (asked) times.answer.push(await redrawn(page, () => page.keyboard.press(key), 'answer'));
    else if (times.line.length < REDRAWS) times.line.push(await redrawn(page, () => page.keyboard.press(']'), 'line'));
    else times.next.push(await redrawn(page, () => page.keyboard.press('.'), 'line'));
  }
  await page.close();
  return { line: summary(times.line), next: summary(times.next), answer: summary(times.answer) };
}

async function measure(browser, name, listing, folder) {
  const url = pageOf(listing, folder, `${name}.html`);
  const pageBytes = statSync(fileURLToPath(url)).size;
  const ready = await readyTime(browser, url);
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  await page.goto(`${url}#select=1`);
  await page.waitForSelector('html[data-ready]');
  const box = await page.locator('#canvas').boundingBox();
  const centre = { x: box.x + box.width / 2, y: box.y + box.height / 2 };
  const results = {
    zoom: await redraws(page, (round) => page.keyboard.press(round % 2 ? '-' : '+')),
    pan: await redraws(page, async (round) => {
      await page.mouse.move(centre.x, centre.y);
      await page.mouse.down();
      await page.mouse.move(centre.x + (round % 2 ? -60 : 60), centre.y + 20, { steps: 1 });
      await page.mouse.up();
    }),
    select: await redraws(page, () => page.keyboard.press('ArrowRight')),
    view: await redraws(page, () => page.keyboard.press('m')),
  };
  await page.keyboard.press('0');
  results.fit = await redraws(page, (round) => page.keyboard.press(round % 2 ? 'm' : '0'));
  await page.close();
  return { name, listingBytes: listing.length, pageBytes, ready, ...results };
}

// The replay page of `text`'s trace.
async function measureReplay(browser, name, text, folder) {
  const trace = traceOf(text, folder);
  const listing = listingOf(text, folder);
  const additions = trace.toString('latin1').split('\n')
    .filter((line) => /^(inserted|counted|not counted) /.test(line)).length;
  const url = pageOf(trace, folder, `${name}-replay.html`);
  const pageBytes = statSync(fileURLToPath(url)).size;
  const ready = await readyTime(browser, url);
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  await page.goto(`${url}#view=memory&step=${Math.floor(additions / 2)}&zoom=0.3`);
  await page.waitForSelector('html[data-ready]');
  const forward = await redraws(page, () => page.keyboard.press('.'));
  const back = await redraws(page, () => page.keyboard.press(','));
  const jump = await redraws(page, (round) => page.$eval('#step', (slider, k) => {
    slider.value = String(k);
    slider.dispatchEvent(new Event('input'));
  }, Math.floor(((round * 7919) % 1000) / 1000 * additions)));
  // Plays for two seconds at 60 additions a second from the start.
  await page.keyboard.press('Home');
  await page.$eval('#step', (slider) => { slider.value = '0'; slider.dispatchEvent(new Event('input')); });
  await page.selectOption('#speed', '60');
  await page.click('#play');
  const started = Date.now();
  await page.waitForTimeout(2000);
  await page.click('#play');
  const seconds = (Date.now() - started) / 1000;
  const played = Number(await page.$eval('#step', (slider) => slider.value));
  // Line steps through the list's code, from the first line of the
  // middle addition; then a link to the last line of the last.
  await page.goto(`${url}#view=memory&step=${Math.floor(additions / 2)}&line=1`);
  await page.waitForSelector('html[data-ready]');
  // The browser's own time from each key to the frame that shows it
  // (Event Timing, in steps of 8 ms; it tells none under 16 ms).
  await page.evaluate(() => {
    window.keyTimes = [];
    new PerformanceObserver((entries) => {
      for (const entry of entries.getEntries()) if (entry.name === 'keydown') window.keyTimes.push(entry.duration);
    }).observe({ type: 'event', durationThreshold: 16 });
  });
  const lineForward = await redraws(page, () => page.keyboard.press(']'), 'line');
  const lineBack = await redraws(page, () => page.keyboard.press('['), 'line');
  await page.waitForTimeout(200);
  const told = await page.evaluate(() => window.keyTimes);
  const keyToFrame = median([...told, ...Array(Math.max(0, 2 * REDRAWS - told.length)).fill(0)]);
  await page.close();
  const lastLine = await readyTime(browser, `${url}#view=memory&step=${additions}&line=1000000000`);
  const turn = await measureTurn(browser, url, Math.floor(additions / 2));
  return { name, additions, listingBytes: listing.length, pageBytes, ready, forward, back, jump,
    playedPerSecond: played / seconds, lineForward, lineBack, keyToFrame, lastLine, turn };
}

// The page of both runs of `text` (list_add_sorted's, list_add_front's):
// its weight beside the two single-run pages, its time to ready, a
// switch between the runs, and the totals it compares.
async function measureRuns(browser, name, text, folder) {
  const single = (options) => statSync(fileURLToPath(
    pageOf(traceOf(text, folder, options), folder, `${name}-single.html`))).size;
  const singles = single([]) + single(['--front']);
  const url = runsPageOf(text, folder, `${name}-runs.html`);
  const pageBytes = statSync(fileURLToPath(url)).size;
  const ready = await readyTime(browser, url);
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  await page.goto(`${url}#view=memory&zoom=0.3`);
  await page.waitForSelector('html[data-ready]');
  const switched = await redraws(page, () => page.keyboard.press('r'), 'run');
  const totals = await page.textContent('#totals');
  await page.close();
  const timeFront = programTimes(text, folder, 7, ['--front']);
  return { name, pageBytes, singles, ready, switched, totals, ...timeFront };
}

// Median wall-clock seconds of `runs` runs of each program on `text`,
// alternating (wordlist-trace with `options`).
function programTimes(text, folder, runs = 7, options = []) {
  listingOf(text, folder);
  const time = (program, programOptions = []) => {
    const start = process.hrtime.bigint();
    execFileSync(program, programOptions, { cwd: folder, maxBuffer: 1 << 30 });
    return Number(process.hrtime.bigint() - start) / 1e9;
  };
  const wordlist = [];
  const trace = [];
  for (let run = 0; run < runs; run += 1) {
    wordlist.push(time(process.env.WORDLIST_PROGRAM));
    trace.push(time(process.env.WORDLIST_TRACE, options));
  }
  return { wordlist: median(wordlist), trace: median(trace) };
}

const why = await missing();
if (why) {
  console.error(`page_bench: ${why}`);
  process.exit(1);
}
const folder = workFolder();
const browser = await launch();
const rows = [await measure(browser, 'sample',
  listingOf(readFileSync(`${root}neco.txt`), folder), folder)];
for (const count of process.argv.slice(2).map(Number)) {
  rows.push(await measure(browser, `${count} elements`, syntheticListing(count), folder));
}
const texts = [['sample', readFileSync(`${root}neco.txt`)]];
if (genesis()) texts.push(['Genesis', genesis()]);
const replays = [];
for (const [name, text] of texts) {
  replays.push({ ...await measureReplay(browser, name, text, folder),
    ...programTimes(text, folder) });
}
const both = [];
for (const [name, text] of texts) both.push(await measureRuns(browser, name, text, folder));
await browser.close();

const ms = (value) => value.toFixed(1);
const redraw = ({ median: middle, max }) => `${ms(middle)} (${ms(max)})`;
console.log('| listing | listing bytes | page bytes | page - listing | ready ms | ' +
  'zoom ms | pan ms | select ms | view switch ms | fit and switch, whole list, ms |');
console.log('|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|');
for (const row of rows) {
  console.log(`| ${row.name} | ${row.listingBytes} | ${row.pageBytes} | ` +
    `${row.pageBytes - row.listingBytes} | ${ms(row.ready)} | ${redraw(row.zoom)} | ` +
    `${redraw(row.pan)} | ${redraw(row.select)} | ${redraw(row.view)} | ${redraw(row.fit)} |`);
}
console.log(`Redraws: median (longest) of ${REDRAWS}; ready: median of ${LOADS} loads, ` +
  'from navigation to the first picture.');

console.log('');
console.log('| trace of | additions | wordlist s | wordlist-trace s | ratio | final listing bytes | ' +
  'page bytes | budget bytes | ready ms | step forward ms | step back ms | jump ms | ' +
  'played per s at 60 |');
console.log('|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|');
for (const row of replays) {
  const budget = row.listingBytes + 64 * row.additions + 150 * 1024;
  console.log(`| ${row.name} | ${row.additions} | ${row.wordlist.toFixed(3)} | ` +
    `${row.trace.toFixed(3)} | ${(row.trace / row.wordlist).toFixed(2)} | ${row.listingBytes} | ` +
    `${row.pageBytes} | ${budget} | ${ms(row.ready)} | ${redraw(row.forward)} | ` +
    `${redraw(row.back)} | ${redraw(row.jump)} | ${row.playedPerSecond.toFixed(1)} |`);
}
console.log('Budget: the final listing + 64 bytes per addition + 150 KiB. Program times: median of 7 ' +
  'runs each, alternating.');

console.log('');
console.log('| trace of | line forward ms | line back ms | key to frame ms | ' +
  'link to the last line, ready ms |');
console.log('|---|---:|---:|---:|---:|');
for (const row of replays) {
  console.log(`| ${row.name} | ${redraw(row.lineForward)} | ${redraw(row.lineBack)} | ` +
    `${row.keyToFrame > 0 ? row.keyToFrame : '< 16'} | ${ms(row.lastLine)} |`);
}
console.log(`Line steps in the memory view from the first line of the middle addition: median ` +
  `(longest) of ${REDRAWS}, each with its own work; from the key to the frame that shows it, the ` +
  `median of both ways as the browser tells it; the link: median of ${LOADS} loads.`);

console.log('');
console.log('| trace of | Your turn: line forward ms | to the next question ms | answer ms |');
console.log('|---|---:|---:|---:|');
for (const { name, turn } of replays) {
  if (turn) console.log(`| ${name} | ${redraw(turn.line)} | ${redraw(turn.next)} | ${redraw(turn.answer)} |`);
}
console.log(`Your turn in the memory view from the first line of the middle addition: median (longest) of ` +
  `${REDRAWS} line steps with ], of ${REDRAWS} steps with . and of the answers to the questions they open, ` +
  'each with its own work.');

console.log('');
console.log('| text | totals | page bytes | both single pages | ready ms | switch ms | ' +
  'wordlist s | wordlist-trace --front s |');
console.log('|---|---|---:|---:|---:|---:|---:|---:|');
for (const row of both) {
  console.log(`| ${row.name} | ${row.totals} | ${row.pageBytes} | ${row.singles} | ` +
    `${ms(row.ready)} | ${redraw(row.switched)} | ${row.wordlist.toFixed(3)} | ${row.trace.toFixed(3)} |`);
}
console.log(`Both runs in one page; the switch: median (longest) of ${REDRAWS}, with its own work.`);
