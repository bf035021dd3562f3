// The questions of Your turn: before which line steps of an addition the
// learner is asked what the line will do, and the right answers. All of
// it is read from the addition's plan: the stops its segments name, and
// the variables the model gives those stops, which tests/gdb holds to
// what gdb reads of the real heap.
import { stopNamed } from './code_steps.js';
import { afterStep, lineStep, samePosition } from './position.js';
import { addressOf, planOf } from './run.js';

// An answer is an element of the list ({ kind: 'element', index }), or
// one of these. Which element an answer names, the question says: the
// one that holds the word, the one it goes after, the one NEXT will
// point at, or the one whose NEXT is the pointer.
export const NOT_IN_LIST = { kind: 'absent' };
export const AT_HEAD = { kind: 'head' };
export const NULL_ANSWER = { kind: 'null' };
export const elementAnswer = (index) => ({ kind: 'element', index });
const OTHER_ANSWER = { absent: NOT_IN_LIST, head: AT_HEAD, null: NULL_ANSWER };

// The answers each question takes besides an element, as its buttons
// and keys offer them.
export const OTHER_ANSWERS = { found: ['absent'], place: ['head'], next: ['null'], slot: ['head'] };
export const otherAnswer = (name) => OTHER_ANSWER[name];

// The variables of the calls that would tell an open question's answer:
// the equal element, the predecessor as it is found and passed, and the
// pointer that is about to change.
const TELLING = new Set(['same', 'candidate', 'predecessor', 'slot']);
const CONCEALED = { kind: 'hidden' };

// A variable of the innermost call of `stop`.
const variableOf = (stop, name) => stop.frames.at(-1).variables.find(([key]) => key === name)[1];
// A model's pointer value as an answer: an element, or `none` for null.
const pointed = (value, none) => (value.kind === 'element' ? elementAnswer(value.index) : none);

// The questions addition k asks, in the order of its line steps: each
// { kind, line, truth }, asked before line step `line`. None for a word
// not counted, or a page without the list's code.
export function questionsOf(run, k) {
  const plan = planOf(run, k);
  if (!plan) return [];
  const equal = stopNamed(plan, 'find_equal.found');
  const found = { kind: 'found', line: 1, truth: equal ? pointed(variableOf(equal.stop, 'node')) : NOT_IN_LIST };
  if (plan.kind !== 'inserted') return [found];
  const questions = [found];
  if (!plan.front) {
    const done = stopNamed(plan, 'list_find_predecessor.done');
    questions.push({
      kind: 'place', line: stopNamed(plan, 'list_find_predecessor.start').line,
      truth: pointed(variableOf(done.stop, 'candidate'), AT_HEAD),
    });
  }
  const link = stopNamed(plan, 'link_after.link');
  const slot = variableOf(link.stop, 'slot');
  // What *slot holds: the head's element, the one find_equal started
  // from; or the predecessor's NEXT, the element list_find_predecessor's
  // walk stopped at.
  const held = slot.kind === 'head' ? variableOf(stopNamed(plan, 'find_equal.loop').stop, 'node')
    : variableOf(stopNamed(plan, 'list_find_predecessor.loop', true).stop, 'node');
  questions.push({ kind: 'next', line: stopNamed(plan, 'link_after.next').line, truth: pointed(held, NULL_ANSWER) });
  questions.push({ kind: 'slot', line: link.line, truth: slot.kind === 'head' ? AT_HEAD : elementAnswer(slot.index) });
  return questions;
}

// The question asked before `position`'s line step, or null.
export function questionAt(run, { step, line, free }) {
  if (free > 0 || line === 0) return null;
  return questionsOf(run, step).find((question) => question.line === line) ?? null;
}

// Where `.` goes in Your turn: to the line of the next question of the
// addition paused in, or of the next addition; to the end of the
// addition when it has none left.
export function nextAsked(run, { step: k, line }) {
  const later = line > 0 ? questionsOf(run, k).find((question) => question.line > line) : undefined;
  if (line > 0) return later ? { step: k, line: later.line, free: 0 } : afterStep(run, k);
  if (k >= run.replay.total) return afterStep(run, k);
  const first = questionsOf(run, k + 1)[0];
  return first ? { step: k + 1, line: first.line, free: 0 } : afterStep(run, k + 1);
}

// `count` line steps forward from `position`, as Play takes them in Your
// turn, stopping at the first line a question is asked before:
// { position, ended, question }.
export function stepsToQuestion(run, position, count) {
  let at = position;
  for (let n = 0; n < count; n += 1) {
    const next = lineStep(run, at, 1);
    if (samePosition(next, at)) return { position: at, ended: true, question: null };
    at = next;
    const question = questionAt(run, at);
    if (question) return { position: at, ended: false, question };
  }
  return { position: at, ended: false, question: null };
}

export const sameAnswer = (a, b) => a.kind === b.kind && (a.kind !== 'element' || a.index === b.index);

// An answer as #ask's data-truth writes it: an element's address, or
// 'absent', 'head' or 'null'.
export const answerName = (run, answer) => (answer.kind === 'element' ? addressOf(run, answer.index) : answer.kind);

// The stop as an open question shows it: the variables that would tell
// the answer hidden, and no comparison (none is at a question's line).
export function concealedStop(stop) {
  if (!stop) return stop;
  const frames = stop.frames.map((frame) => ({
    ...frame, variables: frame.variables.map(([name, value]) => [name, TELLING.has(name) ? CONCEALED : value]),
  }));
  return { ...stop, frames, compare: null };
}

// The list as an open question shows it: nothing lit by the walks, which
// would tell where they went.
export const concealedList = (list) => ({ ...list, walked: new Uint8Array(list.walked.length), looked: [0, 0] });
