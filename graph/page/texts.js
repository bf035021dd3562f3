// The texts the page writes, as functions of the language, the run, the
// position, the list there and the selection, each said through the
// language's table (language.js). A text is a list of parts: strings,
// and { word } for a word of the data, which the page shows with its
// escapes marked. What the page keeps in its state to say later (a note,
// find's answer) is a text's key and places, said in the language of the
// moment.
import {
  numberText, say, sayText, sayTold,
} from './language.js';
import { findWord, pieces, wordText } from './words.js';
import {
  LINKED, MADE, RELEASED, UNLINKED, nextAddress, present,
} from './position.js';
import { phaseOf, planStop } from './code_steps.js';
import {
  addressOf, additionOf, countAt, freeLength, planOf, stopAt,
} from './run.js';

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
    case 'hidden': return '?'; // a value Your turn hides, as a debugger writes none in any language
    default: return String(value.value);
  }
}

// The active calls of a stop, outermost first, each as one line:
// 'find_equal: node = 000055DB9B85A810, word = "ahoj"'.
export function framesText(stop, names) {
  return stop.frames.map((frame) => `${frame.name}: ` +
    frame.variables.map(([name, value]) => `${name} = ${valueText(value, names)}`).join(', '));
}

// What a comparison line compares and what follows from it, in `lang`,
// or '' on any other line. `wordOf(i)` is element i's word.
export function compareText(lang, stop, names, wordOf) {
  const compare = stop.compare;
  if (!compare) return '';
  const words = { word: cString(names.word), other: cString(wordOf(compare.against)) };
  if ('equal' in compare) return sayText(lang, compare.equal ? 'compare.equal' : 'compare.unequal', words);
  return sayText(lang, compare.before ? 'compare.greater' : 'compare.less', words);
}

// The names frames and comparisons are written with, at a position.
export function namesAt(run, position) {
  return {
    address: (i) => addressOf(run, i),
    nullAddress: run.nullAddress,
    word: position.free > 0 || position.step === 0 ? '' : additionOf(run, position.step).word,
  };
}

// What addition k did, as the status line tells it: a text's key and
// places.
function additionTold(run, k, list) {
  const { replay } = run;
  const { kind, element, word } = additionOf(run, k);
  const places = {
    word: { word }, position: replay.position[k], first: replay.first[k], second: replay.second[k],
  };
  if (kind === 'counted') {
    return { key: 'told.counted', places: { ...places, count: countAt(run, element, list.countStep) } };
  }
  if (kind !== 'inserted') return { key: 'told.uncounted', places };
  return { key: run.front ? 'told.insertedFront' : 'told.inserted', places };
}

// What addition k has done by line step `line` of its plan: nothing of
// its outcome before the line that decides it has run.
function additionSoFar(run, k, plan, line, list) {
  const [first, second] = list.looked;
  const places = {
    word: { word: additionOf(run, k).word }, position: run.replay.position[k], first, second,
  };
  if (plan.kind === 'counted') {
    if (line >= plan.changedFrom) return additionTold(run, k, list);
    if (line >= plan.decidedFrom) return { key: 'told.found', places };
    return { key: 'told.looking', places };
  }
  if (line >= plan.linkedFrom) return additionTold(run, k, list);
  if (line >= plan.decidedFrom) return { key: run.front ? 'told.goesFront' : 'told.goes', places };
  if (line < plan.absentFrom) return { key: 'told.looking', places };
  if (run.front || line < plan.walks[1]?.from) return { key: 'told.absent', places };
  return { key: 'told.placing', places };
}

// The status line in `lang`: where the replay stands, and what the
// addition has done so far. On a page of two runs (`named`), it names
// the run it speaks of.
export function statusText(lang, run, position, list, named = false) {
  const { step: k, line, free } = position;
  const total = run.replay.total;
  let status;
  if (free > 0) {
    status = say(lang, 'status.free', {
      step: k, total, line: stopAt(run, position).line, at: free, length: freeLength(run),
    });
  } else if (k === 0) {
    status = say(lang, 'status.empty', { step: k, total });
  } else if (line > 0) {
    const plan = planOf(run, k);
    const told = sayTold(lang, additionSoFar(run, k, plan, line, list));
    status = say(lang, 'status.step', {
      step: k, total,
      told: say(lang, 'status.line', { told, line: planStop(plan, line).line, at: line, length: plan.length }),
    });
  } else {
    status = say(lang, 'status.step', { step: k, total, told: sayTold(lang, additionTold(run, k, list)) });
  }
  if (!named) return status;
  return say(lang, 'status.named', {
    run: sayText(lang, run.front ? 'run.front' : 'run.sorted'), status,
  });
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
function wordField(lang, run, list, i) {
  if (i !== list.outside || list.word === 'copied') return { word: run.data.words[i] };
  if (list.word === 'unset') return sayText(lang, 'details.unset');
  return { null: 'null', released: '' }[list.word];
}

// An element's fields as the listing writes them, from ADR on.
function fields(lang, run, list, i) {
  const address = (j) => addressOf(run, j);
  return [`ADR: ${address(i)} NEXT: ${nextAddress(run, list, i, address)} ` +
    `COUNT: ${countAt(run, i, list.countStep)} WORD: `, wordField(lang, run, list, i)];
}

// The details line in `lang`: the selected element (`i`, -1 for none) as
// the listing writes it, or what it is while it is not in the list.
export function detailsText(lang, run, list, i) {
  if (i < 0) return say(lang, list.order.length === 0 ? 'details.empty' : 'details.none');
  const word = { word: run.data.words[i] };
  switch (list.status[i]) {
    case LINKED: {
      const [head, value] = fields(lang, run, list, i);
      return [`${list.rank[i] + 1} ${head}`, value];
    }
    case MADE: return say(lang, 'details.made', { fields: fields(lang, run, list, i) });
    case UNLINKED:
      // Its word's bytes are no longer the program's to read.
      return list.word === 'released'
        ? say(lang, 'details.unlinkedReleased', { fields: fields(lang, run, list, i)[0].replace(/ WORD: $/, '') })
        : say(lang, 'details.unlinked', { fields: fields(lang, run, list, i) });
    case RELEASED:
      return say(lang, 'details.released', { word, address: addressOf(run, i) });
    default:
      return say(lang, 'details.later', { word, step: run.replay.inserted[i] });
  }
}

// The element under the pointer, in `lang`: its position as the listing
// writes it, or what it is, and its word.
export function pointedText(lang, run, list, i) {
  const word = { word: run.data.words[i] };
  if (list.status[i] === MADE) return say(lang, 'pointed.made', { word });
  if (list.status[i] === UNLINKED) return say(lang, 'pointed.unlinked', { word });
  return [`${list.rank[i] + 1} `, word];
}

// Following the selected element's NEXT: { select } the element to
// select, or { note } why there is none, a text's key and places.
export function followed(run, list, i) {
  if (i < 0 || !present(list, i)) return list.order.length > 0 ? { select: list.order[0] } : {};
  if (list.next[i] >= 0) return { select: list.next[i] };
  if (list.status[i] === MADE) return { note: { key: 'note.madeNull', places: {} } };
  if (list.status[i] === UNLINKED) return { note: { key: 'note.unlinkedNull', places: {} } };
  const position = list.rank[i] + 1;
  if (run.replay || run.data.tail === run.nullAddress) {
    return { note: { key: 'note.end', places: { position } } };
  }
  return { note: { key: 'note.notDrawn', places: { position, left: run.data.total - run.size } } };
}

// Going back from the selected element to the one whose NEXT points to it.
export function preceded(list, i) {
  if (i < 0 || !present(list, i)) return {};
  if (list.status[i] !== LINKED) return { note: { key: 'note.notInList', places: {} } };
  if (list.rank[i] > 0) return { select: list.order[list.rank[i] - 1] };
  return { note: { key: 'note.head', places: {} } };
}

// Finds a word as the list's additions do: { select } the element that
// holds it, or { answer } where it would be linked, a text's key and
// places.
export function found(run, list, text) {
  const { found: i, after } = findWord(run.data.words, list.order, text);
  if (i !== undefined) return { select: i };
  const word = { word: text };
  if (after < 0 || run.front) return { answer: { key: 'found.head', places: { word } } };
  return {
    answer: {
      key: 'found.after', places: { word, position: list.rank[after] + 1, after: { word: run.data.words[after] } },
    },
  };
}

// The page's title in `lang`: the elements drawn, and whether a run
// built them.
export function titleText(lang, run) {
  const { size, data } = run;
  const title = data.total === size ? sayText(lang, 'title.all', { size })
    : sayText(lang, 'title.first', { size, total: data.total });
  return run.replay ? sayText(lang, 'title.run', { title }) : title;
}

// The totals of one run, or of both and their ratio, in `lang`: a list of
// { text, run } pieces, `run` the index of the run a piece speaks of.
export function totalsText(lang, runs) {
  const looked = (run) => run.replay.cumulative[run.replay.total];
  if (runs.length < 2) {
    const [run] = runs;
    return [{ text: sayText(lang, 'totals.one', { looked: looked(run), additions: run.replay.total, words: run.size }) }];
  }
  const sorted = runs.findIndex((run) => run.name === 'sorted');
  const [a, b] = [looked(runs[sorted]), looked(runs[1 - sorted])];
  const names = { front: sayText(lang, 'run.front'), sorted: sayText(lang, 'run.sorted') };
  return say(lang, 'totals.two', {
    sorted: { text: sayText(lang, 'totals.sorted', { run: names.sorted, looked: a }), run: sorted },
    front: { text: sayText(lang, 'totals.front', { run: names.front, looked: b }), run: 1 - sorted },
    ratio: sayText(lang, 'totals.ratio', { ...names, ratio: numberText(lang, b / a, 2) }),
  }).map((part) => (typeof part === 'string' ? { text: part } : part));
}
