// wordlist-graph's page, wired: the whole view lives in `state`, which
// only the named actions below change, each through `update`. `update`
// works out the list at the position when the position moved, refreshes
// every panel, asks for a picture and writes the fragment
// (#view=memory&select=17&zoom=0.5&step=120&line=3). A link opened, a
// key pressed and a button clicked go the same way, so they cannot show
// different things for the same position.
import { askActions } from './ask_actions.js';
import { askKey, askOff, marksOf, waitingFor } from './ask.js';
import { ANSWER_SCALE, drawAnswerMarks } from './ask_marks.js';
import { askSaid, forgetAsk, showAsk } from './ask_panel.js';
import { pointedAnswer } from './ask_told.js';
import { fitCanvas, forgetSize, noteSizes, sameSize, sizeOf } from './canvas_sizes.js';
import { drawScene, labelsLeft } from './drawing.js';
import { PLAY_SPEEDS, linkedChange, writeFragment } from './fragment.js';
import {
  languageOf, linkedLanguage, sayText,
} from './language.js';
import {
  boxPlace, columnsFor, elementAtRank, pointersRect, rankAt, rankCount, rankIn, worldExtent,
} from './layout.js';
import {
  $, findElements, forgetPanels, render, revealLine, write, showDetails, showHint, showLanguage, showLineStep,
  showPlaying, showPosition, showScene, showSpeeds, showSwitch, showView,
} from './panels.js';
import { fadeOver, snapshot } from './fade.js';
import { followGestures } from './gestures.js';
import { followedElements } from './pointers.js';
import { drawPlot, plotMaxima } from './plot.js';
import {
  afterStep, lineStep, lineSteps, listAt, present, progressAt, samePosition,
} from './position.js';
import { codeMap } from './code_steps.js';
import { concealedList, concealedStop, stepsToQuestion } from './questions.js';
import {
  additionOf, openRun, planOf, stopAt, switchedRun,
} from './run.js';
import {
  followed, found, pointedText, preceded,
} from './texts.js';
import {
  START, centred, fitted, framed, revealed, zoomed,
} from './view.js';

// The page's state, and the one update that shows it. Set by startPage.
let canvas = null;
let context = null;
let listening = {};
let fragmentExtra = '';
let runs = [];
let replayed = false;
// The whole view. `step`, `line`, `free`: the position (see
// position.js); `selected`: an element, -1 for none; `note`: the last
// answer to a key and `answer`: what find said of a word not found, each
// a text's key and places (or null), said in the language shown;
// `selections`: each run's selected word, kept while the other is shown;
// `speed` and `lineSpeed`: Play's, in additions and in lines a second;
// `lang`: the language the page speaks, and `langKept`: whether the
// reader chose it (with the switch, or a link's lang=), so that the link
// keeps it; one the browser chose is left to the browser that opens the
// link; `ask`, `question` and `answers`: Your turn's (see ask.js).
let state = null;
// What the page shows was last written for: the run, the language, and
// what the position determines, with the question open there (`open`,
// null for none): the list there and the stop of the code, as the
// question lets them be shown.
let shown = null;
// The plot's maxima, for the run and width they were worked out for.
let plotted = null;
// The frame a picture is asked for in, or 0.
let drawFrame = 0;
let saveTimer = 0;
// Play, while it is on: its last frame's time, the additions or lines
// not yet taken, whether it plays lines, and the frame it asked for.
let playing = null;
// The picture fading out after `*slot = node`.
let fading = null;
let saidAt = 0;
let sayTimer = 0;
// The element under the mouse pointer, -1 for none: its line is written
// again in another language.
let pointedAt = -1;
const FADE_MS = 250; // under 300 ms
const SAY_EVERY_MS = 500;

const run = () => runs[state.run];
const list = () => shown.list;
const position = () => ({ step: state.step, line: state.line, free: state.free });
// What every panel shows follows from, besides its own inputs: the run,
// as startPage opened it for its text, the language, the position and
// Your turn's question there. A panel that skips a write compares this,
// with what else its text follows from.
const shownFrom = () => ({ run: run(), lang: state.lang, ...position(), asking: askKey(state) });

// Shows a page's data (one run, or two as its member "other") with the
// list's own source, `source`, to step through. `signal`, an AbortSignal,
// ends its listeners: for a page that shows other data after it.
// `extra` (`name=value`) is kept in the fragment after the page's own
// fields. `language` ({ lang, kept }) is the language to start in, unless
// the link names one; by default the reader's browser's.
export function startPage(pageData, source, signal = undefined, extra = '', language = null) {
  findElements();
  // Nothing of a page shown before: no panel's last text, no frame or
  // timer asked for, no Play.
  forgetPanels();
  forgetAsk();
  cancelAnimationFrame(drawFrame);
  if (playing) cancelAnimationFrame(playing.frame);
  clearTimeout(saveTimer);
  clearTimeout(sayTimer);
  saidAt = 0;
  pointedAt = -1;
  canvas = $('canvas');
  context = canvas.getContext('2d');
  listening = { signal };
  fragmentExtra = extra;
  const code = pageData.steps ? codeMap(source) : null;
  runs = (pageData.other ? [pageData, pageData.other] : [pageData]).map((data) => openRun(data, code));
  replayed = runs[0].replay !== null;
  state = {
    run: 0, step: 0, line: 0, free: 0, selected: -1, view: pageData.view, scale: 1, ...START,
    note: null, answer: null, selections: runs.map(() => null),
    left: runs.map(() => null), ...PLAY_SPEEDS, ...askOff(),
    lang: linkedLanguage(location.hash) ?? language?.lang ?? languageOf(navigator.languages),
    langKept: linkedLanguage(location.hash) !== null || (language?.kept ?? false),
  };
  shown = { run: -1, lang: null, position: null, asking: '', open: null, list: null, stop: null };
  plotted = { run: null, width: 0, upTo: 0, maxima: null };
  drawFrame = 0;
  forgetSize();
  playing = null;
  fading = null;
  init();
}

// ---- The one update.

// Applies `change` to the state, then shows it. `how.reveal` brings an
// element into view, `how.centre` centres it; `how.soon` writes the
// fragment once changes come to rest (zooming, playing).
function update(change, how = {}) {
  const start = performance.now();
  const first = shown.run < 0;
  const runChanged = change.run !== undefined && change.run !== shown.run;
  Object.assign(state, change);
  const now = position();
  const moved = runChanged || !samePosition(now, shown.position);
  // A question is asked at its position: one moved from is closed.
  if (moved && change.question === undefined) state.question = null;
  const asking = askKey(state);
  const asked = asking !== shown.asking;
  const langChanged = state.lang !== shown.lang;
  if (moved || asked) {
    const open = waitingFor(state);
    const [whole, stop] = [listAt(run(), now), replayed ? stopAt(run(), now) : null];
    shown = {
      ...shown, run: state.run, position: now, asking, open,
      list: open ? concealedList(whole) : whole, stop: open ? concealedStop(stop) : stop,
    };
  }
  if (langChanged) {
    shown = { ...shown, lang: state.lang };
    showLanguage(state.lang, run(), replayed ? runs : null,
      pointedAt >= 0 && present(list(), pointedAt) ? pointedText(state.lang, run(), list(), pointedAt) : []);
  }
  if (runChanged || langChanged) showRun();
  if ((moved || asked || langChanged) && replayed) {
    showPosition(state.lang, run(), now, shown, runs.length > 1);
    showLineStep(state.lang, run(), now, shown.open !== null);
    announce();
  }
  const follow = how.centre ?? how.reveal ?? -1;
  if (how.pointers && shown.stop) Object.assign(state, framing());
  else if (follow >= 0 && present(list(), follow)) {
    Object.assign(state, how.centre !== undefined ? centring(follow) : revealing(follow));
  }
  showDetails(state.lang, run(), list(), state.selected, state.answer, shown.open);
  showView(state.lang, state.view);
  if (replayed) {
    showSpeeds(state);
    showAsk(state.lang, run(), state, list());
  }
  write($('note'), state.note ? sayText(state.lang, state.note.key, state.note.places) : '');
  requestDraw();
  if (how.soon) saveSoon();
  else save();
  if (runChanged && !first) performance.measure('run', { start, end: performance.now() });
  else if (moved) performance.measure(now.line || now.free ? 'line' : 'step', { start, end: performance.now() });
  else if (asked) performance.measure('answer', { start, end: performance.now() });
}

// ---- The panels.

// The run shown: the switch to the other. (Its code is listed with the
// position, for the run it is of.)
function showRun() {
  if (replayed && runs.length > 1) showSwitch(state.lang, runs[1 - state.run].name);
}

// ---- The fragment.

function save() {
  clearTimeout(saveTimer);
  const fragment = writeFragment(state, replayed, runs.length > 1 ? run().name : '') +
    (fragmentExtra ? `&${fragmentExtra}` : '');
  if (location.hash !== fragment) history.replaceState(null, '', fragment);
}

function saveSoon() {
  clearTimeout(saveTimer);
  saveTimer = setTimeout(save, 250);
}

// Opens a link (see linkedChange), the selected element centred; with
// none, the view framed on the code's pointers.
function openLink(hash) {
  const offered = (choice) => [...choice.options].map((option) => Number(option.value));
  const change = linkedChange(hash, {
    runs, state, replayed, speeds: offered($('speed')), lineSpeeds: offered($('line-speed')),
  });
  update(change, { centre: change.selected, pointers: change.selected < 0 });
}

// ---- The picture.

// A canvas laid out anew: the picture drawn to its size, and in the code
// the view framed again on the pointers, whose boxes may have moved.
function onResize(entries) {
  const before = sizeOf(canvas);
  noteSizes(entries);
  if (sameSize(sizeOf(canvas), before)) requestDraw();
  else update({}, { pointers: true });
}
const viewport = () => sizeOf(canvas);
const columns = () => columnsFor(viewport().width);
const toWorld = (px, py) => ({ x: state.x + px / state.scale, y: state.y + py / state.scale });
const boxOf = (i) => boxPlace(rankIn(run(), list(), state.view, i), columns());

function requestDraw() {
  if (drawFrame === 0) drawFrame = requestAnimationFrame(draw);
}

function draw() {
  cancelAnimationFrame(drawFrame); // drawn now, not again in that frame
  drawFrame = 0;
  const start = performance.now();
  const { width, height, ratio } = fitCanvas(canvas);
  const scene = { ...sceneOf(), width, height, ratio };
  const drawn = drawScene(context, scene);
  const marks = marksOf(run(), state);
  if (marks) drawAnswerMarks(context, scene, marks);
  // A question opens on the picture as it is: no earlier one fades over it.
  if (shown.open) fading = null;
  if (fading && !fadeOver(context, fading, FADE_MS)) fading = null;
  if (fading) requestDraw();
  showScene(shownFrom(), list(), drawn);
  if (replayed) drawCost();
  // The one reading of the layout, once all is written.
  revealLine();
  performance.measure('draw', { start, end: performance.now() });
  if (!document.documentElement.hasAttribute('data-ready')) {
    document.documentElement.setAttribute('data-ready', '');
    performance.mark('ready');
  }
}

function drawCost() {
  const { pen, width, height } = fitCanvas($('plot'));
  // While a question is open, the plot ends where its addition starts.
  const upTo = shown.open ? state.step - 1 : run().replay.total;
  if (plotted.run !== run() || plotted.width !== width || plotted.upTo !== upTo) {
    plotted = { run: run(), width, upTo, maxima: plotMaxima(run().replay, width, upTo) };
  }
  drawPlot(pen, {
    runs, shown: state.run, progress: shown.open ? upTo : progressAt(run(), position()), width, height,
    maxima: plotted.maxima, upTo,
  });
}

// The element whose box holds the world point, or -1.
function elementAt(wx, wy) {
  const rank = rankAt(wx, wy, columns(), rankCount(run(), list(), state.view));
  const i = rank < 0 ? -1 : elementAtRank(run(), list(), state.view, rank);
  return i >= 0 && present(list(), i) ? i : -1;
}

// The view that brings an element's box into view, or centres it.
const world = () => worldExtent(run().size, columns());
const revealing = (i) => revealed(state, boxOf(i), viewport(), world());
const centring = (i) => centred(state, boxOf(i), viewport(), world());

// The view that keeps every pointer's target, the head and the element
// being made on screen (and the null marks under the head), with their
// labels; while a question is open, every box too, as far as their words
// can be read.
const framing = () => {
  const targets = followedElements(shown.stop, list());
  const left = labelsLeft(shown.stop);
  if (!shown.open) return framed(state, pointersRect(targets.map(boxOf), left), viewport());
  return framed(state, pointersRect([...targets, ...list().order].map(boxOf), left), viewport(), ANSWER_SCALE);
};
// The scene the picture is drawn from, but for the canvas's size.
const sceneOf = () => ({
  run: run(), lang: state.lang, list: list(), stop: shown.stop, step: state.step, view: state.view,
  selected: state.selected, scale: state.scale, x: state.x, y: state.y, columns: columns(),
});

// ---- What the user does.

function select(i, note = null) {
  update({ selected: i, note, answer: null }, { reveal: i });
}

// Answers { select } or { note } from texts.js.
function answer(reply) {
  if (reply.select !== undefined) select(reply.select);
  else if (reply.note) update({ note: reply.note });
}

const follow = () => answer(followed(run(), list(), state.selected));
const back = () => answer(preceded(list(), state.selected));

function find(text) {
  if (text === '') return;
  if (waitingFor(state)) {
    update({ note: { key: 'ask.findWaits', places: {} } });
    return;
  }
  const reply = found(run(), list(), text);
  if (reply.select !== undefined) select(reply.select);
  else update({ selected: -1, note: null, answer: reply.answer });
}

const ends = (last) => list().order.length > 0 && select(list().order[last ? list().order.length - 1 : 0]);
const switchView = () => update({ view: state.view === 'list' ? 'memory' : 'list' }, { reveal: state.selected });

// Zooms by `factor` about a point on screen (the centre by default).
const zoom = (factor, px = viewport().width / 2, py = viewport().height / 2) => update(
  zoomed(state, factor, px, py), { soon: true });

// Fits the whole list in the window.
const fit = () => update(fitted(viewport(), world()), { soon: true });

const pan = (dx, dy) => update({ x: state.x - dx / state.scale, y: state.y - dy / state.scale },
  { soon: true });

// Goes to a position; with nothing selected, the addition's element is
// brought into view.
// In the code, the view follows the pointers instead.
// `how.question`: the question the step there asks (see ask.js).
function goTo(next, { question = null, ...how } = {}) {
  const element = next.step > 0 ? additionOf(run(), next.step).element : -1;
  const inCode = next.line > 0 || next.free > 0;
  update({ ...next, answer: null, question }, {
    soon: !inCode || playing !== null, ...how, pointers: inCode, reveal: state.selected < 0 ? element : -1,
  });
}

const step = (k, how) => goTo(afterStep(run(), k), how);

// Your turn's actions, through the page's own.
const turn = askActions({
  state: () => state, run, list, stop: () => shown.stop, update, goTo, step, stopPlay: () => playing && play(),
  world: toWorld, elementAt, scene: () => sceneOf(), focus: () => canvas.focus(),
});

// One line step; the one that links the new element fades the picture
// before it into the picture after.
function moveLine(delta) {
  if (delta > 0 && turn.waits()) return;
  const next = lineStep(run(), position(), delta);
  const plan = planOf(run(), next.step);
  if (delta > 0 && next.free === 0 && next.line > 0 && next.line === plan?.linkedFrom) startFade();
  if (delta > 0) turn.forwardTo(next);
  else goTo(next);
}

// Goes to line step `line` of the addition (or of list_free) paused in,
// or last shown.
function slideLine(line) {
  if (state.free > 0) goTo({ step: state.step, line: 0, free: Math.max(1, line) });
  else if (line > 0) goTo({ step: state.step, line, free: 0 });
  else goTo(afterStep(run(), state.step));
}

function startFade() {
  if (!matchMedia('(prefers-reduced-motion: reduce)').matches) fading = snapshot(canvas);
}

// Announces the line about to run with its code, and what a comparison
// compares; between additions, the status. During Play at most one in
// SAY_EVERY_MS.
function announce() {
  clearTimeout(sayTimer);
  const wait = saidAt + SAY_EVERY_MS - performance.now();
  if (playing && wait > 0) {
    sayTimer = setTimeout(announce, wait);
    return;
  }
  saidAt = performance.now();
  const stop = shown.stop;
  write($('said'), askSaid(state.lang, run(), state, shown.list) ?? (stop ? sayText(state.lang, 'said.line', {
    line: stop.line, code: run().code.lines[stop.line - 1].trim(), compare: $('compare').textContent,
  }).trim() : $('status').textContent));
}

// Goes to the next addition of the selected element's word.
function nextOfWord() {
  if (state.selected < 0) {
    update({ note: { key: 'note.selectFirst', places: {} } });
    return;
  }
  const later = run().replay.occurrences[state.selected].find((k) => k > state.step);
  if (later === undefined) update({ note: { key: 'note.noLater', places: {} } });
  else step(later);
}

// Two runs of one text: the switch, at the same step (see switchedRun).
function switchRun() {
  if (runs.length > 1) update({ ...switchedRun(runs, state, position()), note: null, answer: null });
}

// Play: on by as many additions as the speed asks for the time passed;
// started paused in the code, on by line steps at the speed in lines.
function play() {
  if (playing) {
    cancelAnimationFrame(playing.frame);
    playing = null;
    showPlaying(false);
    return;
  }
  if (turn.waits()) return;
  // In Your turn Play takes line steps, to stop at each question.
  const lines = state.ask || state.line > 0 || state.free > 0;
  if (!lines && state.step >= run().replay.total) step(0);
  playing = { last: performance.now(), carry: 0, lines, frame: 0 };
  showPlaying(true);
  playing.frame = requestAnimationFrame(advance);
}

// Play's speeds, as their selects are set: Play goes on at the new one.
const setSpeed = () => update({ speed: Number($('speed').value) });
const setLineSpeed = () => update({ lineSpeed: Number($('line-speed').value) });

function advance(now) {
  if (!playing) return;
  const speed = playing.lines ? state.lineSpeed : state.speed;
  const due = playing.carry + ((now - playing.last) / 1000) * speed;
  playing.last = now;
  const whole = Math.floor(due);
  playing.carry = due - whole;
  let ended = false;
  if (whole > 0 && playing.lines) {
    const next = state.ask ? stepsToQuestion(run(), position(), whole) : lineSteps(run(), position(), whole);
    ended = next.ended;
    if (!next.question) goTo(next.position);
    else {
      play(); // stopped at the question, before it opens
      turn.forwardTo(next.position);
      return;
    }
  } else if (whole > 0) {
    step(state.step + whole, { soon: true });
  }
  if (ended || (!playing.lines && state.step >= run().replay.total)) {
    play();
    return;
  }
  playing.frame = requestAnimationFrame(advance);
}

// ---- Wiring.

const keys = {
  m: switchView, ArrowRight: follow, ArrowLeft: back, Home: () => ends(false), End: () => ends(true),
  '+': () => zoom(1.25), '=': () => zoom(1.25), '-': () => zoom(0.8), 0: fit,
};
const replayKeys = {
  '.': () => turn.forward(), ',': () => step(state.step - 1), ' ': play, w: nextOfWord,
  ']': () => moveLine(1), '[': () => moveLine(-1), r: switchRun, y: () => turn.toggle(),
};

function onKey(event) {
  if (event.target === $('find') || event.target instanceof HTMLTextAreaElement || event.ctrlKey || event.metaKey || event.altKey) return;
  if (event.target instanceof HTMLButtonElement && (event.key === ' ' || event.key === 'Enter')) return;
  // A slider's and a select's own keys move them, not the list.
  const own = event.target === $('step') || event.target === $('line-step') || event.target instanceof HTMLSelectElement;
  if (own && /^(Arrow|Home|End|Page)/.test(event.key)) return;
  const action = (replayed && turn.keyAction(event.key)) || keys[event.key] || (replayed && replayKeys[event.key]);
  if (!action) return;
  event.preventDefault();
  action();
}

function onFindKey(event) {
  if (event.key === 'Enter') {
    event.preventDefault();
    find($('find').value);
  } else if (event.key === 'Escape') {
    canvas.focus();
  }
}

// The element under a point of the canvas (in CSS pixels), or -1.
const elementUnder = (px, py) => {
  const { x, y } = toWorld(px, py);
  return elementAt(x, y);
};

// What the canvas's pointers ask for (see gestures.js).
const gestures = {
  pan,
  zoom,
  click: (px, py) => {
    const i = elementUnder(px, py);
    const given = turn.answerUnder(px, py);
    if (given) turn.answerWith(given);
    else if (i >= 0) select(i);
  },
  point: (px, py) => {
    pointedAt = elementUnder(px, py);
    render($('pointer'), pointedAt >= 0 ? pointedText(state.lang, run(), list(), pointedAt)
      : pointedAnswer(state.lang, turn.answerUnder(px, py)));
  },
};

function onPlotClick(event) {
  const rect = $('plot').getBoundingClientRect();
  step(Math.round(((event.clientX - rect.left) / rect.width) * run().replay.total));
}

function initReplay() {
  $('timeline').hidden = false;
  const slider = $('step');
  slider.max = String(run().replay.total);
  slider.addEventListener('input', () => step(Number(slider.value)), listening);
  $('back').addEventListener('click', () => step(state.step - 1), listening);
  $('forward').addEventListener('click', turn.forward, listening);
  $('play').addEventListener('click', play, listening);
  $('next-of-word').addEventListener('click', nextOfWord, listening);
  $('line-forward').addEventListener('click', () => moveLine(1), listening);
  $('line-back').addEventListener('click', () => moveLine(-1), listening);
  $('line-step').addEventListener('input', () => slideLine(Number($('line-step').value)), listening);
  $('speed').addEventListener('change', setSpeed, listening);
  $('line-speed').addEventListener('change', setLineSpeed, listening);
  turn.wire(listening);
  $('lesson').hidden = false;
  $('stage').classList.add('taught');
  $('cost').hidden = false;
  showHint(() => canvas.focus(), listening);
  $('plot').addEventListener('click', onPlotClick, listening);
  $('run').hidden = runs.length < 2;
  if (runs.length > 1) $('run').addEventListener('click', switchRun, listening);
}

// The reader's choice of language, kept in the link.
const switchLanguage = () => update({ lang: languageOf([$('lang').value]), langKept: true });

function init() {
  // Play is off, and no box is under the pointer yet: of this page's.
  showPlaying(false);
  render($('pointer'), []);
  if (replayed) {
    initReplay();
    state.step = run().replay.total;
  }
  document.addEventListener('keydown', onKey, listening);
  $('find').addEventListener('keydown', onFindKey, listening);
  $('view').addEventListener('click', switchView, listening);
  $('lang').addEventListener('change', switchLanguage, listening);
  $('zoom-in').addEventListener('click', () => zoom(1.25), listening);
  $('zoom-out').addEventListener('click', () => zoom(0.8), listening);
  $('fit').addEventListener('click', fit, listening);
  followGestures(canvas, gestures, listening);
  $('first').addEventListener('click', () => ends(false), listening);
  $('last').addEventListener('click', () => ends(true), listening);
  $('previous').addEventListener('click', back, listening);
  $('next').addEventListener('click', follow, listening);
  window.addEventListener('resize', requestDraw, listening);
  const resized = new ResizeObserver(onResize);
  for (const target of [canvas, $('plot')]) resized.observe(target);
  listening.signal?.addEventListener('abort', () => resized.disconnect());
  window.addEventListener('hashchange', () => openLink(location.hash), listening);
  // The fixed texts in the language the link opens in, before the page is
  // first laid out.
  showLanguage(state.lang, run(), replayed ? runs : null, []);
  shown.lang = state.lang;
  const before = sizeOf(canvas);
  openLink(location.hash);
  // The panels just written may have taken some of the canvas's room:
  // the link is opened again on the canvas as it now is.
  forgetSize(canvas);
  if (!sameSize(sizeOf(canvas), before)) openLink(location.hash);
  draw(); // the first picture now, not a frame later
  canvas.focus();
}

