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
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';

import { additionPlan, codeMap, freePlan, planStop } from '../../graph/page/code_steps.js';
import { listBefore, makeReplay } from '../../graph/page/replay.js';
import { bytesOf } from '../../graph/page/words.js';

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
const why = missing();
if (why && process.env.WORDLIST_GDB_REQUIRED) {
  console.log(`FAILED: ${why}`);
  process.exit(1);
} else if (why) {
  console.log(`SKIPPED: ${why}`);
  process.exit(77);
}

const folder = mkdtempSync(join(tmpdir(), 'wordlist-gdb-'));
process.on('exit', () => rmSync(folder, { recursive: true, force: true }));

// Runs the debug tracer on `text` under gdb: the stops it recorded, the
// offset of `next` in an element, and the page data of the trace it wrote.
function recorded(text) {
  writeFileSync(join(folder, 'neco.txt'), text);
  const records = join(folder, 'stops.jsonl');
  execFileSync('gdb', ['-q', '-batch', '-x', join(here, 'record_steps.py'),
    '-ex', `python record(${JSON.stringify(records)})`, program], { cwd: folder, stdio: 'ignore' });
  const lines = readFileSync(records, 'utf8').trim().split('\n').map((line) => JSON.parse(line));
  const page = execFileSync(process.env.WORDLIST_GRAPH, ['--html', `${records}.out`],
    { maxBuffer: 1 << 28 }).toString();
  const json = page.match(/<script type="application\/json" id="listing">(.*?)<\/script>/s)[1];
  return { nextOffset: lines[0].nextOffset, stops: lines.slice(1), data: JSON.parse(json) };
}

// The stops of each call the run made, in order: a call begins at the
// first line of list_add_sorted or of list_free, with no other call active.
function callsOf(stops) {
  const firsts = [map.functions.list_add_sorted.look, map.functions.list_free.check];
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

// Compares the model's stops of one call with gdb's; returns how many.
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
  return plan.length;
}

// Checks every line step of the run on `text`; returns how many.
function checkRun(text) {
  const run = recorded(text);
  const { data } = run;
  const size = data.counts.length;
  const replay = makeReplay(data.steps, size);
  const calls = callsOf(run.stops);
  assert.equal(calls.length, replay.total + 1, 'one call per addition, then list_free');
  run.head = calls[0][0].frames[0].variables.head;
  let checked = 0;
  for (let k = 1; k <= replay.total; k += 1) {
    const code = data.steps[k - 1];
    assert.ok(code >= 0, 'every word is counted');
    const before = listBefore(replay, k);
    const element = code >> 1;
    const counted = code % 2 === 1;
    const word = bytesOf(data.words[element]);
    const plan = additionPlan(map, {
      kind: counted ? 'counted' : 'inserted', before, added: element, wordBytes: word.length,
      at: counted ? before.indexOf(element) : replay.position[k] - 1,
    });
    checked += compare(plan, calls[k - 1], run, word, `addition ${k}`);
  }
  const order = Array.from({ length: size }, (_, i) => i);
  checked += compare(freePlan(map, order), calls[replay.total], run, null, 'list_free');
  return checked;
}

test('every line step of the worked example is the debugger\'s', () => {
  const checked = checkRun(Buffer.from('Ahoj, ahoj! Don\'t stop.\r\n'));
  console.log(`worked example: ${checked} line steps agree with gdb`);
});

test('every line step of the sample is the debugger\'s', { skip: process.env.QUICK }, () => {
  const checked = checkRun(readFileSync(process.env.WORDLIST_SAMPLE));
  console.log(`sample: ${checked} line steps agree with gdb`);
});
