// Runs wordlist's WebAssembly module (wordlist.wasm, built from
// wasm/module.cpp, whose header documents its entry points) in a page, a
// Worker or Node: plain JavaScript, no DOM, no request. The caller brings
// the module's bytes and the text's bytes; every run gets an instance of
// its own, so the same text gives the same addresses every time.
//
//   const module = await compileModule(bytes);
//   const { status, out, err } = await runText(module, text, { run: 'listing' });
//
// `out` is what the program would write on standard output, as bytes
// (words are bytes, not necessarily UTF-8); `err` its standard error, as
// text; `status` its exit status.

const RUNS = { listing: 0, sorted: 1, front: 2 };
const ERRNO_BADF = 8;
const ERRNO_NOSPC = 51;
const ERRNO_NOSYS = 52;

export function compileModule(bytes) {
  return WebAssembly.compile(bytes);
}

// The bytes written to one descriptor.
class Sink {
  constructor() {
    this.chunks = [];
    this.size = 0;
  }

  push(bytes) {
    this.chunks.push(bytes);
    this.size += bytes.length;
  }

  bytes() {
    const all = new Uint8Array(this.size);
    let at = 0;
    for (const chunk of this.chunks) {
      all.set(chunk, at);
      at += chunk.length;
    }
    return all;
  }
}

// A new instance whose writes to descriptors 1 and 2 are collected. Of
// WASI it needs fd_write; the rest of what the C library links are stubs.
// With `outputFull`, descriptor 1 refuses every write as a full disk
// does, for the tests of the programs' write errors.
function instantiate(module, { outputFull = false } = {}) {
  const sinks = { 1: new Sink(), 2: new Sink() };
  let memory = null;
  const wasi = {
    fd_write(fd, iovs, count, written) {
      const sink = sinks[fd];
      if (sink === undefined) return ERRNO_BADF;
      if (fd === 1 && outputFull) return ERRNO_NOSPC;
      const view = new DataView(memory.buffer);
      let total = 0;
      for (let i = 0; i < count; i++) {
        const base = view.getUint32(iovs + 8 * i, true);
        const length = view.getUint32(iovs + 8 * i + 4, true);
        sink.push(new Uint8Array(memory.buffer, base, length).slice());
        total += length;
      }
      view.setUint32(written, total, true);
      return 0;
    },
    fd_close: () => ERRNO_BADF,
    fd_seek: () => ERRNO_NOSYS,
    fd_fdstat_get: () => ERRNO_NOSYS,
  };
  const instance = new WebAssembly.Instance(module, { wasi_snapshot_preview1: wasi });
  memory = instance.exports.memory;
  instance.exports._initialize();
  return { exports: instance.exports, memory, sinks };
}

// Copies `bytes` into new room in the instance's memory; 0 when it has none.
function place({ exports, memory }, bytes) {
  const at = exports.wordlist_alloc(bytes.length) >>> 0;
  if (at !== 0) new Uint8Array(memory.buffer, at, bytes.length).set(bytes);
  return at;
}

function outcome(status, sinks, extra = {}) {
  return {
    status,
    out: sinks[1].bytes(),
    err: new TextDecoder().decode(sinks[2].bytes()),
    ...extra,
  };
}

// Lets the host's events (a cancel message to a Worker) run.
function yieldToEvents() {
  return new Promise((resolve) => setTimeout(resolve, 0));
}

// Makes one run on `text` (a Uint8Array): 'listing' as wordlist makes it,
// 'sorted' as wordlist-trace, 'front' as wordlist-trace --front. Counts
// `chunk` bytes at a time, calling onProgress(share counted, 0 to 1) after
// each; with an AbortSignal, lets events run between chunks and stops when
// it is aborted, resolving to { cancelled: true }. `outputFull` is
// instantiate's.
export async function runText(module, text, { run = 'listing', chunk = 1 << 16, onProgress, signal, outputFull } = {}) {
  if (!(run in RUNS)) throw new RangeError(`unknown run '${run}'`);
  const instance = instantiate(module, { outputFull });
  const { exports, sinks } = instance;
  const at = place(instance, text);
  if (at === 0) return outcome(1, sinks); // as wordlist: nothing written
  const length = exports.wordlist_start(at, text.length, RUNS[run]);
  if (length < 0) throw new Error('wordlist module: the run could not be started');
  for (let counted = 0; counted < length;) {
    counted = exports.wordlist_count(chunk) >>> 0;
    if (onProgress) onProgress(counted / length);
    if (signal) {
      await yieldToEvents();
      if (signal.aborted) return { cancelled: true };
    }
  }
  if (onProgress && length === 0) onProgress(1);
  return outcome(exports.wordlist_finish(), sinks);
}

// The data of the page that replays the two runs, from their traces (as
// runText's `out`): checked by replaying them, as wordlist-graph does.
// `out` is the JSON object, as bytes; a status other than 0 comes with
// the reason in `err` and nothing in `out`. `outputFull` is
// instantiate's.
export function pageData(module, sortedTrace, frontTrace, { outputFull } = {}) {
  const instance = instantiate(module, { outputFull });
  const sorted = place(instance, sortedTrace);
  const front = place(instance, frontTrace);
  const status = instance.exports.wordlist_page_data(sorted, sortedTrace.length, front, frontTrace.length);
  return outcome(status, instance.sinks);
}

// Everything a page shows for `text`: the listing, the two traces and the
// page's data, with onProgress over the three runs together. Resolves to
// { cancelled: true } when the signal stops it, else to { status, err,
// listing, sorted, front, data }, the first failing step's status and
// message, or 0 and the four results.
export async function countText(module, text, { chunk, onProgress, signal } = {}) {
  const results = {};
  const runs = ['listing', 'sorted', 'front'];
  for (const [index, run] of runs.entries()) {
    const progress = onProgress && ((share) => onProgress((index + share) / runs.length));
    const result = await runText(module, text, { run, chunk, onProgress: progress, signal });
    if (result.cancelled) return result;
    if (result.status !== 0) return { status: result.status, err: result.err, ...results, [run]: result.out };
    results[run] = result.out;
  }
  const data = pageData(module, results.sorted, results.front);
  return { status: data.status, err: data.err, ...results, data: data.out };
}
