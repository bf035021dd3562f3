// The page's model of the list's code, checked against the debugger: a
// -O0 -g build of wordlist-trace runs under gdb, which steps through every
// addition and the final list_free line by line and records each stop's
// calls, lines and variables, and the heap: the list from head and the
// element a call's `node` holds outside it. The page's model, given the
// trace that very run wrote, must stop at the same lines in the same
// calls, every variable it shows must hold what gdb read, and the list it
// shows at every line step must be gdb's, element by element. Needs
// WORDLIST_TRACE_DEBUG, WORDLIST_GRAPH and WORDLIST_SAMPLE.
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { after, test } from 'node:test';
import { fileURLToPath } from 'node:url';

import { codeMap, planStop } from '../../graph/page/code_steps.js';
import { listAt } from '../../graph/page/position.js';
import {
  addressOf, additionOf, countAt, freePlanOf, openRun, planOf,
} from '../../graph/page/run.js';
import { cString } from '../../graph/page/texts.js';
import { bytesOf, wordText } from '../../graph/page/words.js';
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
    case 'word': return cString(run.word);
    default: return String(raw);
  }
}

const wide = (hex) => hex.padStart(16, '0');

// Element i as the model has it in `list`, as gdb reads an element.
function modelled(model, list, i) {
  const next = list.next[i] >= 0 ? addressOf(model, list.next[i]) : model.nullAddress;
  return { address: wide(addressOf(model, i)), next: wide(next),
    count: countAt(model, i, list.countStep), word: bytesOf(model.data.words[i]) };
}

// The list the model shows at a position must be the one gdb walked from
// head, and the element it has outside the list one that a call's `node`
// held, with the same fields.
function compareHeap(model, list, heap, where) {
  assert.deepEqual(Array.from(list.order, (i) => modelled(model, list, i)), heap.list,
    `${where}: the list from head`);
  if (list.outside < 0) return;
  const outside = modelled(model, list, list.outside);
  const held = { ...heap.outside.find((element) => element.address === outside.address) };
  // new_node's element from its allocation: zeroed, so its word null
  // until its word is allocated. A word allocated and not copied yet, or
  // released by list_free, is no bytes of the program's to compare.
  if (list.word === 'null') outside.word = null;
  if (list.word === 'unset' || list.word === 'released') [outside.word, held.word] = [null, null];
  assert.deepEqual(held, outside, `${where}: the element outside the list`);
}

// Compares the model's stops of one call with gdb's, and the list at each;
// returns, for each, the line gdb stopped at, the calls as the page must
// list them (the values gdb read, the variables the model shows), and the
// heap gdb read. `positionOf(L)` is line step L's position.
function compare(plan, stops, run, word, call, positionOf) {
  const models = Array.from({ length: plan.length }, (_, at) => planStop(plan, at + 1));
  assert.deepEqual(models.map((model) => model.frames.map((f) => `${f.name}:${f.line}`).join(' ')),
    stops.map((stop) => stop.frames.map((f) => `${f.function}:${f.line}`).join(' ')),
    `${call}: the calls and lines of each line step`);
  const lists = [];
  models.forEach((model, at) => {
    const real = stops[at].frames;
    const where = `${call}, line step ${at + 1}`;
    lists[at] = listAt(run.model, positionOf(at + 1));
    compareHeap(run.model, lists[at], stops[at].heap, where);
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
    heap: stops[at].heap,
    outside: lists[at].outside,
    word: lists[at].word,
  }));
}

// Checks every line step of the run on `text` (with list_add_front:
// `front`) with the page's own model; returns each step as the page must
// show it.
function checkRun(text, front = false) {
  const run = recorded(text, front);
  const { data } = run;
  assert.equal(data.build, front ? 'front' : 'sorted');
  run.model = openRun(data, map);
  const { total } = run.model.replay;
  const calls = callsOf(run.stops);
  assert.equal(calls.length, total + 1, 'one call per addition, then list_free');
  run.head = calls[0][0].frames[0].variables.head;
  const expected = [];
  for (let k = 1; k <= total; k += 1) {
    const { kind, word } = additionOf(run.model, k);
    assert.notEqual(kind, 'uncounted', 'every word is counted');
    run.word = word;
    const stops = compare(planOf(run.model, k), calls[k - 1], run, bytesOf(word), `addition ${k}`,
      (line) => ({ step: k, line, free: 0 }));
    stops.forEach((stop, at) => expected.push({ ...stop, fragment: `step=${k}&line=${at + 1}` }));
  }
  const stops = compare(freePlanOf(run.model), calls[total], run, null, 'list_free',
    (free) => ({ step: total, line: 0, free }));
  stops.forEach((stop, at) => expected.push({ ...stop, fragment: `step=${total}&free=${at + 1}` }));
  return { expected, page: run.page, model: run.model };
}

// What the page shows of the line it is paused at.
const shownStop = (page) => page.evaluate(() => ({
  // The position only: the view and its zoom follow the pointers.
  fragment: location.hash.slice(1).replace(/^view=\w+&/, '').replace(/^zoom=[\d.]+&/, ''),
  line: Number(document.querySelector('#code [aria-current="step"]')?.dataset.line),
  frames: [...document.querySelectorAll('#frames li')].map((item) => item.textContent),
}));
const asShown = ({ fragment, line, frames }) => ({ fragment, line, frames });

// The details line of an element gdb read, written with `lead` (without
// its word where list_free has released it).
function detailsOf(model, held, lead, withWord = true) {
  const short = (hex) => hex.slice(16 - model.digits);
  const i = model.data.addresses.indexOf(short(held.address)) / model.digits;
  const fields = `${lead}ADR: ${short(held.address)} NEXT: ${short(held.next)} COUNT: ${held.count}`;
  return withWord ? `${fields} WORD: ${wordText(model.data.words[i])}` : fields;
}

let opened = 0;

// Opens the page cold at a stop, with the element outside the list
// selected when there is one: it must show the stop's line and calls, that
// element's fields as gdb read them, and from Home, following NEXT with →,
// every element of gdb's list in turn.
async function checkOpenedCold(page, file, model, stop) {
  const select = stop.outside >= 0 ? `&select=${stop.outside + 1}` : '';
  const where = stop.fragment;
  opened += 1;
  // A query of its own makes each a new document, not a hashchange.
  await page.goto(`file://${file}?${opened}#${stop.fragment}${select}`);
  await page.waitForSelector('html[data-ready]');
  const shown = await shownStop(page);
  assert.deepEqual({ line: shown.line, frames: shown.frames }, { line: stop.line, frames: stop.frames }, where);
  const seen = await page.evaluate((count) => {
    const details = () => document.getElementById('details').textContent;
    const press = (key) => document.dispatchEvent(new KeyboardEvent('keydown', { key, bubbles: true }));
    const lines = [details()];
    press('Home');
    for (let p = 0; p < count; p += 1) {
      lines.push(details());
      press('ArrowRight');
    }
    return lines;
  }, stop.heap.list.length);
  if (stop.outside >= 0) {
    const address = wide(addressOf(model, stop.outside));
    const held = stop.heap.outside.find((element) => element.address === address);
    const lead = !stop.fragment.includes('free=') ? 'not linked yet: '
      : stop.word === 'released' ? 'unlinked, its word released: ' : 'unlinked, not yet released: ';
    const word = { null: ' WORD: null', unset: ' WORD: (allocated, not copied yet)', released: '' }[stop.word];
    const details = detailsOf(model, held, lead, word === undefined);
    assert.equal(seen[0], details + (word ?? ''), `${where}: the element outside the list`);
  }
  assert.deepEqual(seen.slice(1), stop.heap.list.map((held, p) => detailsOf(model, held, `${p + 1} `)),
    `${where}: the list from Home`);
}

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

test('the worked example, stepped with ] in the page and opened cold at every line, shows what gdb saw', async (t) => {
  const { expected, page: file, model } = checkRun(worked);
  console.log(`worked example: ${expected.length} line steps agree with gdb`);
  const page = await openPage(t, file, 'step=0');
  if (!page) return;
  for (const stop of expected) {
    await page.keyboard.press(']');
    assert.deepEqual(await shownStop(page), asShown(stop));
  }
  for (const stop of expected.slice(0, -1).reverse()) {
    await page.keyboard.press('[');
    assert.deepEqual(await shownStop(page), asShown(stop));
  }
  for (const stop of expected) await checkOpenedCold(page, file, model, stop);
});

test('list_add_front\'s line steps on the worked example agree with gdb, in the page too', async (t) => {
  const { expected, page: file } = checkRun(worked, true);
  console.log(`worked example, list_add_front: ${expected.length} line steps agree with gdb`);
  const page = await openPage(t, file, expected[0].fragment);
  if (!page) return;
  for (const stop of expected.slice(1)) {
    await page.keyboard.press(']');
    assert.deepEqual(await shownStop(page), asShown(stop));
  }
});

test('the sample\'s line steps agree with gdb, and 80 of them opened cold show gdb\'s list', { skip: process.env.QUICK }, async (t) => {
  const { expected, page: file, model } = checkRun(readFileSync(process.env.WORDLIST_SAMPLE));
  console.log(`sample: ${expected.length} line steps agree with gdb`);
  const page = await openPage(t, file, expected[0].fragment);
  if (!page) return;
  // The same 80 every run: the first, the last, and 78 spread by a fixed
  // pseudo-random sequence.
  const spread = [0, expected.length - 1];
  for (let seed = 7; spread.length < 80;) {
    seed = (seed * 48271) % 2147483647;
    spread.push(seed % expected.length);
  }
  for (const at of spread) await checkOpenedCold(page, file, model, expected[at]);
});
