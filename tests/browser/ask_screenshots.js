// Takes the README's pictures of Your turn, doc/ask.png and
// doc/verdict.png: the worked example at 1366x768 in headless Chromium,
// addition 7 ("Don") asking where the word goes, then the verdict on the
// answer "ahoj". Not a test.
//   node tests/browser/ask_screenshots.js
// The programs are taken from build/release unless WORDLIST_GRAPH and
// WORDLIST_TRACE name them.
import { fileURLToPath } from 'node:url';

import {
  launch, pageOf, traceOf, workFolder,
} from './browser.js';

const root = fileURLToPath(new URL('../..', import.meta.url));
process.env.WORDLIST_GRAPH ||= `${root}/build/release/wordlist-graph`;
process.env.WORDLIST_TRACE ||= `${root}/build/release/wordlist-trace`;

const folder = workFolder();
const url = pageOf(traceOf("Ahoj, ahoj! Don't stop.\r\n", folder), folder, 'worked.html');
const browser = await launch();
const page = await browser.newPage({ viewport: { width: 1366, height: 768 } });
await page.goto(`${url}#step=6&ask=1`);
await page.waitForSelector('html[data-ready]');
await page.click('#hint-close');
const drawn = () => page.evaluate(() => new Promise((done) => { requestAnimationFrame(() => setTimeout(done, 0)); }));
for (const key of ['.', 'n', '.']) await page.keyboard.press(key);
await drawn();
await page.screenshot({ path: `${root}/doc/ask.png` });
// "ahoj", the list's second element.
for (const key of ['Home', 'ArrowRight', 'Enter']) await page.keyboard.press(key);
await drawn();
await page.screenshot({ path: `${root}/doc/verdict.png` });
await browser.close();
