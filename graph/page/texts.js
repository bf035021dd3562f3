// The texts the page writes, as functions of the run, the position, the
// list there and the selection. A text is a list of parts: strings, and
// { word } for a word of the data, which the page shows with its escapes
// marked.
import { askString } from './ask_texts.js';
import { findWord, pieces } from './words.js';
import {
  LINKED, MADE, RELEASED, UNLINKED, nextAddress, present,
} from './position.js';
import { phaseOf, planStop } from './code_steps.js';
import {
  addressOf, additionOf, countAt, freeLength, planOf, stopAt,
} from './run.js';

// A word as one string, its escapes as the page shows them.
export const wordText = (word) => pieces(word).map((piece) => piece.text).join('');

// A text's parts as one string, words as wordText writes them.
export const plainText = (parts) => parts.map((part) => (typeof part === 'string' ? part
  : wordText(part.word))).join('');

// A word as a debugger writes a C string: in double quotes, `"` and `\`
// escaped with a backslash, other bytes as the page shows them.
export function cString(word) {
  return `"${pieces(word).map((piece) => (piece.escaped ? piece.text
    : piece.text.replace(/["\\]/g, '\\$&'))).join('')}"`;
}

// A value of the code's model as the page writes it: an element's address
// as the listing writes addresses (null as its zeros), a pointer to a
// pointer as &head or &ADR->next, the word as a C string, a number in
// decimal. `names.address(i)`, `names.nullAddress` and `names.word` (the
// word being added) say how.
function valueText(value, names) {
  switch (value.kind) {
    case 'null': return names.nullAddress;
    case 'head': return '&head';
    case 'element': return names.address(value.index);
    case 'next': return `&${names.address(value.index)}->next`;
    case 'word': return cString(names.word);
    case 'hidden': return askString('hiddenValue');
    default: return String(value.value);
  }
}

// The active calls of a stop, outermost first, each as one line:
// 'find_equal: node = 000055DB9B85A810, word = "ahoj"'.
export function framesText(stop, names) {
  return stop.frames.map((frame) => `${frame.name}: ` +
    frame.variables.map(([name, value]) => `${name} = ${valueText(value, names)}`).join(', '));
}

// What a comparison line compares and what follows from it, or '' on any
// other line. `wordOf(i)` is element i's word.
export function compareText(stop, names, wordOf) {
  const compare = stop.compare;
  if (!compare) return '';
  const against = `${cString(names.word)} against ${cString(wordOf(compare.against))}: `;
  if ('equal' in compare) return against + (compare.equal ? 'equal, found' : 'not equal, go on');
  return against + (compare.before ? 'greater, go on' : 'less, stop here');
}

// The names frames and comparisons are written with, at a position.
export function namesAt(run, position) {
  return {
    address: (i) => addressOf(run, i),
    nullAddress: run.nullAddress,
    word: position.free > 0 || position.step === 0 ? '' : additionOf(run, position.step).word,
  };
}

// What addition k did, as the status line tells it.
function additionTold(run, k, list) {
  const { replay } = run;
  const { kind, element } = additionOf(run, k);
  const p = replay.position[k];
  const looked = run.front ? `${replay.first[k]}` : `${replay.first[k]} + ${replay.second[k]}`;
  if (kind === 'counted') {
    return `" counted at position ${p}, count ${countAt(run, element, list.countStep)} ` +
      `(looked at ${replay.first[k]})`;
  }
  return kind === 'inserted' ? `" inserted at position ${p} (looked at ${looked})` : '" not counted';
}

// What addition k has done by line step `line` of its plan: nothing of
// its outcome before the line that decides it has run.
function additionSoFar(run, k, plan, line, list) {
  const { replay } = run;
  const [first, second] = list.looked;
  const p = replay.position[k];
  if (plan.kind === 'counted') {
    if (line >= plan.changedFrom) return additionTold(run, k, list);
    if (line >= plan.decidedFrom) return `" found at position ${p} (looked at ${first})`;
    return `": looking for it, looked at ${first} so far`;
  }
  const looked = run.front ? `${first}` : `${first} + ${second}`;
  if (line >= plan.linkedFrom) return additionTold(run, k, list);
  if (line >= plan.decidedFrom) return `" goes at position ${p} (looked at ${looked})`;
  if (line < plan.absentFrom) return `": looking for it, looked at ${first} so far`;
  if (run.front || line < plan.walks[1]?.from) return `" is not in the list (looked at ${first})`;
  return `" is not in the list (looked at ${first}); finding its place, looked at ${second} so far`;
}

// Where in the code a position is paused: the lit source line, and which
// of the call's line steps it is.
function lineTold(stop, at, length, where) {
  return `; line ${stop.line} (step ${at} of ${length} in ${where})`;
}

// The status line: where the replay stands, and what the addition has
// done so far. On a page of two runs (`named`), it names the run it
// speaks of.
export function statusText(run, position, list, named = false) {
  const { step: k, line, free } = position;
  const total = run.replay.total;
  const parts = named ? [`${run.name}: `] : [];
  if (free > 0) {
    parts.push(`After step ${k} of ${total}: list_free releases the list` +
      lineTold(stopAt(run, position), free, freeLength(run), 'list_free'));
  } else if (k === 0) {
    parts.push(`Step 0 of ${total}: the list is empty`);
  } else if (line > 0) {
    const plan = planOf(run, k);
    parts.push(`Step ${k} of ${total}: "`, { word: additionOf(run, k).word },
      additionSoFar(run, k, plan, line, list) +
      lineTold(planStop(plan, line), line, plan.length, 'this addition'));
  } else {
    parts.push(`Step ${k} of ${total}: "`, { word: additionOf(run, k).word }, additionTold(run, k, list));
  }
  return parts;
}

const PHASES = {
  counted: ['look', 'count'], inserted: ['look', 'allocate', 'place', 'link'],
  front: ['look', 'allocate', 'link'], uncounted: ['look'],
};

// The phases of the list's code that the position's addition takes, and
// the one being run at a line step (null between additions).
export function phasesOf(run, position) {
  if (position.free > 0 || position.step === 0) return { taken: [], current: null };
  const { kind } = additionOf(run, position.step);
  const stop = stopAt(run, position);
  return {
    taken: PHASES[kind === 'inserted' && run.front ? 'front' : kind],
    current: stop ? phaseOf(planOf(run, position.step), stop) : null,
  };
}

// The word field of element i, as the heap holds it.
function wordField(run, list, i) {
  if (i !== list.outside || list.word === 'copied') return { word: run.data.words[i] };
  return { null: 'null', unset: '(allocated, not copied yet)', released: '' }[list.word];
}

// An element's fields as the details line writes them, after `lead`.
function fields(run, list, i, lead) {
  const address = (j) => addressOf(run, j);
  return [`${lead}ADR: ${address(i)} NEXT: ${nextAddress(run, list, i, address)} ` +
    `COUNT: ${countAt(run, i, list.countStep)} WORD: `, wordField(run, list, i)];
}

// The details line: the selected element (`i`, -1 for none) as the
// listing writes it, or what it is while it is not in the list.
export function detailsText(run, list, i) {
  if (i < 0) return [list.order.length === 0 ? 'The list is empty.' : 'No element is selected.'];
  const word = { word: run.data.words[i] };
  switch (list.status[i]) {
    case LINKED: return fields(run, list, i, `${list.rank[i] + 1} `);
    case MADE: return fields(run, list, i, 'not linked yet: ');
    case UNLINKED:
      // Its word's bytes are no longer the program's to read.
      return list.word === 'released' ? [fields(run, list, i, 'unlinked, its word released: ')[0]
        .replace(/ WORD: $/, '')] : fields(run, list, i, 'unlinked, not yet released: ');
    case RELEASED:
      return ['"', word, `" was unlinked and released by list_free: ${addressOf(run, i)} is free.`];
    default:
      return ['"', word, `" is not in the list yet: it is inserted at step ${run.replay.inserted[i]}.`];
  }
}

// The element under the pointer: its position, or what it is, and its word.
export function pointedText(run, list, i) {
  const label = { [LINKED]: `${list.rank[i] + 1}`, [MADE]: 'not linked yet:', [UNLINKED]: 'unlinked:' };
  return [`${label[list.status[i]]} `, { word: run.data.words[i] }];
}

// Following the selected element's NEXT: { select } the element to
// select, or { note } why there is none.
export function followed(run, list, i) {
  if (i < 0 || !present(list, i)) return list.order.length > 0 ? { select: list.order[0] } : {};
  if (list.next[i] >= 0) return { select: list.next[i] };
  if (list.status[i] === MADE) return { note: 'NEXT of the element not linked yet is null: *slot is not copied yet.' };
  if (list.status[i] === UNLINKED) return { note: 'NEXT of the unlinked element is null: it was the last.' };
  const position = list.rank[i] + 1;
  if (run.replay || run.data.tail === run.nullAddress) {
    return { note: `NEXT of ${position} is null: the list ends here.` };
  }
  return { note: `NEXT of ${position} leads to the ${run.data.total - run.size} elements not drawn.` };
}

// Going back from the selected element to the one whose NEXT points to it.
export function preceded(list, i) {
  if (i < 0 || !present(list, i)) return {};
  if (list.status[i] !== LINKED) return { note: 'No element of the list points here: it is not in the list.' };
  if (list.rank[i] > 0) return { select: list.order[list.rank[i] - 1] };
  return { note: 'The head points here: no element comes before 1.' };
}

// Finds a word as the list's additions do: { select } the element that
// holds it, or { answer } where it would be linked.
export function found(run, list, text) {
  const { found: i, after } = findWord(run.data.words, list.order, text);
  if (i !== undefined) return { select: i };
  const answer = ['"', { word: text }];
  if (after < 0 || run.front) {
    answer.push('" is not in the list: it would be linked at the head.');
  } else {
    answer.push(`" is not in the list: it would be linked after ${list.rank[after] + 1} "`,
      { word: run.data.words[after] }, '".');
  }
  return { answer };
}

// The page's title: the elements drawn, and whether a run built them.
export function titleText(run) {
  const { size, data } = run;
  const title = data.total === size ? `${size} element${size === 1 ? '' : 's'}`
    : `the first ${size} of ${data.total} elements`;
  return run.replay ? `the run that built ${title}` : title;
}

// The totals of one run, or of both and their ratio: a list of
// { text, run } pieces, `run` the index of the run a piece speaks of.
export function totalsText(runs) {
  const looked = (run) => run.replay.cumulative[run.replay.total];
  if (runs.length < 2) {
    const [run] = runs;
    const total = run.replay.total;
    return [{ text: `${looked(run)} elements looked at for ${total} addition` +
      `${total === 1 ? '' : 's'} of ${run.size} distinct word${run.size === 1 ? '' : 's'}` }];
  }
  const figure = (value) => value.toLocaleString('en-US');
  const sorted = runs.findIndex((run) => run.name === 'sorted');
  const [a, b] = [looked(runs[sorted]), looked(runs[1 - sorted])];
  return [{ text: `sorted: ${figure(a)} elements looked at`, run: sorted }, { text: '; ' },
    { text: `front: ${figure(b)}`, run: 1 - sorted },
    { text: `; front \u00F7 sorted: ${(b / a).toFixed(2)}` }];
}
