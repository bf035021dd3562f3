// The programs that make the page's data, for the Node tests of the
// page's models: those WORDLIST_TRACE and WORDLIST_GRAPH name, as CTest
// does, or else the release preset's build, the tests skipped where it
// has not been made.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import {
  existsSync, mkdtempSync, rmSync, writeFileSync,
} from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

const built = (name) => fileURLToPath(new URL(`../../build/release/${name}`, import.meta.url));
const traceProgram = process.env.WORDLIST_TRACE || built('wordlist-trace');
const graphProgram = process.env.WORDLIST_GRAPH || built('wordlist-graph');
const unbuilt = process.env.WORDLIST_TRACE ? undefined
  : [traceProgram, graphProgram].find((program) => !existsSync(program));
export const skip = unbuilt && `${unbuilt} is not built (cmake --build --preset release)`;
const folder = mkdtempSync(join(tmpdir(), 'wordlist-programs-'));
process.on('exit', () => rmSync(folder, { recursive: true, force: true }));

// wordlist-trace's trace of `text` (a string or bytes; with
// list_add_front: `front`), with a "not counted" line for each [k, word]
// of `uncounted` put in after the k-th addition, as a run that ran out of
// memory there writes; and the page's data that wordlist-graph --html
// writes for it. The trace as its lines, each byte one character.
export function madeOf(text, { front = false, uncounted = [] } = {}) {
  writeFileSync(join(folder, 'neco.txt'), text);
  const lines = execFileSync(traceProgram, front ? ['--front'] : [], { cwd: folder }).toString('latin1').split('\n');
  for (const [k, word] of [...uncounted].sort(([a], [b]) => b - a)) {
    lines.splice(k + 1, 0, `not counted WORD: ${Buffer.from(word).toString('latin1')}`);
  }
  const trace = join(folder, 'run.trace');
  writeFileSync(trace, lines.join('\n'), 'latin1');
  const page = execFileSync(graphProgram, ['--html', trace], { maxBuffer: 1 << 28 }).toString();
  const data = JSON.parse(/<script type="application\/json" id="listing">(.*?)<\/script>/s.exec(page)[1]);
  assert.equal(data.steps.filter((code) => code < 0).length, uncounted.length, 'every "not counted" line read');
  return { data, trace: lines };
}
