// Your turn in Node: the questions each addition asks, with their right
// answers held to what the programs' own trace says the run did; what an
// open question lets the panels say; the texts, the answers keys and
// clicks give, and the score. The runs are the programs' own, as
// position.test.js makes them.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { test } from 'node:test';

import {
  answering, askKey, askOff, givenTo, keyAnswer, openedAt, scoreOf, toggledAsk, waitingFor,
} from '../../graph/page/ask.js';
import { answerAt } from '../../graph/page/ask_marks.js';
import { say, sayText } from '../../graph/page/language.js';
import {
  askedDetails, askedPhases, askedStatus, resultText, sentences, whyText,
} from '../../graph/page/ask_told.js';
import { codeMap, planStop } from '../../graph/page/code_steps.js';
import { HEAD_AT, LINE, NULL_AT } from '../../graph/page/drawing.js';
import { readFragment, writeFragment } from '../../graph/page/fragment.js';
import { BOX_H, BOX_W, GAP_X, GAP_Y } from '../../graph/page/layout.js';
import { afterStep, listAt } from '../../graph/page/position.js';
import {
  AT_HEAD, NOT_IN_LIST, NULL_ANSWER, answerName, concealedList, concealedStop, elementAnswer, nextAsked,
  questionsOf, stepsToQuestion,
} from '../../graph/page/questions.js';
import { addressOf, openRun, stopAt } from '../../graph/page/run.js';
import {
  cString, compareText, framesText, namesAt, phasesOf, plainText,
} from '../../graph/page/texts.js';
import { framed } from '../../graph/page/view.js';
import { madeOf, skip } from './programs.js';
import { answersOfTrace } from './trace_answers.js';

const source = readFileSync(new URL('../../src/word_list.cpp', import.meta.url), 'utf8');
const map = codeMap(source);
const worked = "Ahoj, ahoj! Don't stop.\r\n";
const sample = readFileSync(new URL('../../neco.txt', import.meta.url));

const made = skip ? [] : [
  ['the worked example', madeOf(worked)],
  ['the worked example built at the front', madeOf(worked, { front: true })],
  ['the sample', madeOf(sample)],
  ['the sample built at the front', madeOf(sample, { front: true })],
];

const askedByTrace = (trace) => answersOfTrace(trace).map(({ questions }) => questions);

const askedByModel = (run) => Array.from({ length: run.replay.total }, (_, k) => questionsOf(run, k + 1)
  .map(({ kind, truth }) => [kind, answerName(run, truth)]));

test('every addition asks its questions in the order of its lines, each right answer what the trace says the run did', { skip }, () => {
  const lineOf = { found: map.functions.list_add_sorted.look, place: map.functions.list_find_predecessor.start,
    next: map.functions.link_after.next, slot: map.functions.link_after.link };
  for (const [where, { data, trace }] of made) {
    const run = openRun(data, map);
    assert.deepEqual(askedByModel(run), askedByTrace(trace), where);
    for (let k = 1; k <= run.replay.total; k += 1) {
      const questions = questionsOf(run, k);
      // Each before the line it asks of, in order, the first before the
      // addition's first line step.
      assert.equal(questions[0].line, 1, `${where} ${k}`);
      for (const { kind, line } of questions.slice(1)) {
        assert.equal(planStop(run.plans.get(k), line).line, lineOf[kind], `${where} ${k} ${kind}`);
      }
      assert.ok(questions.every((q, at) => at === 0 || q.line > questions[at - 1].line), `${where} ${k}`);
    }
  }
  // The worked example's additions: pokus at the head of nothing, druhy
  // at the head, pokus counted twice, Ahoj at the head, ahoj and Don
  // after Ahoj, t at the end, stop before it.
  const [[, { data }], [, { data: frontData }]] = made;
  const run = openRun(data, map);
  const kinds = askedByModel(run).map((asked) => asked.map(([kind]) => kind[0]).join(''));
  assert.deepEqual(kinds, ['fpns', 'fpns', 'f', 'f', 'fpns', 'fpns', 'fpns', 'fpns', 'fpns']);
  const address = (word) => addressOf(run, data.words.indexOf(word));
  assert.deepEqual(askedByModel(run)[7], [['found', 'absent'], ['place', address('pokus')], ['next', 'null'],
    ['slot', address('pokus')]]);
  assert.deepEqual(askedByModel(run)[2], [['found', address('pokus')]]);
  const front = openRun(frontData, map);
  assert.deepEqual(askedByModel(front)[6].map(([kind, truth]) => `${kind} ${truth}`),
    ['found absent', `next ${addressOf(front, frontData.words.indexOf('ahoj'))}`, 'slot head']);
});

test('. and Play in Your turn stop at every question once, in order, and . at each addition\'s end', { skip }, () => {
  for (const [where, { data }] of made.slice(0, 2)) {
    const run = openRun(data, map);
    const expected = [];
    for (let k = 1; k <= run.replay.total; k += 1) {
      for (const { line } of questionsOf(run, k)) expected.push({ step: k, line, free: 0 });
      expected.push(afterStep(run, k));
    }
    const dotted = [];
    for (let at = { step: 0, line: 0, free: 0 }; ;) {
      const next = nextAsked(run, at);
      if (next.step === at.step && next.line === at.line) break;
      dotted.push(next);
      at = next;
    }
    assert.deepEqual(dotted, expected, where);
    const played = [];
    for (let at = { step: 0, line: 0, free: 0 }; ;) {
      const next = stepsToQuestion(run, at, 1e6);
      if (!next.question) {
        assert.ok(next.ended, where);
        break;
      }
      played.push(next.position);
      at = next.position;
    }
    assert.deepEqual(played, expected.filter(({ line }) => line > 0), where);
  }
});

// What the panels show at a question's line while it is open: the
// status, the phases, the calls, the comparison, and every element's
// details; the word added and the new element's address made anonymous.
function panelsWhileAsked(run, question) {
  const position = { step: question.step, line: question.line, free: 0 };
  const list = concealedList(listAt(run, position));
  const stop = concealedStop(stopAt(run, position));
  const names = namesAt(run, position);
  const own = addressOf(run, run.replay.steps[question.step - 1] >> 1);
  const anonymous = (text) => text.replace(/Step \d+/, 'Step K').replace(/line \d+/, 'line L')
    .replaceAll(`"${names.word}"`, '"WORD"').replaceAll(cString(names.word), '"WORD"').replaceAll(own, 'NODE');
  return {
    status: anonymous(plainText(askedStatus('en', run, question, false))),
    phases: askedPhases(phasesOf(run, position)),
    frames: anonymous(framesText(stop, names).join(' | ')),
    compare: compareText('en', stop, names, (i) => run.data.words[i]),
    details: Array.from({ length: run.size }, (_, i) => plainText(askedDetails('en', run, list, i))),
    lit: [...list.walked].some((walked) => walked > 0) || list.looked.some((looked) => looked > 0),
  };
}

test('while a question is open, the panels say the same whatever its answer', { skip }, () => {
  for (const [where, { data }] of made) {
    const run = openRun(data, map);
    const byKind = new Map();
    for (let k = 1; k <= run.replay.total; k += 1) {
      for (const { kind, line } of questionsOf(run, k)) {
        const shown = panelsWhileAsked(run, { step: k, line, kind });
        const at = `${where} ${k} ${kind}`;
        assert.equal(shown.compare, '', at);
        assert.equal(shown.lit, false, `${at}: nothing lit by the walks`);
        assert.deepEqual(shown.phases.taken, [], at);
        // No element yet to come tells when it comes.
        assert.ok(shown.details.every((text) => !/step|inserted/.test(text)), at);
        // The same at every question of a kind: for a word counted and a
        // word inserted, at the head and after any element.
        const told = { ...shown, details: undefined };
        if (!byKind.has(kind)) byKind.set(kind, told);
        assert.deepEqual(told, byKind.get(kind), at);
      }
    }
    assert.deepEqual([...byKind.keys()], run.front ? ['found', 'next', 'slot'] : ['found', 'place', 'next', 'slot'], where);
    assert.equal(byKind.get('found').status, 'Step K of 9: "WORD"; line L is about to run, and it is your turn.'
      .replace('9', String(run.replay.total)), where);
    assert.match(byKind.get('next').frames, /predecessor = \?, node = NODE, slot = \?$/, where);
  }
});

test('the verdict says what the program does and why, in whole sentences', { skip }, () => {
  const run = openRun(made[0][1].data, map);
  const front = openRun(made[1][1].data, map);
  const element = (r, word) => elementAnswer(r.data.words.indexOf(word));
  const cases = [
    // [run, step, kind, answer, what is said]
    [run, 1, 'found', NOT_IN_LIST, 'Right. "pokus" is not in the list: the list is empty, so find_equal has nothing ' +
      'to compare, and a new element is made for it.'],
    [run, 2, 'found', NOT_IN_LIST, 'Right. "druhy" is not in the list: find_equal compares it with every element of ' +
      'the list (1 element), and none is equal, so a new element is made for it.'],
    [run, 3, 'found', NOT_IN_LIST, 'Not so: you answered that it is not in the list. "pokus" is in the list: ' +
      'find_equal compares it with each element from the head, and element 2, at ADR(pokus), holds it, so its ' +
      'count goes up by one.'],
    [run, 5, 'place', element(run, 'druhy'), 'Not so: you answered "druhy", at ADR(druhy). "Ahoj" goes at the ' +
      'head: in byte order it sorts before "druhy", the first word of the list. In byte order capitals come before ' +
      'small letters, so "Ahoj" < "druhy".'],
    [run, 7, 'place', element(run, 'Ahoj'), 'Right. "Don" goes after "Ahoj": list_find_predecessor walks past ' +
      'every word that sorts before it, and in byte order "Ahoj" < "Don" < "ahoj". In byte order capitals come ' +
      'before small letters, so "Don" < "ahoj".'],
    [run, 8, 'place', AT_HEAD, 'Not so: you answered the head. "t" goes after "pokus", at the end: every word of ' +
      'the list sorts before it in byte order, "pokus" last.'],
    [run, 8, 'next', NULL_ANSWER, 'Right. NEXT takes what *slot held: slot is the NEXT of "pokus", the last ' +
      'element, which held NULL.'],
    [run, 9, 'next', NULL_ANSWER, 'Not so: you answered NULL. NEXT takes what *slot held: slot is the NEXT of ' +
      '"pokus", which held the address of "t", ADR(t).'],
    [run, 9, 'slot', element(run, 't'), 'Not so: you answered the NEXT of "t", at ADR(t). slot is ' +
      '&ADR(pokus)->next, the NEXT of "pokus", for "stop" goes after it: *slot = node makes that NEXT point at ' +
      'the new element.'],
    [front, 7, 'slot', AT_HEAD, 'Right. slot is &head, for list_add_front links every new element at the head: ' +
      '*slot = node makes the head point at it.'],
    [front, 7, 'next', element(front, 'ahoj'), 'Right. NEXT takes what *slot held: slot is &head, and the head ' +
      'held the address of the first element, "ahoj", ADR(ahoj).'],
  ];
  for (const [r, step, kind, answer, said] of cases) {
    const question = { step, kind, line: questionsOf(r, step).find((q) => q.kind === kind).line };
    const list = listAt(r, { step, line: question.line, free: 0 });
    const text = plainText(sentences(resultText('en', r, question, answer), whyText('en', r, question, list)));
    assert.equal(text, said.replace(/ADR\((\w+)\)/g, (_, word) => addressOf(r, r.data.words.indexOf(word))),
      `${r.name} ${step} ${kind}`);
  }
});

const told = (key) => ({ key, places: {} });

test('a question takes one answer, by a key that fits it, and the score counts it', { skip }, () => {
  const run = openRun(made[0][1].data, map);
  let state = { run: 0, step: 7, line: 0, free: 0, selected: -1, ...askOff() };
  const set = (change) => { state = { ...state, ...change }; };
  assert.equal(openedAt(run, state, { step: 7, line: 1, free: 0 }), null, 'the mode off asks nothing');
  set(toggledAsk(state));
  assert.equal(askKey(state), 'on');
  const place = questionsOf(run, 7).find((q) => q.kind === 'place');
  const asked = openedAt(run, state, { step: 7, line: place.line, free: 0 });
  assert.deepEqual(asked, { step: 7, line: place.line, kind: 'place' });
  assert.equal(openedAt(run, state, { step: 7, line: place.line + 1, free: 0 }), null);
  set({ line: place.line, question: asked });
  assert.equal(waitingFor(state), asked);
  const list = listAt(run, { step: 7, line: place.line, free: 0 });
  const keys = [
    // [question, key, selected, reply]
    ['found', 'n', -1, { answer: NOT_IN_LIST }],
    ['found', 'h', -1, { note: told('ask.noHead') }],
    ['next', 'n', -1, { answer: NULL_ANSWER }],
    ['place', 'n', -1, { note: told('ask.noNull') }],
    ['place', 'h', -1, { answer: AT_HEAD }],
    ['slot', 'h', 0, { answer: AT_HEAD }],
    ['slot', 'Enter', 0, { answer: elementAnswer(0) }],
    // Nothing selected, or an element not in the list yet.
    ['found', 'Enter', -1, { note: told('ask.selectFirst') }],
    ['found', 'Enter', run.data.words.indexOf('t'), { note: told('ask.selectFirst') }],
  ];
  for (const [kind, key, selected, reply] of keys) {
    assert.deepEqual(keyAnswer({ kind }, key, list, selected), reply, `${kind} ${key} ${selected}`);
  }
  set(answering(run, state, AT_HEAD));
  assert.equal(waitingFor(state), null);
  assert.deepEqual(givenTo(state, asked), { answer: AT_HEAD, right: false });
  assert.equal(answering(run, state, elementAnswer(0)), null, 'one try');
  assert.match(askKey(state), /:given$/);
  // A right answer at the next question, then one of another addition.
  const next = questionsOf(run, 7).find((q) => q.kind === 'next');
  set({ line: next.line, question: { step: 7, line: next.line, kind: 'next' } });
  set(answering(run, state, elementAnswer(run.data.words.indexOf('ahoj'))));
  set({ step: 8, line: 1, question: { step: 8, line: 1, kind: 'found' } });
  set(answering(run, state, NOT_IN_LIST));
  assert.deepEqual(scoreOf(state, 7), { right: 2, asked: 3, additionRight: 1, additionAsked: 2 });
  set(toggledAsk(state));
  assert.deepEqual([state.ask, state.answers.size, state.question], [false, 0, null]);
});

test('a click answers with the box under it, the head or NULL, where the question takes them', { skip }, () => {
  const run = openRun(made[0][1].data, map);
  const list = listAt(run, { step: 9, line: 1, free: 0 });
  const scene = (view) => ({ run, list, view, columns: 3, scale: 1 });
  const last = list.order.length - 1; // the list's last box: row 1, column 2 of 3
  const end = { x: 2 * (BOX_W + GAP_X) + BOX_W + 23, y: (BOX_H + GAP_Y) + LINE * 3 + 10 };
  assert.equal(last, 5);
  const cases = [
    // [view, point, element under it, answers besides elements, answer]
    ['list', [10, 10], 2, ['head'], elementAnswer(2)],
    ['list', [HEAD_AT.x + 4, HEAD_AT.y - 4], -1, ['head'], AT_HEAD],
    ['list', [HEAD_AT.x + 4, HEAD_AT.y - 4], -1, ['absent'], null],
    ['list', [NULL_AT.x + 3, NULL_AT.y + 3], -1, ['null'], NULL_ANSWER],
    ['list', [end.x, end.y], -1, ['null'], NULL_ANSWER],
    ['memory', [end.x, end.y], -1, ['null'], null],
    ['memory', [NULL_AT.x, NULL_AT.y], -1, ['null'], NULL_ANSWER],
    ['list', [NULL_AT.x, NULL_AT.y], -1, ['head'], null],
    ['list', [-300, -300], -1, ['head'], null],
  ];
  for (const [view, [x, y], element, others, answer] of cases) {
    assert.deepEqual(answerAt(scene(view), x, y, element, others), answer, `${view} ${x},${y} ${others}`);
  }
});

test('a count\'s form is its number\'s in each language, and a word is kept whole for its escapes', () => {
  const cases = [
    ['en', 1, 'with every element of the list (1 element), and none'],
    ['en', 5, 'with every element of the list (5 elements), and none'],
    ['cs', 1, 's každým prvkem seznamu (1 prvek) a žádný'],
    ['cs', 3, 's každým prvkem seznamu (3 prvky) a žádný'],
    ['cs', 12, 's každým prvkem seznamu (12 prvků) a žádný'],
  ];
  for (const [lang, count, part] of cases) {
    assert.ok(sayText(lang, 'ask.foundAbsent', { word: { word: 'a' }, count }).includes(part), `${lang} ${count}`);
  }
  assert.deepEqual(say('cs', 'ask.score', { right: 1, asked: 2 }), ['Skóre: správně 1 ze 2.']);
  assert.deepEqual(say('en', 'ask.notInsertedYet', { word: { word: 'a\u0001' } }),
    ['"', { word: 'a\u0001' }, '" is not in the list yet.']);
});

test('the fragment keeps Your turn, and a frame for a question zooms out only as far as words can be read', () => {
  const view = { view: 'list', selected: -1, scale: 1, step: 3, line: 2, free: 0 };
  assert.equal(writeFragment({ ...view, ask: true }, true), '#view=list&step=3&line=2&ask=1');
  assert.equal(writeFragment({ ...view, ask: false }, true), '#view=list&step=3&line=2');
  const limits = { size: 7, scales: [0.002, 4], total: 9, lines: () => 30, freeLines: 20 };
  for (const [hash, ask] of [['#step=3&ask=1', true], ['#step=3&ask=0', undefined], ['#step=3&ask=yes', undefined]]) {
    assert.equal(readFragment(hash, limits).ask, ask, hash);
  }
  assert.equal(readFragment('#ask=1', { size: 7, scales: [0.002, 4] }).ask, undefined, 'a listing has no replay');
  const tall = { x: -100, y: -50, width: 800, height: 8000 };
  const viewport = { width: 600, height: 400 };
  assert.deepEqual(framed({ scale: 1, x: 0, y: 0 }, tall, viewport, 0.4), { scale: 0.4, x: -120, y: -70 });
  assert.ok(framed({ scale: 1, x: 0, y: 0 }, tall, viewport).scale < 0.05, 'without a least scale, all of it');
  assert.deepEqual(framed({ scale: 1, x: -200, y: -100 }, { x: -100, y: -50, width: 300, height: 200 }, viewport, 0.4), {});
});
