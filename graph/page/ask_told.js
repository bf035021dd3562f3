// What Your turn says: the question asked, the verdict on an answer and
// why the program does what it does, the status while a question is
// open, and the score; each a text's parts (see texts.js), from the
// templates of ask_texts.js.
import { askText } from './ask_texts.js';
import { planStop } from './code_steps.js';
import { questionsOf, sameAnswer } from './questions.js';
import { addressOf, additionOf, planOf } from './run.js';
import { detailsText } from './texts.js';
import { bytesOf } from './words.js';

const QUESTION_TEXT = { found: 'questionFound', place: 'questionPlace', next: 'questionNext', slot: 'questionSlot' };
const WRONG_TEXT = { absent: 'wrongAbsent', head: 'wrongHead', null: 'wrongNull' };

// The source line a question is asked before.
const askedLine = (run, { step, line }) => planStop(planOf(run, step), line).line;
const addedWord = (run, step) => ({ word: additionOf(run, step).word });
const elementWord = (run, i) => ({ word: run.data.words[i] });

// Sentences one after the other, each whole.
export const sentences = (...texts) => texts.filter((text) => text.length > 0)
  .flatMap((text, at) => (at > 0 ? [' ', ...text] : text));

export const questionText = (run, question) => askText(QUESTION_TEXT[question.kind],
  { line: askedLine(run, question), word: addedWord(run, question.step) });

// The status line while a question is open: where the replay stands, and
// nothing of what the addition does.
export const askedStatus = (run, question, named) => askText(named ? 'statusNamed' : 'status', {
  run: run.name, step: question.step, total: run.replay.total, word: addedWord(run, question.step),
  line: askedLine(run, question),
});

// The phases as the panel marks them while a question is open: none as
// taken, which would tell a word counted from a word inserted.
export const askedPhases = ({ current }) => ({ taken: [], current });

// The details of element i (-1: none) while a question is open: an
// element not in the list yet does not say at which step it will be.
export function askedDetails(run, list, i) {
  if (i >= 0 && list.status[i] === 0) return askText('notInsertedYet', { word: elementWord(run, i) });
  return detailsText(run, list, i);
}

// Whether `less` < `more` in byte order for a reason a learner may not
// expect, and which: the sentence that says so, or nothing.
function reasonOf(less, more) {
  const [a, b] = [bytesOf(less.word), bytesOf(more.word)];
  let at = 0;
  while (at < a.length && a[at] === b[at]) at += 1;
  let key = null;
  if (at === a.length) key = 'reasonPrefix';
  else if (a[at] >= 0x41 && a[at] <= 0x5A && b[at] >= 0x61 && b[at] <= 0x7A) key = 'reasonCapitals';
  else if (a[at] < 0x80 && b[at] >= 0x80) key = 'reasonBytes';
  return key ? askText(key, { less, more }) : [];
}

// Why the list's code goes after the element `truth` (or at the head),
// on the list `list` it walks.
function placeWhy(run, word, truth, { order, rank }) {
  if (truth.kind === 'head') {
    if (order.length === 0) return askText('placeEmpty', { word });
    const first = elementWord(run, order[0]);
    return sentences(askText('placeHead', { word, next: first }), reasonOf(word, first));
  }
  const after = elementWord(run, truth.index);
  const following = order[rank[truth.index] + 1];
  if (following === undefined) return sentences(askText('placeEnd', { word, after }), reasonOf(after, word));
  const next = elementWord(run, following);
  const reason = reasonOf(word, next);
  return sentences(askText('placeAfter', { word, after, next }), reason.length > 0 ? reason : reasonOf(after, word));
}

// What the program does at a question's line, and why: `list` is the
// list at the question's line step, which has not linked the new element.
export function whyText(run, { step, kind }, list) {
  const questions = questionsOf(run, step);
  const truthOf = (name) => questions.find((question) => question.kind === name).truth;
  const truth = truthOf(kind);
  const word = addedWord(run, step);
  const address = truth.kind === 'element' ? addressOf(run, truth.index) : '';
  if (kind === 'found') {
    if (truth.kind === 'element') return askText('foundAt', { word, position: list.rank[truth.index] + 1, address });
    return list.order.length === 0 ? askText('foundEmpty', { word })
      : askText('foundAbsent', { word, count: list.order.length });
  }
  if (kind === 'place') return placeWhy(run, word, truth, list);
  const slot = truthOf('slot');
  if (kind === 'slot') {
    if (truth.kind === 'head') return askText(run.front ? 'slotFront' : 'slotHead', { word });
    return askText('slotAfter', { address, after: elementWord(run, truth.index), word });
  }
  const held = truth.kind === 'element' ? { next: elementWord(run, truth.index), address } : {};
  if (slot.kind === 'head') return askText(truth.kind === 'element' ? 'nextHead' : 'nextHeadNull', held);
  const after = elementWord(run, slot.index);
  return askText(truth.kind === 'element' ? 'nextAfter' : 'nextAfterNull', { ...held, after });
}

// Whether the answer `given` is right, as a sentence that names it when
// it is not.
export function resultText(run, question, given) {
  const { truth } = questionsOf(run, question.step).find(({ kind }) => kind === question.kind);
  if (sameAnswer(given, truth)) return askText('right');
  if (given.kind !== 'element') return askText(WRONG_TEXT[given.kind]);
  return askText(question.kind === 'slot' ? 'wrongNextOf' : 'wrongElement',
    { word: elementWord(run, given.index), address: addressOf(run, given.index) });
}

// The score: right of asked since the mode was turned on, and at the end
// of an addition that addition's too.
export const scoreText = (score, atEnd) => askText(atEnd && score.additionAsked > 0 ? 'scoreAddition' : 'score',
  score);

// What the pointer is over, when it is an answer that is not an element.
export const pointedAnswer = (answer) => (answer ? askText(answer.kind === 'head' ? 'pointedHead' : 'pointedNull') : []);
