// What Your turn says: the question asked, the verdict on an answer and
// why the program does what it does, the status while a question is
// open, and the score; each a text's parts (see texts.js) in `lang`, said
// through the language's table (language.js).
import { planStop } from './code_steps.js';
import { say } from './language.js';
import { questionsOf, sameAnswer } from './questions.js';
import { addressOf, additionOf, planOf } from './run.js';
import { detailsText } from './texts.js';
import { bytesOf } from './words.js';

const QUESTION_TEXT = {
  found: 'ask.questionFound', place: 'ask.questionPlace', next: 'ask.questionNext', slot: 'ask.questionSlot',
};
const WRONG_TEXT = { absent: 'ask.wrongAbsent', head: 'ask.wrongHead', null: 'ask.wrongNull' };

// The source line a question is asked before.
const askedLine = (run, { step, line }) => planStop(planOf(run, step), line).line;
const addedWord = (run, step) => ({ word: additionOf(run, step).word });
const elementWord = (run, i) => ({ word: run.data.words[i] });

// Sentences one after the other, each whole.
export const sentences = (...texts) => texts.filter((text) => text.length > 0)
  .flatMap((text, at) => (at > 0 ? [' ', ...text] : text));

export const questionText = (lang, run, question) => say(lang, QUESTION_TEXT[question.kind],
  { line: askedLine(run, question), word: addedWord(run, question.step) });

// The status line while a question is open: where the replay stands, and
// nothing of what the addition does.
export const askedStatus = (lang, run, question, named) => say(lang, named ? 'ask.statusNamed' : 'ask.status', {
  run: { key: run.front ? 'run.front' : 'run.sorted', places: {} }, step: question.step, total: run.replay.total, word: addedWord(run, question.step),
  line: askedLine(run, question),
});

// The phases as the panel marks them while a question is open: none as
// taken, which would tell a word counted from a word inserted.
export const askedPhases = ({ current }) => ({ taken: [], current });

// The details of element i (-1: none) while a question is open: an
// element not in the list yet does not say at which step it will be.
export function askedDetails(lang, run, list, i) {
  if (i >= 0 && list.status[i] === 0) return say(lang, 'ask.notInsertedYet', { word: elementWord(run, i) });
  return detailsText(lang, run, list, i);
}

// Whether `less` < `more` in byte order for a reason a learner may not
// expect, and which: the sentence that says so, or nothing.
function reasonOf(lang, less, more) {
  const [a, b] = [bytesOf(less.word), bytesOf(more.word)];
  let at = 0;
  while (at < a.length && a[at] === b[at]) at += 1;
  let key = null;
  if (at === a.length) key = 'ask.reasonPrefix';
  else if (a[at] >= 0x41 && a[at] <= 0x5A && b[at] >= 0x61 && b[at] <= 0x7A) key = 'ask.reasonCapitals';
  else if (a[at] < 0x80 && b[at] >= 0x80) key = 'ask.reasonBytes';
  return key ? say(lang, key, { less, more }) : [];
}

// Why the list's code goes after the element `truth` (or at the head),
// on the list `list` it walks.
function placeWhy(lang, run, word, truth, { order, rank }) {
  if (truth.kind === 'head') {
    if (order.length === 0) return say(lang, 'ask.placeEmpty', { word });
    const first = elementWord(run, order[0]);
    return sentences(say(lang, 'ask.placeHead', { word, next: first }), reasonOf(lang, word, first));
  }
  const after = elementWord(run, truth.index);
  const following = order[rank[truth.index] + 1];
  if (following === undefined) {
    return sentences(say(lang, 'ask.placeEnd', { word, after }), reasonOf(lang, after, word));
  }
  const next = elementWord(run, following);
  const reason = reasonOf(lang, word, next);
  return sentences(say(lang, 'ask.placeAfter', { word, after, next }),
    reason.length > 0 ? reason : reasonOf(lang, after, word));
}

// What the program does at a question's line, and why: `list` is the
// list at the question's line step, which has not linked the new element.
export function whyText(lang, run, { step, kind }, list) {
  const questions = questionsOf(run, step);
  const truthOf = (name) => questions.find((question) => question.kind === name).truth;
  const truth = truthOf(kind);
  const word = addedWord(run, step);
  const address = truth.kind === 'element' ? addressOf(run, truth.index) : '';
  if (kind === 'found') {
    if (truth.kind === 'element') return say(lang, 'ask.foundAt', { word, position: list.rank[truth.index] + 1, address });
    return list.order.length === 0 ? say(lang, 'ask.foundEmpty', { word })
      : say(lang, 'ask.foundAbsent', { word, count: list.order.length });
  }
  if (kind === 'place') return placeWhy(lang, run, word, truth, list);
  const slot = truthOf('slot');
  if (kind === 'slot') {
    if (truth.kind === 'head') return say(lang, run.front ? 'ask.slotFront' : 'ask.slotHead', { word });
    return say(lang, 'ask.slotAfter', { address, after: elementWord(run, truth.index), word });
  }
  const held = truth.kind === 'element' ? { next: elementWord(run, truth.index), address } : {};
  if (slot.kind === 'head') return say(lang, truth.kind === 'element' ? 'ask.nextHead' : 'ask.nextHeadNull', held);
  const after = elementWord(run, slot.index);
  return say(lang, truth.kind === 'element' ? 'ask.nextAfter' : 'ask.nextAfterNull', { ...held, after });
}

// Whether the answer `given` is right, as a sentence that names it when
// it is not.
export function resultText(lang, run, question, given) {
  const { truth } = questionsOf(run, question.step).find(({ kind }) => kind === question.kind);
  if (sameAnswer(given, truth)) return say(lang, 'ask.right');
  if (given.kind !== 'element') return say(lang, WRONG_TEXT[given.kind]);
  return say(lang, question.kind === 'slot' ? 'ask.wrongNextOf' : 'ask.wrongElement',
    { word: elementWord(run, given.index), address: addressOf(run, given.index) });
}

// The score: right of asked since the mode was turned on, and at the end
// of an addition that addition's too.
export const scoreText = (lang, score, atEnd) => say(lang,
  atEnd && score.additionAsked > 0 ? 'ask.scoreAddition' : 'ask.score', score);

// What the pointer is over, when it is an answer that is not an element.
export const pointedAnswer = (lang, answer) => (answer
  ? say(lang, answer.kind === 'head' ? 'ask.pointedHead' : 'ask.pointedNull') : []);
