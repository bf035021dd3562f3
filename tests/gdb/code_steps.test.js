// The page's model of the list's code, checked against the debugger: a
// -O0 -g build of wordlist-trace runs under gdb, which steps through every
// addition and the final list_free line by line and records each stop's
// calls, lines and variables; the page's model, given the trace that very
// run wrote, must stop at the same lines in the same calls, and every
// variable it shows must hold what gdb read. Needs WORDLIST_TRACE_DEBUG,
// WORDLIST_GRAPH and WORDLIST_SAMPLE.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { after, test } from 'node:test';
import { fileURLToPath } from 'node:url';

import { additionPlan, codeMap, freePlan, planStop } from '../../graph/page/code_steps.js';
import { listBefore, makeReplay } from '../../graph/page/replay.js';
import { bytesOf, pieces } from '../../graph/page/words.js';
import { endUnlessRunnable, launch, missing as browserMissing } from '../browser/browser.js';

const here = dirname(fileURLToPath(import.meta.url));
const program = process.env.WORDLIST_TRACE_DEBUG;
const map = codeMap(readFileSync(join(here, '../../src/word_list.cpp'), 'utf8'));

// Why gdb cannot do it here, or null when it can.
function missing() {
  const gdb = spawnSync('gdb', ['-q', '-batch', '-ex', 'run', '--args', '/bin/true'],
    { encoding: 'utf8' });
  if (gdb.error) return 'gdb is not installed';
  if (!/exited normally/.test(gdb.stdout)) {
    return `gdb cannot run a program here: ${(gdb.stdout + gdb.stderr).trim().split('\n')[0]}`;
  }
  if (!program || !existsSync(program)) return 'WORDLIST_TRACE_DEBUG names no debug tracer';
  return null;
}

// CI sets WORDLIST_GDB_REQUIRED: there, a debugger that cannot run fails.
endUnlessRunnable(missing(), 'WORDLIST_GDB_REQUIRED');

const folder = mkdtempSync(join(tmpdir(), 'wordlist-gdb-'));
process.on('exit', () => rmSync(folder, { recursive: true, force: true }));

// Runs the debug tracer on `text` under gdb: the stops it recorded, the
// offset of `next` in an element, and the page data of the trace it wrote.
function recorded(text, front) {
  writeFileSync(join(folder, 'neco.txt'), text);
  const records = join(folder, 'stops.jsonl');
  execFileSync('gdb', ['-q', '-batch', '-x', join(here, 'record_steps.py'), '-ex',
    `python record(${JSON.stringify(records)}, "${front ? '--front' : ''}")`, program],
  { cwd: folder, stdio: 'ignore' });
  const lines = readFileSync(records, 'utf8').trim().split('\n').map((line) => JSON.parse(line));
  const page = execFileSync(process.env.WORDLIST_GRAPH, ['--html', `${records}.out`],
    { maxBuffer: 1 << 28 }).toString();
  const json = page.match(/<script type="application\/json" id="listing">(.*?)<\/script>/s)[1];
  const file = join(folder, `${text.length}${front ? '-front' : ''}.html`);
  writeFileSync(file, page);
  return {
    nextOffset: lines[0].nextOffset, stops: lines.slice(1), data: JSON.parse(json), page: file,
  };
}

// The stops of each call the run made, in order: a call begins at the
// first line of list_add_sorted (or list_add_front) or of list_free, with
// no other call active.
function callsOf(stops) {
  const firsts = [map.functions.list_add_sorted.look, map.functions.list_add_front.look,
    map.functions.list_free.check];
  const calls = [];
  for (const stop of stops) {
    if (stop.frames.length === 1 && firsts.includes(stop.frames[0].line)) calls.push([]);
    calls[calls.length - 1].push(stop);
  }
  return calls;
}

// The value gdb must have read for a value of the model's.
function reading(value, run, word) {
  const wide = (big) => big.toString(16).toUpperCase().padStart(16, '0');
  const address = (i) => BigInt(`0x${run.data.addresses.substr(i * run.data.digits, run.data.digits)}`);
  switch (value.kind) {
    case 'null': return wide(0n);
    case 'head': return run.head;
    case 'element': return wide(address(value.index));
    case 'next': return wide(address(value.index) + BigInt(run.nextOffset));
    case 'word': return word;
    default: return value.value;
  }
}

// A value gdb read as the page writes it, in the form the model says.
function written(value, raw, run) {
  const digits = run.data.digits;
  switch (value.kind) {
    case 'null':
    case 'element': return raw.slice(16 - digits);
    case 'head':
    case 'next': return raw === run.head ? '&head'
      : `&${(BigInt(`0x${raw}`) - BigInt(run.nextOffset)).toString(16).toUpperCase()
        .padStart(digits, '0')}->next`;
    case 'word': return `"${pieces(Buffer.from(raw).toString('latin1')).map((p) => p.text).join('')}"`;
    default: return String(raw);
  }
}

// Compares the model's stops of one call with gdb's; returns, for each,
// the line gdb stopped at and the calls as the page must list them (the
// values gdb read, the variables the model shows).
function compare(plan, stops, run, word, call) {
  const models = Array.from({ length: plan.length }, (_, at) => planStop(plan, at + 1));
  assert.deepEqual(models.map((model) => model.frames.map((f) => `${f.name}:${f.line}`).join(' ')),
    stops.map((stop) => stop.frames.map((f) => `${f.function}:${f.line}`).join(' ')),
    `${call}: the calls and lines of each line step`);
  models.forEach((model, at) => {
    const real = stops[at].frames;
    const where = `${call}, line step ${at + 1}`;
    model.frames.forEach((frame, depth) => {
      for (const [name, value] of frame.variables) {
        assert.deepEqual(real[depth].variables[name], reading(value, run, word),
          `${where}: ${frame.name}'s ${name}`);
      }
    });
  });
  return models.map((model, at) => ({
    line: stops[at].frames[stops[at].frames.length - 1].line,
    frames: model.frames.map((frame, depth) => `${frame.name}: ${frame.variables.map(([name, value]) =>
      `${name} = ${written(value, stops[at].frames[depth].variables[name], run)}`).join(', ')}`),
  }));
}

// Checks every line step of the run on `text` (with list_add_front:
// `front`); returns each step as the page must show it.
function checkRun(text, front = false) {
  const run = recorded(text, front);
  const { data } = run;
  assert.equal(data.build, front ? 'front' : 'sorted');
  const size = data.counts.length;
  const replay = makeReplay(data.steps, size, front);
  const calls = callsOf(run.stops);
  assert.equal(calls.length, replay.total + 1, 'one call per addition, then list_free');
  run.head = calls[0][0].frames[0].variables.head;
  const expected = [];
  for (let k = 1; k <= replay.total; k += 1) {
    const code = data.steps[k - 1];
    assert.ok(code >= 0, 'every word is counted');
    const before = listBefore(replay, k);
    const element = code >> 1;
    const counted = code % 2 === 1;
    const word = bytesOf(data.words[element]);
    const plan = additionPlan(map, {
      kind: counted ? 'counted' : 'inserted', before, added: element, wordBytes: word.length, front,
      at: counted ? before.indexOf(element) : replay.position[k] - 1,
    });
    compare(plan, calls[k - 1], run, word, `addition ${k}`).forEach((stop, at) => {
      expected.push({ ...stop, fragment: `step=${k}&line=${at + 1}` });
    });
  }
  const order = Array.from({ length: size }, (_, i) => i);
  compare(freePlan(map, order), calls[replay.total], run, null, 'list_free').forEach((stop, at) => {
    expected.push({ ...stop, fragment: `step=${replay.total}&free=${at + 1}` });
  });
  return { expected, page: run.page };
}

// What the page shows of the line it is paused at.
const shownStop = (page) => page.evaluate(() => ({
  fragment: location.hash.slice(1).replace(/^view=\w+&/, ''),
  line: Number(document.querySelector('#code [aria-current="step"]')?.dataset.line),
  frames: [...document.querySelectorAll('#frames li')].map((item) => item.textContent),
}));

let browser = null;
async function openPage(t, file, fragment) {
  const absent = await browserMissing();
  if (absent && process.env.WORDLIST_BROWSER_REQUIRED) assert.fail(absent);
  if (absent) {
    t.skip(absent);
    return null;
  }
  browser ??= await launch();
  const page = await browser.newPage({ viewport: { width: 1200, height: 800 } });
  const trouble = [];
  page.on('pageerror', (error) => trouble.push(error.message));
  page.on('console', (message) => trouble.push(`${message.type()}: ${message.text()}`));
  await page.goto(`file://${file}#${fragment}`);
  await page.waitForSelector('html[data-ready]');
  t.after(() => assert.deepEqual(trouble, []));
  return page;
}
after(async () => browser?.close());

const worked = Buffer.from('Ahoj, ahoj! Don\'t stop.\r\n');

test('the worked example, stepped with ] in the page, shows each stop as gdb did', async (t) => {
  const { expected, page: file } = checkRun(worked);
  console.log(`worked example: ${expected.length} line steps agree with gdb`);
  const page = await openPage(t, file, 'step=0');
  if (!page) return;
  for (const stop of expected) {
    await page.keyboard.press(']');
    assert.deepEqual(await shownStop(page), stop);
  }
  for (const stop of expected.slice(0, -1).reverse()) {
    await page.keyboard.press('[');
    assert.deepEqual(await shownStop(page), stop);
  }
});

test('list_add_front\'s line steps on the worked example agree with gdb, in the page too', async (t) => {
  const { expected, page: file } = checkRun(worked, true);
  console.log(`worked example, list_add_front: ${expected.length} line steps agree with gdb`);
  const page = await openPage(t, file, expected[0].fragment);
  if (!page) return;
  for (const stop of expected.slice(1)) {
    await page.keyboard.press(']');
    assert.deepEqual(await shownStop(page), stop);
  }
});

test('the sample\'s line steps agree with gdb, and a spread of them opens by link', { skip: process.env.QUICK }, async (t) => {
  const { expected, page: file } = checkRun(readFileSync(process.env.WORDLIST_SAMPLE));
  console.log(`sample: ${expected.length} line steps agree with gdb`);
  const last = expected.length - 1;
  const spread = [0, 1, 2, 57, last - 1, last];
  for (let at = 997; at < last; at += 1999) spread.push(at);
  const page = await openPage(t, file, expected[0].fragment);
  if (!page) return;
  for (const at of spread) {
    await page.evaluate((fragment) => { location.hash = fragment; }, expected[at].fragment);
    await page.waitForFunction((fragment) => location.hash.endsWith(fragment), expected[at].fragment);
    assert.deepEqual(await shownStop(page), expected[at]);
  }
});
