// Your turn's flow, as changes to the page's state: the mode turned on
// and off, the question a forward step opens, what waits for its answer,
// the one answer it takes, and the score. The state's fields: `ask`, the
// mode; `question`, { step, line, kind }, the question asked at the
// position, or null; `answers`, each { answer, right } by run, addition
// and question, since the mode was turned on (a question met again shows
// its verdict, and is not asked again).
import { present } from './position.js';
import {
  AT_HEAD, NOT_IN_LIST, NULL_ANSWER, OTHER_ANSWERS, elementAnswer, questionAt, questionsOf, sameAnswer,
} from './questions.js';
import { told } from './language.js';

const answerKey = (runIndex, { step, kind }) => `${runIndex}:${step}:${kind}`;

// The mode off, as a page starts.
export const askOff = () => ({ ask: false, question: null, answers: new Map() });

// The answer given to `question` of the run shown, or undefined.
export const givenTo = (state, question) => state.answers.get(answerKey(state.run, question));

// The question open and waiting for its answer, or null.
export function waitingFor(state) {
  const { question } = state;
  return question && !givenTo(state, question) ? question : null;
}

// All that the mode shows follows from, as one string for the panels'
// keys: '' with the mode off.
export function askKey(state) {
  if (!state.ask) return '';
  const { question } = state;
  return question ? `${question.step}:${question.line}:${question.kind}:${givenTo(state, question) ? 'given' : 'open'}`
    : 'on';
}

// The mode turned on or off, at the same position: no question open,
// nothing answered yet.
export const toggledAsk = (state) => ({ ...askOff(), ask: !state.ask, note: told(state.ask ? 'ask.turnedOff' : 'ask.turnedOn') });

// The question that a forward step to `position` asks, in the mode.
export function openedAt(run, state, position) {
  const question = state.ask ? questionAt(run, position) : null;
  return question && { step: position.step, line: position.line, kind: question.kind };
}

// The change `answer` makes to the open question: kept, with whether it
// is right; null when no question waits for one.
export function answering(run, state, answer) {
  const question = waitingFor(state);
  if (!question) return null;
  const { truth } = questionAt(run, { ...question, free: 0 });
  const answers = new Map(state.answers).set(answerKey(state.run, question), { answer, right: sameAnswer(answer, truth) });
  return { answers, note: '' };
}

// What a key answers to the open question `question`: Enter the element
// selected, n "not in the list" or NULL, h the head; { answer }, or
// { note } why it answers nothing.
export function keyAnswer(question, key, list, selected) {
  const others = OTHER_ANSWERS[question.kind];
  if (key === 'Enter') {
    return selected >= 0 && present(list, selected) ? { answer: elementAnswer(selected) } : { note: told('ask.selectFirst') };
  }
  if (key === 'n') {
    if (others.includes('absent')) return { answer: NOT_IN_LIST };
    return others.includes('null') ? { answer: NULL_ANSWER } : { note: told('ask.noNull') };
  }
  return others.includes('head') ? { answer: AT_HEAD } : { note: told('ask.noHead') };
}

// The score: the questions answered right and answered, and of them
// those of addition `step` of the run shown.
export function scoreOf(state, step) {
  const score = { right: 0, asked: 0, additionRight: 0, additionAsked: 0 };
  const ofStep = `${state.run}:${step}:`;
  for (const [key, { right }] of state.answers) {
    score.asked += 1;
    score.right += right ? 1 : 0;
    if (key.startsWith(ofStep)) {
      score.additionAsked += 1;
      score.additionRight += right ? 1 : 0;
    }
  }
  return score;
}

// Whether `position` is at the end of its addition, as the score tells
// it: after the addition, or past the line of its last question.
export function atAdditionEnd(run, { step, line, free }) {
  if (free > 0 || step === 0) return false;
  const last = questionsOf(run, step).at(-1);
  return line === 0 || (last !== undefined && line > last.line);
}

// What the picture marks of the question at the state, or null for none:
// the answers it takes besides an element, and once it is answered the
// right answer and the learner's.
export function marksOf(run, state) {
  const { question } = state;
  if (!state.ask || !question) return null;
  return {
    others: OTHER_ANSWERS[question.kind], truth: questionAt(run, { ...question, free: 0 }).truth,
    given: givenTo(state, question)?.answer ?? null, slot: question.kind === 'slot',
  };
}
