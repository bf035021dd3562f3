// A run as the page shows it, opened once from the page's data: a
// listing, or a trace's additions replayed, with what follows from it
// (the order of address, the replay, the list's code) worked out at load.
import {
  additionPlan, freePlan, phaseOf, planStop,
} from './code_steps.js';
import { decodeStep, listBefore, makeReplay } from './replay.js';
import { bytesOf } from './words.js';

// `data` is one run of the page's data; `code` the map of the list's
// source (codeMap), which only a replay uses.
export function openRun(data, code = null) {
  const size = data.counts.length;
  const memoryRank = new Int32Array(size);
  data.byAddress.forEach((element, rank) => { memoryRank[element] = rank; });
  const front = data.build === 'front';
  return {
    data, size, front, memoryRank,
    name: data.build ?? '',
    digits: data.digits,
    nullAddress: '0'.repeat(data.digits),
    replay: data.steps ? makeReplay(data.steps, size, front) : null,
    code: data.steps ? code : null,
    plans: new Map(),
  };
}

export const addressOf = (run, i) => run.data.addresses.substr(i * run.digits, run.digits);

// Addition k (1-based): its kind ('inserted', 'counted', 'uncounted'),
// its element (-1 for a word not counted) and its word.
export function additionOf(run, k) {
  const { kind, element, uncounted } = decodeStep(run.replay.steps[k - 1]);
  const word = element >= 0 ? run.data.words[element] : run.data.uncounted[uncounted];
  return { kind, element, word };
}

// How many occurrences of element i had been counted after addition
// `step` (in a listing: its count).
export function countAt(run, i, step) {
  if (!run.replay) return run.data.counts[i];
  const list = run.replay.occurrences[i];
  let low = 0;
  let high = list.length;
  while (low < high) {
    const middle = (low + high) >> 1;
    if (list[middle] <= step) low = middle + 1;
    else high = middle;
  }
  return low;
}

// The last few plans made, by key, so that stepping line by line does not
// make its addition's plan again at every line.
function remembered(run, key, make) {
  let plan = run.plans.get(key);
  if (plan === undefined) {
    plan = make();
    if (run.plans.size >= 8) run.plans.delete(run.plans.keys().next().value);
    run.plans.set(key, plan);
  }
  return plan;
}

// The line steps of addition k, null for a word not counted (whose steps
// the trace cannot tell) or a page without the list's code.
export function planOf(run, k) {
  if (!run.code || k < 1 || k > run.replay.total) return null;
  return remembered(run, k, () => {
    const { kind, element } = additionOf(run, k);
    if (kind === 'uncounted') return null;
    const before = listBefore(run.replay, k);
    return additionPlan(run.code, {
      kind, before, added: element, front: run.front,
      at: kind === 'counted' ? before.indexOf(element) : run.replay.position[k] - 1,
      wordBytes: bytesOf(run.data.words[element]).length,
    });
  });
}

// The line steps of list_free, after the last addition.
export function freePlanOf(run) {
  if (!run.code) return null;
  return remembered(run, 'free', () => freePlan(run.code,
    Array.from({ length: run.size }, (_, i) => i)));
}

export const planLength = (run, k) => planOf(run, k)?.length ?? 0;
export const freeLength = (run) => freePlanOf(run)?.length ?? 0;

// The plan a position is paused in, or null between additions.
export function planAt(run, { step, line, free }) {
  if (free > 0) return freePlanOf(run);
  return line > 0 ? planOf(run, step) : null;
}

// The stop of the list's code a position is paused at, or null.
export function stopAt(run, position) {
  const plan = planAt(run, position);
  return plan ? planStop(plan, position.free || position.line) : null;
}

// Where run `other` goes when the page switches to it from `run` at
// `position`: the same addition, and paused in the code, the start of
// the same phase (or, with no such phase, the line step as far through
// it), unless `kept`, where `other` was left, is in that phase of that
// addition: then there again.
export function sameLine(run, other, position, kept = null) {
  const { step: k, line, free } = position;
  if (free > 0) return { line: 0, free: Math.min(free, freeLength(other)) };
  const plan = planOf(other, k);
  if (line === 0 || !plan) return { line: 0, free: 0 };
  const phase = phaseOf(planOf(run, k), stopAt(run, position));
  const phaseAt = (n) => phaseOf(plan, planStop(plan, n));
  if (kept?.step === k && kept.line > 0 && kept.free === 0 && phaseAt(kept.line) === phase) {
    return { line: kept.line, free: 0 };
  }
  for (let n = 1; n <= plan.length; n += 1) {
    if (phaseAt(n) === phase) return { line: n, free: 0 };
  }
  return { line: Math.max(1, Math.round((line / planLength(run, k)) * plan.length)), free: 0 };
}

// What the page's state becomes when a page of two runs switches from
// the run shown to the other at `position`: the same step, and in the
// code the line sameLine finds. Each run keeps its own selection, by
// word; a run not yet shown takes the word selected in the other.
export function switchedRun(runs, state, position) {
  const [from, to] = [runs[state.run], runs[1 - state.run]];
  const word = state.selected >= 0 ? from.data.words[state.selected] : null;
  const selections = state.selections.map((kept, r) => (r === state.run ? word : kept));
  const wanted = selections[1 - state.run] ?? word;
  const selected = wanted === null ? -1 : to.data.words.indexOf(wanted);
  const left = state.left.map((kept, r) => (r === state.run ? position : kept));
  return {
    run: 1 - state.run, selections, left, selected, ...sameLine(from, to, position, left[1 - state.run]),
  };
}
