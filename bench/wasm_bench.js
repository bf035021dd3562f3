// Times the WebAssembly module counting Genesis (Debian's bible-kjv)
// against native wordlist on the same text: the median of several runs
// each, and their ratio.
//   node bench/wasm_bench.js [MODULE] [NATIVE_BUILD] [RUNS]
// defaults: build/wasm/wordlist.wasm, build/release, 9. The module's time
// is one whole run as a page's Worker makes it (a new instance, the text
// copied in, counted in chunks, the listing written); the native one is
// the program's run from start to exit, reading neco.txt.
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { performance } from 'node:perf_hooks';

import { compileModule, countText, runText } from '../wasm/module_loader.js';

const [modulePath = 'build/wasm/wordlist.wasm', nativeDir = 'build/release', runsText = '9'] =
  process.argv.slice(2);
const runs = Number(runsText);

function genesis() {
  const text = execFileSync('/usr/bin/bible', ['gen1:1-gen50:26'], { maxBuffer: 1 << 26 });
  return Buffer.from(text.toString('latin1').replace(/^Genesis \d+\n/gm, '')
    .replace(/^ *\d+ /gm, ''), 'latin1');
}

async function median(measure) {
  const times = [];
  for (let i = 0; i < runs; i++) {
    const start = performance.now();
    await measure();
    times.push(performance.now() - start);
  }
  times.sort((a, b) => a - b);
  return times[Math.floor(times.length / 2)];
}

if (!existsSync('/usr/bin/bible')) {
  console.log('SKIPPED: /usr/bin/bible is missing (apt-get install bible-kjv)');
  process.exit(0);
}
const text = genesis();
const module = await compileModule(readFileSync(modulePath));
const dir = mkdtempSync(join(tmpdir(), 'wordlist-bench-'));
writeFileSync(join(dir, 'neco.txt'), text);
const program = resolve(nativeDir, 'wordlist');
const trace = resolve(nativeDir, 'wordlist-trace');
const runNative = (path, args = []) => {
  const run = spawnSync(path, args, { cwd: dir, maxBuffer: 1 << 28 });
  if (run.status !== 0) throw new Error(`${path} ended with status ${run.status}`);
};
const check = async (run) => {
  const result = await runText(module, text, { run });
  if (result.status !== 0) throw new Error(`the module's ${run} run ended with status ${result.status}`);
};

const rows = [
  ['listing', () => runNative(program), () => check('listing')],
  ['trace', () => runNative(trace), () => check('sorted')],
  ['trace --front', () => runNative(trace, ['--front']), () => check('front')],
];
console.log(`Genesis: ${text.length} bytes; median of ${runs} runs each`);
for (const [name, nativeRun, moduleRun] of rows) {
  const nativeMs = await median(nativeRun);
  const moduleMs = await median(moduleRun);
  console.log(`${name.padEnd(14)} native ${nativeMs.toFixed(1).padStart(7)} ms   module ${
    moduleMs.toFixed(1).padStart(7)} ms   ratio ${(moduleMs / nativeMs).toFixed(2)}`);
}
const allMs = await median(() => countText(module, text));
console.log(`all a page needs (listing, both traces, page data): ${allMs.toFixed(1)} ms`);
rmSync(dir, { recursive: true, force: true });
