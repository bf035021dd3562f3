// Your turn's panel: its switch, the score, and #ask with the question
// asked, the buttons of the answers that are not an element, and the
// verdict with the right answer; written from the state and the model.
import {
  askKey, atAdditionEnd, givenTo, scoreOf,
} from './ask.js';
import {
  questionText, resultText, scoreText, sentences, whyText,
} from './ask_told.js';
import { say, sayText } from './language.js';
import { $, render, write } from './panels.js';
import { OTHER_ANSWERS, answerName, questionAt } from './questions.js';
import { plainText } from './texts.js';

const BUTTON_TEXT = { absent: 'ask.answerAbsent', head: 'ask.answerHead', null: 'ask.answerNull' };

// What #ask and #score were last written from: the run, as startPage
// opened it, and the language, the mode's key, the position and the
// answers.
let askWritten = { run: null, key: '' };

// The answer buttons of `question`, each marked with the answer it gives,
// none of them taking a second answer once one is given.
function answerButtons(lang, question, given) {
  return OTHER_ANSWERS[question.kind].map((name) => {
    const button = document.createElement('button');
    button.type = 'button';
    button.dataset.answer = name;
    button.textContent = sayText(lang, BUTTON_TEXT[name]);
    button.disabled = given !== undefined;
    return button;
  });
}

function setData(element, name, value) {
  if (value === null) delete element.dataset[name];
  else if (element.dataset[name] !== value) element.dataset[name] = value;
}

// The panel at the state shown; `list`, the list at its position.
export function showAsk(lang, run, state, list) {
  write($('your-turn'), null, { 'aria-pressed': String(state.ask) });
  const panel = $('ask');
  for (const element of [panel, $('score')]) if (element.hidden === state.ask) element.hidden = !state.ask;
  const key = state.ask ? `${lang}|${askKey(state)}|${state.step}:${state.line}:${state.free}|${state.answers.size}` : '';
  if (askWritten.run === run && askWritten.key === key) return;
  askWritten = { run, key };
  if (!state.ask) return;
  render($('score'), scoreText(lang, scoreOf(state, state.step), atAdditionEnd(run, state)));
  const { question } = state;
  const given = question ? givenTo(state, question) : undefined;
  setData(panel, 'question', question ? question.kind : null);
  setData(panel, 'verdict', given ? (given.right ? 'right' : 'wrong') : null);
  setData(panel, 'truth', given ? answerName(run, questionAt(run, { ...question, free: 0 }).truth) : null);
  render($('ask-question'), question ? questionText(lang, run, question) : say(lang, 'ask.idle'));
  $('ask-answers').replaceChildren(...(question ? answerButtons(lang, question, given) : []));
  render($('ask-result'), given ? resultText(lang, run, question, given.answer) : []);
  render($('ask-why'), given ? whyText(lang, run, question, list) : []);
}

// Forgets what the panel was written from: for a page started anew.
export function forgetAsk() {
  askWritten = { run: null, key: '' };
}

// What #said announces of the question at the state: the question as it
// opens, the verdict once answered; null for none.
export function askSaid(lang, run, state, list) {
  const { question } = state;
  if (!state.ask || !question) return null;
  const given = givenTo(state, question);
  return plainText(given ? sentences(resultText(lang, run, question, given.answer), whyText(lang, run, question, list))
    : questionText(lang, run, question));
}
