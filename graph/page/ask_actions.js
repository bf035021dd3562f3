// What Your turn does on the page: a forward step that asks, and waits
// while a question is open; the answer given by a key, a click or a
// button; the mode's switch. `page` is what it acts through: `state()`,
// `run()`, `list()` and `stop()` as shown, `update(change)`,
// `goTo(position, how)`, `step(k)`, `stopPlay()`, `world(px, py)`,
// `elementAt(wx, wy)`, `scene()` (what the picture is drawn from) and
// `focus()` (the canvas).
import {
  answering, keyAnswer, openedAt, toggledAsk, waitingFor,
} from './ask.js';
import { answerAt } from './ask_marks.js';
import { $ } from './panels.js';
import { OTHER_ANSWERS, nextAsked, otherAnswer } from './questions.js';

// The keys that answer a question waiting for its answer.
const ANSWER_KEYS = ['Enter', 'n', 'h'];

export function askActions(page) {
  // While a question waits for its answer, so does a forward step, saying so.
  function waits() {
    const question = waitingFor(page.state());
    if (question) page.update({ note: { key: 'ask.wait', places: { line: page.stop().line } } });
    return question !== null;
  }

  // Goes to a position stepped forward to: a question there is asked.
  const forwardTo = (next) => page.goTo(next, { question: openedAt(page.run(), page.state(), next) });

  // `.`: an addition forward; in Your turn, to the next question's line,
  // or to the end of the addition.
  function forward() {
    const { ask, step, line, free } = page.state();
    if (waits()) return;
    if (ask && free === 0) forwardTo(nextAsked(page.run(), { step, line, free }));
    else page.step(step + 1);
  }

  function toggle() {
    page.stopPlay();
    page.update(toggledAsk(page.state()));
  }

  // The open question answered: its verdict shown, and said.
  function answerWith(answer) {
    const change = answering(page.run(), page.state(), answer);
    if (change) page.update(change);
  }

  // What `key` does while a question waits for its answer, or null.
  function keyAction(key) {
    const question = ANSWER_KEYS.includes(key) ? waitingFor(page.state()) : null;
    if (!question) return null;
    return () => {
      const reply = keyAnswer(question, key, page.list(), page.state().selected);
      if (reply.answer) answerWith(reply.answer);
      else page.update({ note: reply.note });
    };
  }

  // The answer under a point of the canvas (in CSS pixels), while a
  // question waits for one, or null.
  function answerUnder(px, py) {
    const question = waitingFor(page.state());
    if (!question) return null;
    const { x, y } = page.world(px, py);
    return answerAt(page.scene(), x, y, page.elementAt(x, y), OTHER_ANSWERS[question.kind]);
  }

  function wire(listening) {
    $('your-turn').addEventListener('click', toggle, listening);
    $('ask-answers').addEventListener('click', (event) => {
      const name = event.target.closest('[data-answer]')?.dataset.answer;
      if (name) answerWith(otherAnswer(name));
      page.focus();
    }, listening);
  }

  return {
    waits, forwardTo, forward, toggle, answerWith, keyAction, answerUnder, wire,
  };
}
