// wordlist-graph's page, wired: the whole view lives in `state`, which
// only the named actions below change, each through `update`. `update`
// works out the list at the position when the position moved, refreshes
// every panel, asks for a picture and writes the fragment
// (#view=memory&select=17&zoom=0.5&step=120&line=3). A link opened, a
// key pressed and a button clicked go the same way, so they cannot show
// different things for the same position.
import { codeMap, shownRanges } from './code_steps.js';
import { drawScene } from './drawing.js';
import { readFragment, writeFragment } from './fragment.js';
import {
  BOX_H, BOX_W, GAP_X, GAP_Y, boxPlace, columnsFor, elementAtRank, rankAt, rankCount, rankIn,
  worldExtent,
} from './layout.js';
import { drawPlot, plotMaxima } from './plot.js';
import {
  afterStep, lineStep, listAt, present, samePosition,
} from './position.js';
import {
  additionOf, freeLength, openRun, planLength, stopAt,
} from './run.js';
import {
  compareText, detailsText, followed, found, framesText, namesAt, phasesOf, pointedText, preceded,
  statusText, titleText, totalsText,
} from './texts.js';
import { pieces } from './words.js';

// Shows a page's data (one run, or two as its member "other") with the
// list's own source, `source`, to step through. `signal`, an AbortSignal,
// ends its listeners: for a page that shows other data after it.
// `fragmentExtra` (`name=value`) is kept in the fragment after the page's
// own fields.
export function startPage(pageData, source, signal = undefined, fragmentExtra = '') {
  const MIN_SCALE = 0.002;
  const MAX_SCALE = 4;
  const $ = (id) => document.getElementById(id);
  const canvas = $('canvas');
  const context = canvas.getContext('2d');

  const code = pageData.steps ? codeMap(source) : null;
  const listening = { signal };
  const runs = (pageData.other ? [pageData, pageData.other] : [pageData]).map((data) => openRun(data, code));
  const replayed = runs[0].replay !== null;

  // The whole view. `step`, `line`, `free`: the position (see
  // position.js); `selected`: an element, -1 for none; `note`: the last
  // answer to a key; `answer`: what find said of a word not found;
  // `selections`: each run's selected word, kept while the other is shown.
  const state = {
    run: 0, step: 0, line: 0, free: 0, selected: -1, view: pageData.view, scale: 1,
    x: -GAP_X * 2, y: -GAP_Y, note: '', answer: null, selections: runs.map(() => null),
  };
  // What the position determines: the list there and the stop of the code.
  let shown = { run: -1, position: null, list: null, stop: null };

  const run = () => runs[state.run];
  const list = () => shown.list;
  const position = () => ({ step: state.step, line: state.line, free: state.free });

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
      showPosition();
    }
    const follow = how.centre ?? how.reveal ?? -1;
    if (follow >= 0 && present(list(), follow)) {
      Object.assign(state, how.centre !== undefined ? centred(follow) : revealed(follow));
    }
    showDetails();
    showView();
    $('note').textContent = state.note;
    requestDraw();
    if (how.soon) saveSoon();
    else save();
    if (runChanged && !first) performance.measure('run', { start, end: performance.now() });
    else if (moved) performance.measure(now.line || now.free ? 'line' : 'step', { start, end: performance.now() });
  }

  // ---- The panels.

  // Writes a text's parts into `element`: words with their escapes marked.
  function render(element, parts) {
    element.replaceChildren();
    for (const part of parts) {
      if (typeof part === 'string') {
        element.append(part);
        continue;
      }
      for (const piece of pieces(part.word)) {
        if (!piece.escaped) {
          element.append(piece.text);
          continue;
        }
        const mark = document.createElement('span');
        mark.className = 'escape';
        mark.textContent = piece.text;
        element.append(mark);
      }
    }
  }

  function showDetails() {
    const parts = state.selected < 0 && state.answer ? state.answer : detailsText(run(), list(), state.selected);
    render($('details'), parts);
  }

  function showView() {
    $('view').textContent = state.view === 'list' ? 'Memory view (m)' : 'List view (m)';
    $('view').setAttribute('aria-pressed', String(state.view === 'memory'));
  }

  // Where the replay stands: the status, the phases, the slider and the code.
  function showPosition() {
    if (!replayed) return;
    render($('status'), statusText(run(), position(), list(), runs.length > 1));
    const phases = phasesOf(run(), position());
    for (const item of document.querySelectorAll('#phases li')) {
      item.classList.toggle('taken', phases.includes(item.dataset.phase));
    }
    $('step').value = String(state.step);
    showCode();
  }

  // The code beside the picture: the line about to run marked and in
  // view, the active calls with their variables, and what a comparison
  // line compares.
  const codeLines = new Map();

  function initCode() {
    const lines = $('code');
    lines.replaceChildren();
    codeLines.clear();
    shownRanges(code, run().front).forEach((range, index) => {
      if (index > 0) {
        const gap = document.createElement('li');
        gap.className = 'gap';
        gap.setAttribute('aria-hidden', 'true');
        lines.append(gap);
      }
      for (let n = range.first; n <= range.last; n += 1) {
        const item = document.createElement('li');
        item.dataset.line = String(n);
        item.textContent = code.lines[n - 1] || ' ';
        codeLines.set(n, item);
        lines.append(item);
      }
    });
  }

  function showCode() {
    const { stop } = shown;
    for (const item of $('code').querySelectorAll('[aria-current]')) item.removeAttribute('aria-current');
    if (!stop) {
      $('frames').replaceChildren();
      $('compare').textContent = '';
      return;
    }
    const item = codeLines.get(stop.line);
    item.setAttribute('aria-current', 'step');
    const lines = $('code');
    if (item.offsetTop < lines.scrollTop || item.offsetTop + item.offsetHeight > lines.scrollTop + lines.clientHeight) {
      lines.scrollTop = item.offsetTop - lines.clientHeight / 2;
    }
    const names = namesAt(run(), position());
    $('frames').replaceChildren(...framesText(stop, names).map((text) => {
      const call = document.createElement('li');
      call.textContent = text;
      return call;
    }));
    $('compare').textContent = compareText(stop, names, (i) => run().data.words[i]);
  }

  // The run shown: its code, and the switch to the other.
  function showRun() {
    if (!replayed) return;
    initCode();
    if (runs.length < 2) return;
    const other = runs[1 - state.run].name;
    $('run').textContent = `Show the ${other} run (r)`;
    $('run').setAttribute('aria-label', `Show the run of list_add_${other}`);
  }

  function showTotals() {
    $('totals').replaceChildren(...totalsText(runs).map(({ text, run: index }) => {
      if (index === undefined) return text;
      const piece = document.createElement('span');
      piece.className = `run-${index}`;
      piece.textContent = text;
      return piece;
    }));
  }

  // ---- The fragment.

  let saveTimer = 0;

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
  let drawPending = false;
  let plotted = { run: -1, width: 0, maxima: null };

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

  // The view that brings an element's box into view, centred, when it is
  // not wholly in it.
  function revealed(i) {
    const box = boxOf(i);
    const { width, height } = viewport();
    const top = toWorld(0, 0);
    const bottom = toWorld(width, height);
    const inside = box.x >= top.x && box.y >= top.y && box.x + BOX_W <= bottom.x &&
      box.y + BOX_H <= bottom.y;
    return inside ? {} : centred(i);
  }

  // The view that centres an element's box, as far as the picture's
  // edges allow.
  function centred(i) {
    const box = boxOf(i);
    const { width, height } = viewport();
    const scale = state.scale * BOX_W > width ? width / (BOX_W + 2 * GAP_X) : state.scale;
    const world = worldExtent(run().size, columns());
    return {
      scale,
      x: within(box.x + BOX_W / 2 - width / 2 / scale, world.width, width / scale),
      y: within(box.y + BOX_H / 2 - height / 2 / scale, world.height, height / scale),
    };
  }

  // The nearest start of a view `span` long to `start`, in a picture
  // `length` long: none of it outside the picture's margins unless all of
  // the picture is in view, then the picture is centred.
  function within(start, length, span) {
    const margin = 2 * GAP_X;
    if (span >= length + 2 * margin) return (length - span) / 2;
    return Math.min(Math.max(start, -margin), length + margin - span);
  }

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
  function zoom(factor, px = viewport().width / 2, py = viewport().height / 2) {
    const anchor = toWorld(px, py);
    const scale = Math.min(MAX_SCALE, Math.max(MIN_SCALE, state.scale * factor));
    update({ scale, x: anchor.x - px / scale, y: anchor.y - py / scale }, { soon: true });
  }

  // Fits the whole list in the window.
  function fit() {
    const { width, height } = viewport();
    const world = worldExtent(run().size, columns());
    const margin = GAP_X * 2;
    const scale = Math.min(MAX_SCALE, Math.max(MIN_SCALE,
      Math.min(width / (world.width + 2 * margin), height / (world.height + 2 * margin))));
    update({ scale, x: (world.width - width / scale) / 2, y: (world.height - height / scale) / 2 },
      { soon: true });
  }

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
  let playing = null;

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

  let drag = null;
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
    showTotals();
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
    canvas.addEventListener('wheel', onWheel, { passive: false, signal });
    window.addEventListener('resize', requestDraw, listening);
    window.addEventListener('hashchange', () => openLink(location.hash), listening);
    openLink(location.hash);
    draw(); // the first picture now, not a frame later
    canvas.focus();
  }

  init();
}
