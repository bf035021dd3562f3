// Positions in a run, and the list as it stands at each. A position is
// { step, line, free }: after addition `step` (0: none yet) with `line`
// and `free` 0; paused before line step `line` of addition `step`; or,
// after the last addition, before line step `free` of list_free. The
// list at a position is worked out from the run and the position alone,
// so that a position reached by steps and one opened by a link are the
// same.
import { freedAt, lookedAt } from './code_steps.js';
import { additionOf, freeLength, planAt, planLength } from './run.js';

// What an element is at a position: 0 when it is not allocated yet, or
export const LINKED = 1; // in the list
export const MADE = 2; // allocated by new_node, not linked yet
export const UNLINKED = 3; // taken off the head by list_free, not released yet
export const RELEASED = 4; // released by list_free

// The whole listing of a run without additions, made once.
function wholeList(run) {
  run.whole ??= linkedList(run, Int32Array.from({ length: run.size }, (_, i) => i),
    { before: [], looked: [0, 0], walked: new Uint8Array(run.size), countStep: 0, outside: -1, word: 'copied' },
    new Uint8Array(run.size), new Int32Array(run.size).fill(-1));
  return run.whole;
}

// The list at `position`: `order`, its elements in list order; `rank[i]`,
// where element i stands in it (-1: not in it); `status[i]`, one of the
// above; `next[i]`, the element its NEXT points to (-1: null, or past the
// drawn elements); `outside`, the element that is allocated but not in
// the list (-1: none), with `word` what its word pointer holds ('null',
// 'unset': allocated, not copied yet, 'copied', or 'released' by
// list_free); `countStep`, the addition up to which counts are raised
// (the element new_node makes has count 0 until its count is set);
// `before`, the list the position's addition walked, `looked`, how many
// elements each walk has looked at so far, and `walked[i]`: 1 if the
// first walk has looked at element i, 2 the second, 3 both.
export function listAt(run, position) {
  const { size, replay } = run;
  if (!replay) return wholeList(run);
  const k = position.step;
  let order = [];
  for (let i = 0; i < size; i += 1) {
    if (replay.inserted[i] <= k) order.push(i);
  }
  const list = {
    before: [], looked: [0, 0], walked: new Uint8Array(size), countStep: k, outside: -1, word: 'copied',
  };
  const status = new Uint8Array(size);
  const next = new Int32Array(size).fill(-1);
  const addition = k > 0 ? additionOf(run, k) : null;
  const plan = planAt(run, position);
  if (addition?.element >= 0) {
    // The walks go through the list as it was before this addition.
    list.before = addition.kind === 'inserted' ? order.filter((i) => i !== addition.element) : order;
    list.looked = plan && plan.kind !== 'free' ? lookedAt(plan, position.line) : [replay.first[k], replay.second[k]];
    list.looked.forEach((count, walk) => {
      for (let p = 0; p < count; p += 1) list.walked[list.before[p]] |= walk + 1;
    });
  }
  if (plan?.kind === 'free') {
    order = freeing(plan, position.free, order, list, status, next);
  } else if (plan?.kind === 'inserted' && position.line < plan.linkedFrom) {
    order = list.before;
    making(plan, position.line, addition.element, list, status);
    // `node->next = *slot` has run a line before `*slot = node`.
    const after = replay.position[k] - 1;
    if (position.line >= plan.linkedFrom - 1 && after < order.length) next[addition.element] = order[after];
  } else if (plan?.kind === 'counted' && position.line < plan.changedFrom) {
    list.countStep = k - 1;
  }
  return linkedList(run, Int32Array.from(order), list, status, next);
}

// The element new_node makes, as the heap holds it at line step `line`:
// zeroed once allocated, then its word allocated, copied, and its count
// set.
function making(plan, line, element, list, status) {
  if (line < plan.countedFrom) list.countStep -= 1;
  if (line < plan.madeFrom) return;
  list.outside = element;
  status[element] = MADE;
  if (line < plan.wordFrom) list.word = 'null';
  else if (line < plan.copiedFrom) list.word = 'unset';
}

// list_free at line step `free`: the elements released, the one taken
// off the head and not released yet, and the list left.
function freeing(plan, free, order, list, status, next) {
  const { unlinked, wordsReleased, released } = freedAt(plan, free);
  for (let p = 0; p < released; p += 1) status[order[p]] = RELEASED;
  if (unlinked > released) {
    const taken = order[unlinked - 1];
    list.outside = taken;
    if (wordsReleased > released) list.word = 'released';
    status[taken] = UNLINKED;
    next[taken] = unlinked < order.length ? order[unlinked] : -1;
  }
  list.walked.fill(0);
  list.looked = [0, 0];
  return order.slice(unlinked);
}

function linkedList(run, order, list, status, next) {
  const rank = new Int32Array(run.size).fill(-1);
  order.forEach((i, p) => {
    rank[i] = p;
    status[i] = LINKED;
    next[i] = p + 1 < order.length ? order[p + 1] : -1;
  });
  return { ...list, order, rank, status, next };
}

// Element i's NEXT as the listing writes addresses: the element it points
// to, null, or (for the last element drawn of a listing cut short) the
// listing's own.
export function nextAddress(run, list, i, address) {
  if (list.next[i] >= 0) return address(list.next[i]);
  const last = list.status[i] === LINKED && list.rank[i] === list.order.length - 1;
  return last && !run.replay ? run.data.tail : run.nullAddress;
}

// The elements there are boxes for: those in the list, and the one
// allocated outside it.
export const present = (list, i) => list.status[i] === LINKED || i === list.outside;

// The position after addition k, k kept within the run.
export const afterStep = (run, k) => ({ step: Math.max(0, Math.min(run.replay.total, k)), line: 0, free: 0 });

// One line step forward (+1) or back (-1) from `position`: within an
// addition, from its last line step to the next addition's first (passing
// over words not counted, whose line steps the trace cannot tell), and
// after the last addition through list_free. A run without the list's
// code has no line steps: the position stays.
export function lineStep(run, position, delta) {
  if (freeLength(run) === 0) return position;
  const total = run.replay.total;
  const { line, free } = position;
  let k = position.step;
  if (delta > 0) {
    if (free > 0) return { step: k, line: 0, free: Math.min(free + 1, freeLength(run)) };
    if (line > 0 && line < planLength(run, k)) return { step: k, line: line + 1, free: 0 };
    do k += 1; while (k <= total && planLength(run, k) === 0);
    return k <= total ? { step: k, line: 1, free: 0 } : { step: total, line: 0, free: 1 };
  }
  if (free > 1) return { step: k, line: 0, free: free - 1 };
  if (line > 1) return { step: k, line: line - 1, free: 0 };
  if (free === 0 && line === 1) k -= 1;
  while (k >= 1 && planLength(run, k) === 0) k -= 1;
  return k >= 1 ? { step: k, line: planLength(run, k), free: 0 } : { step: 0, line: 0, free: 0 };
}

// `count` line steps forward from `position`, or as many as there are:
// { position, ended }, `ended` once the run's last line step is reached.
export function lineSteps(run, position, count) {
  let at = position;
  for (let n = 0; n < count; n += 1) {
    const next = lineStep(run, at, 1);
    if (samePosition(next, at)) return { position: at, ended: true };
    at = next;
  }
  return { position: at, ended: false };
}

// How far the run has gone at `position`, in additions: k after addition
// k, and inside it k - 1 and the share of its line steps already run.
export function progressAt(run, { step, line, free }) {
  if (free > 0 || line === 0) return step;
  return step - 1 + (line - 1) / planLength(run, step);
}

// Whether two positions are the same.
export const samePosition = (a, b) => a.step === b.step && a.line === b.line && a.free === b.free;
