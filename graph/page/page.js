// wordlist-graph's page, wired: the whole view lives in `state`, which
// only the named actions below change, each through `update`. `update`
// works out the list at the position when the position moved, refreshes
// every panel, asks for a picture and writes the fragment
// (#view=memory&select=17&zoom=0.5&step=120&line=3). A link opened, a
// key pressed and a button clicked go the same way, so they cannot show
// different things for the same position.
import { codeMap } from './code_steps.js';
import { drawScene } from './drawing.js';
import { readFragment, writeFragment } from './fragment.js';
import {
  GAP_X, GAP_Y, boxPlace, columnsFor, elementAtRank, rankAt, rankCount, rankIn, worldExtent,
} from './layout.js';
import {
  $, render, showCodeOf, showDetails, showPosition, showSwitch, showTotals, showView,
} from './panels.js';
import { drawPlot, plotMaxima } from './plot.js';
import {
  afterStep, lineStep, listAt, present, samePosition,
} from './position.js';
import {
  additionOf, freeLength, openRun, planLength, stopAt,
} from './run.js';
import {
  followed, found, pointedText, preceded, titleText,
} from './texts.js';
import {
  MAX_SCALE, MIN_SCALE, centred, fitted, revealed, zoomed,
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
// answer to a key; `answer`: what find said of a word not found;
// `selections`: each run's selected word, kept while the other is shown.
let state = null;
// What the position determines: the list there and the stop of the code.
let shown = null;
let plotted = null;
let drawPending = false;
let saveTimer = 0;
let playing = null;
let drag = null;

const run = () => runs[state.run];
const list = () => shown.list;
const position = () => ({ step: state.step, line: state.line, free: state.free });

// Shows a page's data (one run, or two as its member "other") with the
// list's own source, `source`, to step through. `signal`, an AbortSignal,
// ends its listeners: for a page that shows other data after it.
// `extra` (`name=value`) is kept in the fragment after the page's own
// fields.
export function startPage(pageData, source, signal = undefined, extra = '') {
  canvas = $('canvas');
  context = canvas.getContext('2d');
  listening = { signal };
  fragmentExtra = extra;
  const code = pageData.steps ? codeMap(source) : null;
  runs = (pageData.other ? [pageData, pageData.other] : [pageData]).map((data) => openRun(data, code));
  replayed = runs[0].replay !== null;
  state = {
    run: 0, step: 0, line: 0, free: 0, selected: -1, view: pageData.view, scale: 1,
    x: -GAP_X * 2, y: -GAP_Y, note: '', answer: null, selections: runs.map(() => null),
  };
  shown = { run: -1, position: null, list: null, stop: null };
  plotted = { run: -1, width: 0, maxima: null };
  drawPending = false;
  playing = null;
  drag = null;
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
  if (moved) {
    shown = { run: state.run, position: now, list: listAt(run(), now), stop: replayed ? stopAt(run(), now) : null };
    if (runChanged) showRun();
    if (replayed) showPosition(run(), now, shown, runs.length > 1);
  }
  const follow = how.centre ?? how.reveal ?? -1;
  if (follow >= 0 && present(list(), follow)) {
    Object.assign(state, how.centre !== undefined ? centring(follow) : revealing(follow));
  }
  showDetails(run(), list(), state.selected, state.answer);
  showView(state.view);
  $('note').textContent = state.note;
  requestDraw();
  if (how.soon) saveSoon();
  else save();
  if (runChanged && !first) performance.measure('run', { start, end: performance.now() });
  else if (moved) performance.measure(now.line || now.free ? 'line' : 'step', { start, end: performance.now() });
}

// ---- The panels.

// The run shown: its code, and the switch to the other.
function showRun() {
  if (!replayed) return;
  showCodeOf(run());
  if (runs.length > 1) showSwitch(runs[1 - state.run].name);
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

// Opens a link: view, run, position, selection and zoom from the
// fragment, the selected element centred. Elements are named by their
// final position.
function openLink(hash) {
  const scales = [MIN_SCALE, MAX_SCALE];
  const asked = readFragment(hash, { size: run().size, scales, runs: runs.map((r) => r.name) });
  const target = runs[asked.run ?? state.run];
  const read = readFragment(hash, {
    size: target.size, scales, total: target.replay?.total,
    lines: (k) => planLength(target, k), freeLines: replayed ? freeLength(target) : 0,
  });
  const change = { run: asked.run ?? state.run, selected: read.selected, note: '', answer: null };
  if (read.view) change.view = read.view;
  if (read.scale) change.scale = read.scale;
  if (replayed) Object.assign(change, { step: read.step, line: read.line, free: read.free });
  update(change, { centre: read.selected });
}

// ---- The picture.

const columns = () => columnsFor(run().size);
const viewport = () => ({ width: canvas.clientWidth, height: canvas.clientHeight });
const toWorld = (px, py) => ({ x: state.x + px / state.scale, y: state.y + py / state.scale });
const boxOf = (i) => boxPlace(rankIn(run(), list(), state.view, i), columns());

function requestDraw() {
  if (drawPending) return;
  drawPending = true;
  requestAnimationFrame(draw);
}

// A canvas the size it is shown, in device pixels; its context scaled.
function fitCanvas(target) {
  const ratio = window.devicePixelRatio || 1;
  const width = target.clientWidth;
  const height = target.clientHeight;
  if (target.width !== Math.round(width * ratio)) target.width = Math.round(width * ratio);
  if (target.height !== Math.round(height * ratio)) target.height = Math.round(height * ratio);
  const pen = target.getContext('2d');
  pen.setTransform(ratio, 0, 0, ratio, 0, 0);
  return { pen, width, height, ratio };
}

function draw() {
  drawPending = false;
  const start = performance.now();
  const { width, height, ratio } = fitCanvas(canvas);
  drawScene(context, {
    run: run(), list: list(), stop: shown.stop, step: state.step, view: state.view,
    selected: state.selected, scale: state.scale, x: state.x, y: state.y, width, height, ratio,
    columns: columns(),
  });
  if (replayed) drawCost();
  performance.measure('draw', { start, end: performance.now() });
  if (!document.documentElement.hasAttribute('data-ready')) {
    document.documentElement.setAttribute('data-ready', '');
    performance.mark('ready');
  }
}

function drawCost() {
  const { pen, width, height } = fitCanvas($('plot'));
  if (plotted.run !== state.run || plotted.width !== width) {
    plotted = { run: state.run, width, maxima: plotMaxima(run().replay, width) };
  }
  drawPlot(pen, { runs, shown: state.run, step: state.step, width, height, maxima: plotted.maxima });
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

// ---- What the user does.

function select(i, note = '') {
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
  const reply = found(run(), list(), text);
  if (reply.select !== undefined) select(reply.select);
  else update({ selected: -1, note: '', answer: reply.answer });
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
function goTo(next, how = {}) {
  const element = next.step > 0 ? additionOf(run(), next.step).element : -1;
  update({ ...next, answer: null }, {
    soon: !(next.line || next.free), ...how, reveal: state.selected < 0 ? element : -1,
  });
}

const step = (k, how) => goTo(afterStep(run(), k), how);
const moveLine = (delta) => goTo(lineStep(run(), position(), delta));

// Goes to the next addition of the selected element's word.
function nextOfWord() {
  if (state.selected < 0) {
    update({ note: 'Select an element first: its word\'s next addition is looked for.' });
    return;
  }
  const later = run().replay.occurrences[state.selected].find((k) => k > state.step);
  if (later === undefined) update({ note: 'No later addition of this word.' });
  else step(later);
}

// Two runs of one text: the switch, at the same step. Each run keeps
// its own selection, by word; a run not yet shown takes the word
// selected in the other.
function switchRun() {
  if (runs.length < 2) return;
  const index = 1 - state.run;
  const word = state.selected >= 0 ? run().data.words[state.selected] : null;
  const selections = state.selections.map((kept, r) => (r === state.run ? word : kept));
  const wanted = selections[index] ?? word;
  const selected = wanted === null ? -1 : runs[index].data.words.indexOf(wanted);
  update({ run: index, selections, selected, line: 0, free: 0, note: '', answer: null });
}

// Play: on by as many additions as the speed asks for the time passed.
function play() {
  if (playing) {
    playing = null;
    $('play').setAttribute('aria-pressed', 'false');
    return;
  }
  if (state.step >= run().replay.total) step(0);
  playing = { last: performance.now(), carry: 0 };
  $('play').setAttribute('aria-pressed', 'true');
  requestAnimationFrame(advance);
}

function advance(now) {
  if (!playing) return;
  const due = playing.carry + ((now - playing.last) / 1000) * Number($('speed').value);
  playing.last = now;
  const whole = Math.floor(due);
  playing.carry = due - whole;
  if (whole > 0) step(state.step + whole, { soon: true });
  if (state.step >= run().replay.total) {
    play();
    return;
  }
  requestAnimationFrame(advance);
}

// ---- Wiring.

const keys = {
  m: switchView, ArrowRight: follow, ArrowLeft: back, Home: () => ends(false), End: () => ends(true),
  '+': () => zoom(1.25), '=': () => zoom(1.25), '-': () => zoom(0.8), 0: fit,
};
const replayKeys = {
  '.': () => step(state.step + 1), ',': () => step(state.step - 1), ' ': play, w: nextOfWord,
  ']': () => moveLine(1), '[': () => moveLine(-1), r: switchRun,
};

function onKey(event) {
  if (event.target === $('find') || event.target instanceof HTMLTextAreaElement || event.ctrlKey || event.metaKey || event.altKey) return;
  if (event.target instanceof HTMLButtonElement && (event.key === ' ' || event.key === 'Enter')) return;
  if (event.target === $('step') && /^(Arrow|Home|End|Page)/.test(event.key)) return;
  const action = keys[event.key] || (replayed && replayKeys[event.key]);
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

const pointAt = (event) => {
  const rect = canvas.getBoundingClientRect();
  return toWorld(event.clientX - rect.left, event.clientY - rect.top);
};

function onPointerDown(event) {
  drag = { x: event.clientX, y: event.clientY, moved: false };
  canvas.setPointerCapture(event.pointerId);
  canvas.focus();
}

function onPointerMove(event) {
  if (drag) {
    const dx = event.clientX - drag.x;
    const dy = event.clientY - drag.y;
    if (drag.moved || Math.abs(dx) + Math.abs(dy) > 3) {
      Object.assign(drag, { x: event.clientX, y: event.clientY, moved: true });
      pan(dx, dy);
    }
    return;
  }
  const point = pointAt(event);
  const i = elementAt(point.x, point.y);
  render($('pointer'), i >= 0 ? pointedText(run(), list(), i) : []);
}

function onPointerUp(event) {
  const clicked = drag && !drag.moved;
  drag = null;
  if (!clicked) return;
  const point = pointAt(event);
  const i = elementAt(point.x, point.y);
  if (i >= 0) select(i);
}

function onWheel(event) {
  event.preventDefault();
  const rect = canvas.getBoundingClientRect();
  zoom(Math.exp(-event.deltaY / 400), event.clientX - rect.left, event.clientY - rect.top);
}

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
  $('forward').addEventListener('click', () => step(state.step + 1), listening);
  $('play').addEventListener('click', play, listening);
  $('next-of-word').addEventListener('click', nextOfWord, listening);
  $('line-forward').addEventListener('click', () => moveLine(1), listening);
  $('line-back').addEventListener('click', () => moveLine(-1), listening);
  $('plot').addEventListener('click', onPlotClick, listening);
  if (runs.length > 1) {
    $('run').hidden = false;
    $('run').addEventListener('click', switchRun, listening);
  }
  showTotals(runs);
}

function init() {
  $('title').textContent = titleText(run());
  document.title = `wordlist: ${$('title').textContent}`;
  if (replayed) {
    initReplay();
    state.step = run().replay.total;
  }
  document.addEventListener('keydown', onKey, listening);
  $('find').addEventListener('keydown', onFindKey, listening);
  $('view').addEventListener('click', switchView, listening);
  $('zoom-in').addEventListener('click', () => zoom(1.25), listening);
  $('zoom-out').addEventListener('click', () => zoom(0.8), listening);
  $('fit').addEventListener('click', fit, listening);
  canvas.addEventListener('pointerdown', onPointerDown, listening);
  canvas.addEventListener('pointermove', onPointerMove, listening);
  canvas.addEventListener('pointerup', onPointerUp, listening);
  canvas.addEventListener('wheel', onWheel, { ...listening, passive: false });
  window.addEventListener('resize', requestDraw, listening);
  window.addEventListener('hashchange', () => openLink(location.hash), listening);
  openLink(location.hash);
  draw(); // the first picture now, not a frame later
  canvas.focus();
}

