// Measures the page of wordlist-graph --html in headless Chromium: its
// weight beside the listing's, the time from navigation to the first
// picture (data-ready), and how long a redraw takes after a zoom, a pan,
// a selection and a view switch. A measurement, not a test.
//   node bench/page_bench.js [ELEMENTS ...]
// Each ELEMENTS makes a listing of that many elements; the bundled
// sample's listing is always measured. The programs are taken from
// build/release unless WORDLIST_PROGRAM and WORDLIST_GRAPH name them.
import { readFileSync, statSync } from 'node:fs';
import { fileURLToPath } from 'node:url';

import { launch, listingOf, missing, pageOf, syntheticListing, workFolder } from '../tests/browser/browser.js';

const root = fileURLToPath(new URL('..', import.meta.url));
process.env.WORDLIST_PROGRAM ||= `${root}build/release/wordlist`;
process.env.WORDLIST_GRAPH ||= `${root}build/release/wordlist-graph`;
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
// redraws that each one caused.
async function redraws(page, action) {
  const times = [];
  for (let round = 0; round < REDRAWS; round += 1) {
    const before = await page.evaluate(() => performance.getEntriesByName('draw').length);
    await action(round);
    await page.waitForFunction((count) => performance.getEntriesByName('draw').length > count,
      before);
    times.push(await page.evaluate(() => performance.getEntriesByName('draw').at(-1).duration));
  }
  return { median: median(times), max: Math.max(...times) };
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
