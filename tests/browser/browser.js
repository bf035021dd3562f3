// Making pages with the programs and opening them in Debian's Chromium
// (through playwright-core) or Firefox ESR (through puppeteer-core),
// headless, for the browser tests and the page benchmark. WORDLIST_BROWSER
// names the browser: chromium (the default) or firefox.
import { execFileSync } from 'node:child_process';
import {
  existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync,
} from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

import { TABLES } from '../../graph/page/language.js';
import { firefoxPath, launchFirefox } from './firefox.js';

export const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';
export const browserName = process.env.WORDLIST_BROWSER || 'chromium';

// Why the browser cannot be driven here, or null when it can.
export async function missing() {
  const [path, driver] = browserName === 'firefox' ? [firefoxPath, 'puppeteer-core']
    : [chromiumPath, 'playwright-core'];
  if (!existsSync(path)) return `${path} is not installed`;
  try {
    await import(driver);
  } catch {
    return `${driver} is not installed (npm ci)`;
  }
  return null;
}

// The browser, as root in a sandbox of ours, on a machine with no
// network to speak to: no background traffic of its own. Its pages ask
// for `locale` (a language tag, as navigator.languages gives it): English
// unless a test asks for another, whatever the machine's own is.
export async function launch({ locale = 'en-US' } = {}) {
  if (browserName === 'firefox') return launchFirefox(locale);
  const { chromium } = await import('playwright-core');
  const browser = await chromium.launch({
    executablePath: chromiumPath,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  return {
    newPage: (options = {}) => browser.newPage({ locale, ...options }),
    close: () => browser.close(),
  };
}

// Ends a test file that cannot run here, `why` not null: as failed (1)
// where the environment variable `required` is set, as CI sets it;
// otherwise as skipped, saying why (77, which CTest is told is a skip).
export function endUnlessRunnable(why, required) {
  if (!why) return;
  console.log(`${process.env[required] ? 'FAILED' : 'SKIPPED'}: ${why}`);
  process.exit(process.env[required] ? 1 : 77);
}

// A folder that is removed when the process ends.
export function workFolder() {
  const folder = mkdtempSync(join(tmpdir(), 'wordlist-page-'));
  process.on('exit', () => rmSync(folder, { recursive: true, force: true }));
  return folder;
}

// The listing wordlist prints for `text` (bytes), run in `folder`.
export function listingOf(text, folder) {
  writeFileSync(join(folder, 'neco.txt'), text);
  return execFileSync(process.env.WORDLIST_PROGRAM, { cwd: folder });
}

// The trace wordlist-trace writes for `text` (bytes), run in `folder`
// (with `options`, such as --front).
export function traceOf(text, folder, options = []) {
  writeFileSync(join(folder, 'neco.txt'), text);
  return execFileSync(process.env.WORDLIST_TRACE, options, { cwd: folder, maxBuffer: 1 << 30 });
}

// The page of both runs of `text`, list_add_sorted's and list_add_front's,
// written into `folder`; returns its file: URL.
export function runsPageOf(text, folder, name = 'runs.html') {
  writeFileSync(join(folder, 'sorted.trace'), traceOf(text, folder));
  writeFileSync(join(folder, 'front.trace'), traceOf(text, folder, ['--front']));
  const page = join(folder, name);
  writeFileSync(page, execFileSync(process.env.WORDLIST_GRAPH,
    ['--html', join(folder, 'sorted.trace'), join(folder, 'front.trace')], { maxBuffer: 1 << 30 }));
  return pathToFileURL(page).href;
}

// Writes the page of `listing` (or of a trace) into `folder`; returns its
// file: URL.
export function pageOf(listing, folder, name = 'list.html') {
  const page = join(folder, name);
  writeFileSync(page, execFileSync(process.env.WORDLIST_GRAPH, ['--html'], {
    input: listing, maxBuffer: 1 << 30,
  }));
  return pathToFileURL(page).href;
}

// A listing of `count` elements as a 64-bit build prints it, its words
// distinct and in order, its elements scattered over the heap.
export function syntheticListing(count) {
  const addresses = Array.from({ length: count }, (_, i) => 0x555555550000n + BigInt(i) * 64n);
  for (let i = count - 1; i > 0; i -= 1) {
    const j = (i * 7919) % (i + 1);
    [addresses[i], addresses[j]] = [addresses[j], addresses[i]];
  }
  const hex = (value) => value.toString(16).toUpperCase().padStart(16, '0');
  const lines = [`Seznam - adresa prvniho prvku: ${hex(addresses[0])}`];
  for (let i = 0; i < count; i += 1) {
    const next = i + 1 < count ? addresses[i + 1] : 0n;
    const word = `w${String(i).padStart(6, '0')}`;
    lines.push(`${String(i + 1).padStart(3)} ADR: ${hex(addresses[i])} NEXT: ${hex(next)} ` +
      `COUNT: ${String(1 + (i % 7)).padStart(3)} WORD: ${word}`);
  }
  return Buffer.from(`${lines.join('\n')}\n`);
}

// Verses of Debian's bible-kjv as plain text, without chapter headings
// and verse numbers, or null where the package is not installed.
function bibleText(range) {
  if (!existsSync('/usr/bin/bible')) return null;
  const text = execFileSync('/usr/bin/bible', [range], { maxBuffer: 1 << 28 });
  return Buffer.from(text.toString('latin1').replace(/^([1-3] )?[A-Z][a-z]*( of [A-Z][a-z]*)? \d+\n/gm, '')
    .replace(/^ *\d+ /gm, ''), 'latin1');
}

// Genesis (38,523 additions, 3,216 distinct words), or null.
export const genesis = () => bibleText('gen1:1-gen50:26');

// The whole Bible (about 4 MB), or null.
export const bible = () => bibleText('gen1:1-rev22:21');

// axe-core's checks of a page, in the page: the violations' rules and
// how many elements each concerns.
export async function accessibility(page) {
  const engine = readFileSync(new URL('../../node_modules/axe-core/axe.min.js', import.meta.url), 'utf8');
  await page.evaluate(engine);
  return page.evaluate(async () => (await globalThis.axe.run()).violations
    .map((violation) => `${violation.id}: ${violation.nodes.length}`));
}

// Opens `url` in a new page of `browser` (1200 pixels wide, `height`
// high), watching for what a page must never do: a dialog, a console
// error or warning, an uncaught error, or a request for anything but the
// page itself and what `allowed(url)` lets through. Resolves once the
// page has drawn, to the page and the list of what went wrong.
export async function openWatched(browser, url, { width = 1200, height = 800, allowed = () => false } = {}) {
  const page = await browser.newPage({ viewport: { width, height } });
  const trouble = [];
  const own = url.split('#')[0];
  page.on('dialog', (dialog) => { trouble.push(`dialog: ${dialog.message()}`); dialog.dismiss(); });
  page.on('console', (message) => {
    if (message.type() === 'error' || message.type() === 'warning') trouble.push(message.text());
  });
  page.on('pageerror', (error) => trouble.push(`error: ${error.message}`));
  page.on('request', (request) => {
    if (request.url() !== own && !allowed(request.url())) trouble.push(`request: ${request.url()}`);
  });
  await page.goto(url);
  await page.waitForSelector('html[data-ready]');
  return { page, trouble };
}

// What a page's interface says, as a person reads and hears it: its texts
// (hidden ones too, such as a closed dialog's), its title, and its
// aria-labels, titles, placeholders and told values; with the data left
// out: the code and the calls, the listing and the text to count, the
// line of code an announcement reads out, and the switch of languages,
// named in both.
export const interfaceTexts = (page) => page.evaluate(() => {
  const data = '#code, #frames, #listing, #text, #lang, script, style';
  const code = document.querySelector('#code [aria-current]')?.textContent.trim();
  const texts = [document.title];
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    if (!node.parentElement.closest(data)) texts.push(node.data);
  }
  for (const element of document.body.querySelectorAll('*')) {
    if (element.closest(data)) continue;
    for (const name of ['aria-label', 'title', 'placeholder', 'aria-valuetext', 'alt']) {
      if (element.hasAttribute(name)) texts.push(element.getAttribute(name));
    }
  }
  return texts.map((text) => (code ? text.replace(code, ' ') : text));
});

// The words of a text, as the check below compares them: identifiers
// (list_free) whole.
const wordsOf = (text) => (text.match(/[\p{L}_]{2,}/gu) ?? []).map((word) => word.toLowerCase());

// The words that only the English table holds, that is, those that no
// Czech text uses.
function englishOnly() {
  const all = (table) => new Set(Object.values(table).flatMap((template) => (typeof template === 'string'
    ? [template] : [template.text, ...Object.values(template.plural).flatMap(Object.values)]))
    .flatMap((text) => wordsOf(text.replace(/\{[^}]*\}/g, ' '))));
  const czech = all(TABLES.cs);
  return new Set([...all(TABLES.en)].filter((word) => !czech.has(word)));
}

// The words of `texts` (from interfaceTexts) that are English and not
// Czech, besides `dataWords`, the data's words the page shows; C strings
// and addresses are data too.
export function englishIn(texts, dataWords) {
  const english = englishOnly();
  const data = new Set(dataWords.map((word) => word.toLowerCase()));
  return [...new Set(texts.flatMap((text) => wordsOf(text.replace(/"(?:[^"\\]|\\.)*"/g, ' ')
    .replace(/\b[0-9A-F]{8,}\b/g, ' '))))].filter((word) => english.has(word) && !data.has(word));
}

// The controls and labels of a page that are cut or stand out of its
// width, and how far the page scrolls sideways: its layout, in any
// language.
export const layoutFaults = (page) => page.evaluate(() => {
  const shown = (element) => element.getClientRects().length > 0;
  const cut = [...document.querySelectorAll('button, select, label, input, h1, #status, #totals, #hint, #phases li, #legend li')]
    .filter(shown).filter((element) => {
      const box = element.getBoundingClientRect();
      return box.left < -0.5 || box.right > innerWidth + 0.5 ||
        (element.clientWidth > 0 && element.scrollWidth > element.clientWidth + 1);
    }).map((element) => element.id || element.dataset.text || element.tagName);
  return { cut, sideways: Math.max(0, document.documentElement.scrollWidth - innerWidth) };
});
