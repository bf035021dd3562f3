// wordlist-graph's page: the list drawn on a canvas, in list order or in
// order of address, with one element selected and followed from NEXT to
// NEXT; for a trace, the whole run replayed addition by addition. The data
// is read from the JSON block; the whole view lives in `state`, mirrored
// in the URL fragment (#view=memory&select=17&zoom=0.5&step=120).
import { bytesOf, findWord, pieces, shortened } from './words.js';
import { listBefore, makeReplay } from './replay.js';
import { readFragment, writeFragment } from './fragment.js';
import {
  BOX_H, BOX_W, GAP_X, GAP_Y, PITCH_X, PITCH_Y, boxPlace, columnsFor, rankAt, worldExtent,
} from './layout.js';
import {
  additionPlan, codeMap, compareText, framesText, freePlan, freedAt, planStop, shownRanges,
} from './code_steps.js';

(() => {
  const LINE = 16;
  const FONT = '11px "DejaVu Sans Mono", monospace';
  const BOLD = 'bold 11px "DejaVu Sans Mono", monospace';
  const CHAR_W = 6.7; // advance of one character in FONT, near enough
  const BOX_CHARS = Math.floor((BOX_W - 12) / CHAR_W);
  const COLOUR = {
    box: '#E4ECF7', boxEdge: '#6B7A90', text: '#1B1F24', escape: '#B00020', arrow: '#1F5FBF',
    faint: 'rgba(31, 95, 191, 0.18)', selected: '#FFD966', target: '#1F5FBF',
    source: '#7A3EB1', dim: '#8A96A8', walk: '#F6C59A', walkBoth: '#E8894A',
    walkPath: 'rgba(214, 96, 20, 0.55)', placePath: 'rgba(120, 40, 160, 0.6)', empty: '#B8C2D0',
    added: '#2E7D32', pointer: '#C2185B',
  };
  // The running totals of a page's runs, in the plot and the legend.
  const RUN_COLOURS = ['#1F5FBF', '#C2185B'];
  const MIN_SCALE = 0.002;
  const MAX_SCALE = 4;

  // A page holds one listing or trace, or two runs of one text (the
  // second as "other"); `data` is the run shown, and what follows from it.
  const pageData = JSON.parse(document.getElementById('listing').textContent);
  const runs = pageData.other ? [pageData, pageData.other] : [pageData];
  let run = 0;
  let data = pageData;
  let size = 0; // elements drawn (all of them in a replay)
  let digits = 0;
  let nullAddress = '';
  let columns = 0;
  let memoryRank = null;
  const runName = (index) => runs[index].build;
  let planCache = { key: '', plan: null }; // see the list's code, below
  let plotColumns = null; // see the plot, below

  const replays = runs.map((shown) => (shown.steps
    ? makeReplay(shown.steps, shown.counts.length, shown.build === 'front') : null));
  let front = false;
  let replay = null;

  // Shows run `index`: its elements, its addresses, its additions.
  function useRun(index) {
    run = index;
    data = runs[index];
    size = data.counts.length;
    digits = data.digits;
    nullAddress = '0'.repeat(digits);
    columns = columnsFor(size);
    memoryRank = new Int32Array(size);
    data.byAddress.forEach((element, rank) => { memoryRank[element] = rank; });
    front = data.build === 'front';
    replay = replays[index];
    planCache = { key: '', plan: null };
    plotColumns = null;
  }

  useRun(0);

  const $ = (id) => document.getElementById(id);
  const canvas = $('canvas');
  const context = canvas.getContext('2d');
  const details = $('details');
  const note = $('note');
  const pointer = $('pointer');
  const viewButton = $('view');
  const findField = $('find');

  // `line` > 0: paused at that line step of addition `step`; `free` > 0:
  // at that line step of list_free, after the last addition.
  const state = { view: data.view, selected: -1, scale: 1, x: 0, y: 0, step: 0, line: 0, free: 0 };
  let drawPending = false;

  // The list as it stands: its elements in order (`order`), and where
  // each element stands in it (`rank`, -1 for one not in it yet).
  // In a replay, `before` is the list the current addition walked.
  // Between lines of code, one element may be allocated but not in the
  // list (`floating`, its NEXT `floatingNext`), and the counts may be
  // those of an earlier step (`countStep`).
  const current = {
    order: Int32Array.from({ length: size }, (_, i) => i), rank: null, before: [],
    floating: -1, floatingNext: -1, countStep: 0,
  };
  current.rank = current.order.slice();
  // Which elements the current addition looked at: 1 by its first walk,
  // 2 by its second, 3 by both.
  let walked = new Uint8Array(size);

  // ---- The listing's fields.

  const address = (i) => data.addresses.substr(i * digits, digits);
  const listSize = () => current.order.length;
  const present = (i) => current.rank[i] >= 0 || i === current.floating;
  const at = (position) => (position >= 0 && position < listSize() ? current.order[position] : -1);
  const following = (i) => (i === current.floating ? current.floatingNext : at(current.rank[i] + 1));
  const preceding = (i) => (current.rank[i] >= 0 ? at(current.rank[i] - 1) : -1);
  function nextAddress(i) {
    if (i === current.floating) return current.floatingNext >= 0 ? address(current.floatingNext) : nullAddress;
    const next = following(i);
    if (next >= 0) return address(next);
    return replay ? nullAddress : data.tail;
  }
  const indexAt = (view, rank) => (view === 'list' ? current.order[rank] : data.byAddress[rank]);
  // In the list view an element not (or no longer) in the list stands one
  // box apart after its end.
  const rankOf = (view, i) => (view === 'memory' ? memoryRank[i]
    : i === current.floating ? listSize() + 1 : current.rank[i]);
  const positionText = (i) => (current.rank[i] >= 0 ? String(current.rank[i] + 1) : '-');
  const viewSize = () => (state.view === 'list' ? listSize() : size);

  // The bytes between an element and the next one up in memory.
  function distanceUp(i) {
    const rank = memoryRank[i];
    if (rank + 1 >= size) return null;
    return BigInt(`0x${address(data.byAddress[rank + 1])}`) - BigInt(`0x${address(i)}`);
  }

  // Text nodes and marked escapes for a word, into `parent`.
  function appendWord(parent, word) {
    for (const piece of pieces(word)) {
      if (piece.escaped) {
        const mark = document.createElement('span');
        mark.className = 'escape';
        mark.textContent = piece.text;
        parent.append(mark);
      } else {
        parent.append(piece.text);
      }
    }
  }

  // ---- The replay: every addition of a trace, and the list after any.

  // The element of step k (1-based), or -1 for a word not counted.
  const elementOf = (k) => (replay.steps[k - 1] >= 0 ? replay.steps[k - 1] >> 1 : -1);
  const wordOf = (k) => (elementOf(k) >= 0 ? data.words[elementOf(k)]
    : data.uncounted[-1 - replay.steps[k - 1]]);

  // How many occurrences of element i were counted by step k.
  function countAt(i) {
    if (!replay) return data.counts[i];
    const list = replay.occurrences[i];
    let low = 0;
    let high = list.length;
    while (low < high) {
      const middle = (low + high) >> 1;
      if (list[middle] <= current.countStep) low = middle + 1;
      else high = middle;
    }
    return low;
  }

  // Makes the list the one after the first `step` additions, or the one
  // at the line of code the page is paused at.
  function rebuild() {
    const k = state.step;
    let order = [];
    for (let i = 0; i < size; i += 1) {
      if (replay.inserted[i] <= k) order.push(i);
    }
    walked = new Uint8Array(size);
    current.before = [];
    current.floating = -1;
    current.floatingNext = -1;
    current.countStep = k;
    const element = k > 0 ? elementOf(k) : -1;
    if (element >= 0) {
      // The walks went through the list as it was before this addition.
      const newElement = replay.steps[k - 1] % 2 === 0;
      current.before = newElement ? order.filter((i) => i !== element) : order;
      for (let p = 0; p < replay.first[k]; p += 1) walked[current.before[p]] |= 1;
      for (let p = 0; p < replay.second[k]; p += 1) walked[current.before[p]] |= 2;
    }
    const plan = linePlan();
    if (plan && state.free > 0) {
      const { unlinked, released } = freedAt(plan, state.free);
      if (unlinked > released) {
        current.floating = order[unlinked - 1];
        current.floatingNext = unlinked < order.length ? order[unlinked] : -1;
      }
      order = order.slice(unlinked);
      walked = new Uint8Array(size);
    } else if (plan && plan.kind === 'inserted' && state.line < plan.linkedFrom) {
      order = current.before;
      if (state.line >= plan.changedFrom) current.floating = element;
      if (state.line >= plan.linkedFrom - 1) current.floatingNext = at(replay.position[k] - 1);
    } else if (plan && plan.kind === 'counted' && state.line < plan.changedFrom) {
      current.countStep = k - 1;
    }
    const rank = new Int32Array(size).fill(-1);
    order.forEach((i, position) => { rank[i] = position; });
    current.order = Int32Array.from(order);
    current.rank = rank;
  }

  // ---- The list's code, line by line (see code_steps.js).

  const code = pageData.steps ? codeMap($('source').textContent) : null;

  // The line steps of addition k; null for a word not counted, whose
  // steps the trace cannot tell.
  function additionPlanOf(k) {
    const codeOfStep = replay.steps[k - 1];
    if (codeOfStep < 0) return null;
    const element = codeOfStep >> 1;
    const before = listBefore(replay, k);
    const counted = codeOfStep % 2 === 1;
    return additionPlan(code, {
      kind: counted ? 'counted' : 'inserted', before, added: element,
      at: counted ? before.indexOf(element) : replay.position[k] - 1,
      wordBytes: bytesOf(data.words[element]).length, front,
    });
  }

  function planOf(key) {
    if (planCache.key !== key) {
      planCache = {
        key,
        plan: key === 'free' ? freePlan(code, Array.from({ length: size }, (_, i) => i))
          : additionPlanOf(Number(key)),
      };
    }
    return planCache.plan;
  }

  const planLength = (k) => (k >= 1 && k <= replay.total ? planOf(String(k))?.length ?? 0 : 0);

  // The plan of the line steps the page is paused in, or null.
  function linePlan() {
    if (!code) return null;
    if (state.free > 0) return planOf('free');
    return state.line > 0 ? planOf(String(state.step)) : null;
  }

  function currentStop() {
    const plan = linePlan();
    return plan ? planStop(plan, state.free || state.line) : null;
  }

  // ---- Layout: boxes in rows, in the view's order.

  const boxAt = (rank) => boxPlace(rank, columns);

  function boxOf(i) {
    return boxAt(rankOf(state.view, i));
  }

  const worldSize = () => worldExtent(size, columns);

  // The element whose box holds the world point, or -1.
  function elementAt(wx, wy) {
    const rank = rankAt(wx, wy, columns, viewSize());
    const i = rank < 0 ? -1 : indexAt(state.view, rank);
    return i >= 0 && present(i) ? i : -1;
  }

  function viewport() {
    return { width: canvas.clientWidth, height: canvas.clientHeight };
  }

  const toWorld = (px, py) => ({ x: state.x + px / state.scale, y: state.y + py / state.scale });

  // ---- Drawing.

  function requestDraw() {
    if (drawPending) return;
    drawPending = true;
    requestAnimationFrame(draw);
  }

  function draw() {
    drawPending = false;
    const start = performance.now();
    const { width, height } = viewport();
    const ratio = window.devicePixelRatio || 1;
    if (canvas.width !== Math.round(width * ratio) || canvas.height !== Math.round(height * ratio)) {
      canvas.width = Math.round(width * ratio);
      canvas.height = Math.round(height * ratio);
    }
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    context.clearRect(0, 0, width, height);
    context.setTransform(ratio * state.scale, 0, 0, ratio * state.scale,
      -state.x * state.scale * ratio, -state.y * state.scale * ratio);
    const visible = visibleRanks(width, height);
    const detailed = state.scale * BOX_H >= 30;
    drawHead();
    if (state.view === 'list') drawListArrows(visible, detailed);
    else drawMemoryArrows(visible, detailed);
    drawBoxes(visible, detailed);
    if (replay && state.view === 'memory') drawWalks();
    drawEnd();
    if (replay) drawPointers();
    if (replay) drawPlot();
    performance.measure('draw', { start, end: performance.now() });
    if (!document.documentElement.hasAttribute('data-ready')) {
      document.documentElement.setAttribute('data-ready', '');
      performance.mark('ready');
    }
  }

  // The ranks in view, row by row: [first, last] per visible row.
  function visibleRanks(width, height) {
    const top = toWorld(0, 0);
    const bottom = toWorld(width, height);
    const count = viewSize();
    const firstRow = Math.max(0, Math.floor(top.y / PITCH_Y));
    const lastRow = Math.min(Math.ceil(count / columns) - 1, Math.floor(bottom.y / PITCH_Y));
    const firstColumn = Math.max(0, Math.floor(top.x / PITCH_X));
    const lastColumn = Math.min(columns - 1, Math.floor(bottom.x / PITCH_X));
    const rows = [];
    for (let row = firstRow; row <= lastRow && firstColumn <= lastColumn; row += 1) {
      const first = row * columns + firstColumn;
      const last = Math.min(count - 1, row * columns + lastColumn);
      if (first <= last) rows.push([first, last]);
    }
    return rows;
  }

  function forEachVisible(visible, action) {
    for (const [first, last] of visible) {
      for (let rank = first; rank <= last; rank += 1) action(indexAt(state.view, rank), rank);
    }
  }

  function countVisible(visible) {
    return visible.reduce((sum, [first, last]) => sum + last - first + 1, 0);
  }

  function boxColour(i) {
    if (i === state.selected) return COLOUR.selected;
    if (walked[i] === 3) return COLOUR.walkBoth;
    if (walked[i]) return COLOUR.walk;
    return COLOUR.box;
  }

  function drawBoxes(visible, detailed) {
    const sel = state.selected;
    if (!detailed) {
      // Far out: plain boxes, one path per colour.
      for (const colour of [COLOUR.box, COLOUR.walk, COLOUR.walkBoth, COLOUR.empty]) {
        context.fillStyle = colour;
        context.beginPath();
        forEachVisible(visible, (i, rank) => {
          const own = present(i) ? boxColour(i) : COLOUR.empty;
          if (own !== colour) return;
          const box = boxAt(rank);
          context.rect(box.x, box.y, BOX_W, BOX_H);
        });
        context.fill();
      }
      if (sel >= 0) {
        const box = boxOf(sel);
        const grow = Math.max(0, 6 / state.scale - BOX_W / 2);
        context.fillStyle = COLOUR.selected;
        context.strokeStyle = COLOUR.text;
        context.lineWidth = 2 / state.scale;
        context.fillRect(box.x - grow, box.y - grow, BOX_W + 2 * grow, BOX_H + 2 * grow);
        context.strokeRect(box.x - grow, box.y - grow, BOX_W + 2 * grow, BOX_H + 2 * grow);
      }
      return;
    }
    const target = sel >= 0 ? following(sel) : -1;
    const source = sel >= 0 ? preceding(sel) : -1;
    const added = replay && state.step > 0 ? elementOf(state.step) : -1;
    forEachVisible(visible, (i, rank) => {
      const box = boxAt(rank);
      if (!present(i)) {
        drawEmptySlot(i, box);
        return;
      }
      context.fillStyle = boxColour(i);
      context.fillRect(box.x, box.y, BOX_W, BOX_H);
      context.lineWidth = i === sel || i === target || i === source || i === added ? 3 : 1;
      context.strokeStyle = i === added ? COLOUR.added : i === target ? COLOUR.target
        : i === source ? COLOUR.source : COLOUR.boxEdge;
      context.strokeRect(box.x, box.y, BOX_W, BOX_H);
      if (state.view === 'list') drawListFields(i, box);
      else drawMemoryFields(i, box);
    });
    if (state.view === 'list' && current.floating >= 0) {
      const box = boxOf(current.floating);
      context.fillStyle = COLOUR.box;
      context.fillRect(box.x, box.y, BOX_W, BOX_H);
      context.setLineDash([6, 3]);
      context.lineWidth = 3;
      context.strokeStyle = COLOUR.added;
      context.strokeRect(box.x, box.y, BOX_W, BOX_H);
      context.setLineDash([]);
      drawListFields(current.floating, box);
    }
  }

  // At a line of code: the innermost call's pointers, each a labelled
  // arrow onto the box it points to (a pointer to a NEXT field onto that
  // field, &head onto the head), and in the memory view the head itself.
  function drawPointers() {
    const stop = currentStop();
    if (!stop) return;
    const head = { x: -GAP_X - 26, y: LINE * 3 + 14 };
    if (state.view === 'memory') {
      drawText('head', head.x, head.y, BOLD, COLOUR.text);
      if (listSize() > 0) curve({ x: head.x - BOX_W / 2 + 14, y: head.y - BOX_H / 2 }, boxOf(at(0)), COLOUR.dim, 1.2);
    }
    const taken = new Map();
    const frame = stop.frames[stop.frames.length - 1];
    for (const [name, value] of frame.variables) {
      let target = null;
      let top = 0;
      if ((value.kind === 'element' || value.kind === 'next') && present(value.index)) {
        const box = boxOf(value.index);
        target = value.kind === 'element' ? { x: box.x + 24, y: box.y }
          : { x: box.x + BOX_W - 40, y: box.y + LINE * 3 + 6 };
        top = box.y;
      } else if (value.kind === 'head' && name !== 'head') {
        target = { x: head.x + 12, y: head.y - 12 };
        top = target.y;
      }
      if (!target) continue;
      const key = `${target.x},${top}`;
      const n = taken.get(key) || 0;
      taken.set(key, n + 1);
      const label = { x: target.x - 20 + n * 70, y: top - 22 };
      drawText(name, label.x, label.y, BOLD, COLOUR.pointer);
      context.beginPath();
      context.moveTo(label.x + 8, label.y + 4);
      context.lineTo(target.x, target.y);
      stroke(COLOUR.pointer, 2);
      arrowHead(target.x, target.y, Math.atan2(target.y - label.y - 4, target.x - label.x - 8),
        COLOUR.pointer);
    }
  }

  // A slot of the heap whose element is not allocated yet.
  function drawEmptySlot(i, box) {
    context.setLineDash([4, 4]);
    context.lineWidth = 1;
    context.strokeStyle = COLOUR.empty;
    context.strokeRect(box.x, box.y, BOX_W, BOX_H);
    context.setLineDash([]);
    drawText(address(i), box.x + 6, box.y + LINE, FONT, COLOUR.empty);
  }

  function drawText(text, x, y, font, colour) {
    context.font = font;
    context.fillStyle = colour;
    context.fillText(text, x, y);
  }

  // A word, shortened to `room` characters, with its escapes in red.
  function drawWord(word, x, y, room) {
    const { pieces: shown, cut } = shortened(word, room);
    let pen = x;
    for (const piece of shown) {
      drawText(piece.text, pen, y, BOLD, piece.escaped ? COLOUR.escape : COLOUR.text);
      pen += [...piece.text].length * CHAR_W;
    }
    if (cut) drawText('\u2026', pen, y, BOLD, COLOUR.dim);
  }

  function drawListFields(i, box) {
    const x = box.x + 6;
    const y = box.y + LINE;
    const position = positionText(i);
    drawText(position, x, y, FONT, COLOUR.dim);
    drawWord(data.words[i], x + (position.length + 1) * CHAR_W, y,
      BOX_CHARS - position.length - 2);
    drawText(`COUNT ${countAt(i)}`, x, y + LINE, FONT, COLOUR.text);
    drawText(`ADR   ${address(i)}`, x, y + 2 * LINE, FONT, COLOUR.text);
    const selected = i === state.selected;
    drawText(`NEXT  ${nextAddress(i)}`, x, y + 3 * LINE, selected ? BOLD : FONT,
      selected ? COLOUR.target : COLOUR.text);
  }

  function drawMemoryFields(i, box) {
    const x = box.x + 6;
    const y = box.y + LINE;
    drawText(address(i), x, y, BOLD, COLOUR.text);
    const position = `${positionText(i)}.`;
    drawText(position, x, y + LINE, FONT, COLOUR.dim);
    drawWord(data.words[i], x + (position.length + 1) * CHAR_W, y + LINE,
      BOX_CHARS - position.length - 2);
    drawText(`COUNT ${countAt(i)}`, x, y + 2 * LINE, FONT, COLOUR.text);
    const distance = distanceUp(i);
    if (distance !== null) drawText(`+${distance} B to the next up`, x, y + 3 * LINE, FONT, COLOUR.dim);
  }

  function arrowHead(x, y, angle, colour) {
    const length = 8;
    context.fillStyle = colour;
    context.beginPath();
    context.moveTo(x, y);
    context.lineTo(x - length * Math.cos(angle - 0.4), y - length * Math.sin(angle - 0.4));
    context.lineTo(x - length * Math.cos(angle + 0.4), y - length * Math.sin(angle + 0.4));
    context.closePath();
    context.fill();
  }

  function stroke(colour, width) {
    context.strokeStyle = colour;
    context.lineWidth = width / Math.max(state.scale, 0.25);
    context.stroke();
  }

  // In list order each NEXT leads to the box beside it, or round to the
  // first box of the next row.
  function drawListArrows(visible, detailed) {
    if (!detailed) return;
    forEachVisible(visible, (i, rank) => {
      if (rank + 1 >= listSize()) return;
      const highlighted = i === state.selected;
      listArrow(rank, highlighted ? COLOUR.arrow : COLOUR.dim, highlighted ? 3 : 1.2);
    });
  }

  function listArrow(rank, colour, width) {
    const from = boxAt(rank);
    const to = boxAt(rank + 1);
    const y = from.y + LINE * 3 + 10;
    const end = to.y + LINE * 3 + 10;
    context.beginPath();
    context.moveTo(from.x + BOX_W, y);
    if (to.y !== from.y) {
      const turn = from.y + BOX_H + GAP_Y / 2;
      context.lineTo(from.x + BOX_W + GAP_X / 3, y);
      context.lineTo(from.x + BOX_W + GAP_X / 3, turn);
      context.lineTo(to.x - GAP_X / 3, turn);
      context.lineTo(to.x - GAP_X / 3, end);
    }
    context.lineTo(to.x, end);
    stroke(colour, width);
    arrowHead(to.x, end, 0, colour);
  }

  // In order of address the NEXT arrows jump about: the selected element's
  // and its neighbours' are drawn clearly, the others faintly, and only
  // when few boxes are in view.
  function drawMemoryArrows(visible, detailed) {
    const sel = state.selected;
    const near = (i) => sel >= 0 && (i === sel || i === preceding(sel) || i === following(sel));
    const walking = replay && state.step > 0;
    if (detailed && !walking && countVisible(visible) <= 400) {
      forEachVisible(visible, (i) => {
        if (present(i) && following(i) >= 0 && !near(i)) memoryArrow(i, COLOUR.faint, 1);
      });
    }
    if (sel < 0) return;
    const source = preceding(sel);
    const target = following(sel);
    if (source >= 0) memoryArrow(source, COLOUR.source, 2.5);
    if (target >= 0) memoryArrow(sel, COLOUR.arrow, 3.5);
    if (target >= 0 && following(target) >= 0) memoryArrow(target, COLOUR.dim, 2.5);
  }

  function memoryArrow(i, colour, width) {
    curve(boxOf(i), boxOf(following(i)), colour, width);
  }

  function curve(from, to, colour, width) {
    const x1 = from.x + BOX_W / 2;
    const y1 = from.y + BOX_H / 2;
    const x2 = to.x + BOX_W / 2;
    const y2 = to.y + BOX_H / 2;
    // Bow the curve to one side, so that arrows both ways stay apart.
    const bend = 0.25;
    const cx = (x1 + x2) / 2 - (y2 - y1) * bend;
    const cy = (y1 + y2) / 2 + (x2 - x1) * bend;
    context.beginPath();
    context.moveTo(x1, y1);
    context.quadraticCurveTo(cx, cy, x2, y2);
    stroke(colour, width);
    arrowHead(x2, y2, Math.atan2(y2 - cy, x2 - cx), colour);
  }

  // The current addition's walks through the heap, box to box in list
  // order: the search for an equal word, then the search for the place.
  function drawWalks() {
    const k = state.step;
    const walk = current.before;
    if (walk.length === 0) return;
    const path = (count, colour, width) => {
      context.beginPath();
      for (let p = 0; p < count && p < walk.length; p += 1) {
        const box = boxOf(walk[p]);
        const x = box.x + BOX_W / 2 + (colour === COLOUR.placePath ? 6 : 0);
        const y = box.y + BOX_H / 2 + (colour === COLOUR.placePath ? 6 : 0);
        if (p === 0) context.moveTo(x, y);
        else context.lineTo(x, y);
      }
      stroke(colour, width);
    };
    path(replay.first[k], COLOUR.walkPath, 1.5);
    path(replay.second[k], COLOUR.placePath, 1.5);
  }

  function drawHead() {
    if (state.view !== 'list') return;
    context.font = BOLD;
    context.fillStyle = COLOUR.text;
    context.fillText('head', -GAP_X - 26, LINE * 3 + 14);
    context.beginPath();
    context.moveTo(-GAP_X + 4, LINE * 3 + 10);
    context.lineTo(0, LINE * 3 + 10);
    stroke(COLOUR.dim, 1.2);
    arrowHead(0, LINE * 3 + 10, 0, COLOUR.dim);
  }

  // After the last box: NULL, or how many elements were left out.
  function drawEnd() {
    if (state.view !== 'list') return;
    const count = listSize();
    const end = count === 0 ? { x: 0, y: 0 } : boxAt(count - 1);
    const ended = replay || data.tail === nullAddress;
    const text = ended ? 'NULL' : `\u2026 ${data.total - size} more`;
    drawText(text, count === 0 ? 6 : end.x + BOX_W + 8, end.y + LINE * 3 + 14, BOLD, COLOUR.dim);
  }

  // The cost of the run: elements looked at per addition (bars), their
  // running total (line), and the current step.
  function drawPlot() {
    const plot = $('plot');
    const width = plot.clientWidth;
    const height = plot.clientHeight;
    const ratio = window.devicePixelRatio || 1;
    if (plot.width !== Math.round(width * ratio)) plot.width = Math.round(width * ratio);
    if (plot.height !== Math.round(height * ratio)) plot.height = Math.round(height * ratio);
    const pen = plot.getContext('2d');
    pen.setTransform(ratio, 0, 0, ratio, 0, 0);
    pen.clearRect(0, 0, width, height);
    const { total } = replay;
    if (total === 0) return;
    if (!plotColumns || plotColumns.length !== width) plotColumns = plotMaxima(width);
    const highest = Math.max(1, ...plotColumns);
    pen.fillStyle = COLOUR.walk;
    plotColumns.forEach((value, x) => {
      const bar = (value / highest) * (height - 2);
      pen.fillRect(x, height - bar, 1, bar);
    });
    // The running total of each run, on one scale: the larger's.
    const most = Math.max(...replays.map((shown) => shown.cumulative[shown.total]), 1);
    replays.forEach((shown, index) => {
      pen.strokeStyle = RUN_COLOURS[index];
      pen.lineWidth = index === run ? 2 : 1.2;
      pen.beginPath();
      for (let x = 0; x < width; x += 1) {
        const k = Math.min(shown.total, Math.round(((x + 1) / width) * shown.total));
        const y = height - 1 - (shown.cumulative[k] / most) * (height - 2);
        if (x === 0) pen.moveTo(x, y);
        else pen.lineTo(x, y);
      }
      pen.stroke();
    });
    pen.lineWidth = 1;
    const x = (state.step / total) * (width - 1);
    pen.fillStyle = COLOUR.escape;
    pen.fillRect(x - 1, 0, 2, height);
  }


  // The most elements any addition looked at, per column of the plot.
  function plotMaxima(width) {
    const maxima = new Float64Array(width);
    for (let k = 1; k <= replay.total; k += 1) {
      const x = Math.min(width - 1, Math.floor(((k - 1) / replay.total) * width));
      maxima[x] = Math.max(maxima[x], replay.first[k] + replay.second[k]);
    }
    return Array.from(maxima);
  }

  // ---- What the user does.

  function select(i, why = '') {
    state.selected = i;
    note.textContent = why;
    showDetails();
    if (i >= 0) reveal(i);
    saveState();
    requestDraw();
  }

  function showDetails() {
    const i = state.selected;
    if (i < 0) {
      details.replaceChildren(listSize() === 0 ? 'The list is empty.' : 'No element is selected.');
      return;
    }
    if (!present(i)) {
      details.replaceChildren('"');
      appendWord(details, data.words[i]);
      details.append(`" is not in the list yet: it is inserted at step ${replay.inserted[i]}.`);
      return;
    }
    details.replaceChildren(`${current.rank[i] + 1} ADR: ${address(i)} NEXT: ${nextAddress(i)} ` +
      `COUNT: ${countAt(i)} WORD: `);
    appendWord(details, data.words[i]);
  }

  // Follows the selected element's NEXT.
  function follow() {
    const i = state.selected;
    if (i < 0 || !present(i)) {
      if (listSize() > 0) select(at(0));
    } else if (following(i) >= 0) {
      select(following(i));
    } else if (replay || data.tail === nullAddress) {
      note.textContent = `NEXT of ${current.rank[i] + 1} is null: the list ends here.`;
    } else {
      note.textContent = `NEXT of ${current.rank[i] + 1} leads to the ` +
        `${data.total - size} elements not drawn.`;
    }
  }

  // Selects the element whose NEXT points to the selected one.
  function back() {
    const i = state.selected;
    if (i < 0 || !present(i)) return;
    if (preceding(i) >= 0) select(preceding(i));
    else note.textContent = 'The head points here: no element comes before 1.';
  }

  // Finds a word as the list's additions do: an equal word anywhere, or
  // else the place after the last of the words that sort before it.
  function find(text) {
    if (text === '') return;
    const { found, after: before } = findWord(data.words, current.order, text);
    if (found !== undefined) {
      select(found);
      return;
    }
    select(-1);
    details.replaceChildren('"');
    appendWord(details, text);
    details.append(before < 0 ? '" is not in the list: it would be linked at the head.'
      : `" is not in the list: it would be linked after ${current.rank[before] + 1} "`);
    if (before >= 0) {
      appendWord(details, data.words[before]);
      details.append('".');
    }
  }

  function switchView() {
    state.view = state.view === 'list' ? 'memory' : 'list';
    showView();
  }

  function showView() {
    viewButton.textContent = state.view === 'list' ? 'Memory view (m)' : 'List view (m)';
    viewButton.setAttribute('aria-pressed', String(state.view === 'memory'));
    if (state.selected >= 0 && present(state.selected)) reveal(state.selected);
    saveState();
    requestDraw();
  }

  // Zooms by `factor` about a point on screen (the centre by default).
  function zoom(factor, px = viewport().width / 2, py = viewport().height / 2) {
    const anchor = toWorld(px, py);
    state.scale = Math.min(MAX_SCALE, Math.max(MIN_SCALE, state.scale * factor));
    state.x = anchor.x - px / state.scale;
    state.y = anchor.y - py / state.scale;
    saveStateSoon();
    requestDraw();
  }

  // Fits the whole list in the window.
  function fit() {
    const { width, height } = viewport();
    const world = worldSize();
    const margin = GAP_X * 2;
    state.scale = Math.min(MAX_SCALE, Math.max(MIN_SCALE,
      Math.min(width / (world.width + 2 * margin), height / (world.height + 2 * margin))));
    state.x = (world.width - width / state.scale) / 2;
    state.y = (world.height - height / state.scale) / 2;
    saveStateSoon();
    requestDraw();
  }

  function pan(dx, dy) {
    state.x -= dx / state.scale;
    state.y -= dy / state.scale;
    requestDraw();
  }

  // Brings an element's box into view, centred, when it is not wholly in it.
  function reveal(i) {
    const box = boxOf(i);
    const { width, height } = viewport();
    const top = toWorld(0, 0);
    const bottom = toWorld(width, height);
    const inside = box.x >= top.x && box.y >= top.y && box.x + BOX_W <= bottom.x &&
      box.y + BOX_H <= bottom.y;
    if (!inside) centre(i);
  }

  // Centres an element's box, as far as the picture's edges allow.
  function centre(i) {
    const box = boxOf(i);
    const { width, height } = viewport();
    if (state.scale * BOX_W > width) state.scale = width / (BOX_W + 2 * GAP_X);
    const world = worldSize();
    state.x = within(box.x + BOX_W / 2 - width / 2 / state.scale, world.width, width);
    state.y = within(box.y + BOX_H / 2 - height / 2 / state.scale, world.height, height);
  }

  // The nearest edge of a view `shown` screen pixels long to `start`, in
  // a picture `length` long: none of it outside the picture's margins
  // unless all of the picture is in view, then the picture is centred.
  function within(start, length, shown) {
    const span = shown / state.scale;
    const margin = 2 * GAP_X;
    if (span >= length + 2 * margin) return (length - span) / 2;
    return Math.min(Math.max(start, -margin), length + margin - span);
  }

  // ---- Stepping through a replay.

  // Shows the list after the first k additions.
  function step(k) {
    goTo(Math.max(0, Math.min(replay.total, k)), 0, 0);
  }

  // Shows addition k paused at line step `line`, or list_free at `free`
  // (both 0: the list after addition k).
  function goTo(k, line, free) {
    const start = performance.now();
    state.step = k;
    state.line = line;
    state.free = free;
    rebuild();
    $('step').value = String(state.step);
    showStatus();
    showDetails();
    showCode();
    const element = state.step > 0 ? elementOf(state.step) : -1;
    if (element >= 0 && state.selected < 0 && present(element)) reveal(element);
    if (line || free) saveState();
    else saveStateSoon();
    requestDraw();
    performance.measure(line || free ? 'line' : 'step', { start, end: performance.now() });
  }

  // One line of code forward (+1) or back (-1): within an addition, from
  // its last line to the next addition's first (passing over words not
  // counted, whose lines are not known), and after the last addition
  // through list_free.
  function lineStep(delta) {
    const total = replay.total;
    let { step: k, line, free } = state;
    if (delta > 0) {
      if (free > 0) {
        free = Math.min(free + 1, planOf('free').length);
      } else if (line > 0 && line < planLength(k)) {
        line += 1;
      } else {
        do k += 1; while (k <= total && planLength(k) === 0);
        [k, line, free] = k <= total ? [k, 1, 0] : [total, 0, 1];
      }
    } else if (free > 1) {
      free -= 1;
    } else if (line > 1) {
      line -= 1;
    } else {
      if (free === 0 && line === 1) k -= 1;
      while (k >= 1 && planLength(k) === 0) k -= 1;
      [k, line, free] = k >= 1 ? [k, planLength(k), 0] : [0, 0, 0];
    }
    goTo(k, line, free);
  }

  // The code beside the picture: the line about to run marked and in
  // view, the active calls with their variables, and what a comparison
  // line compares.
  const codeLines = new Map();

  function initCode() {
    const list = $('code');
    list.replaceChildren();
    codeLines.clear();
    const lines = code.lines;
    shownRanges(code, front).forEach((range, index) => {
      if (index > 0) {
        const gap = document.createElement('li');
        gap.className = 'gap';
        gap.setAttribute('aria-hidden', 'true');
        list.append(gap);
      }
      for (let n = range.first; n <= range.last; n += 1) {
        const item = document.createElement('li');
        item.dataset.line = String(n);
        item.textContent = lines[n - 1] || ' ';
        codeLines.set(n, item);
        list.append(item);
      }
    });
  }

  const wordText = (word) => pieces(word).map((piece) => piece.text).join('');

  function showCode() {
    if (!code) return;
    const stop = currentStop();
    for (const item of $('code').querySelectorAll('[aria-current]')) item.removeAttribute('aria-current');
    const frames = $('frames');
    if (!stop) {
      frames.replaceChildren();
      $('compare').textContent = '';
      return;
    }
    const item = codeLines.get(stop.line);
    item.setAttribute('aria-current', 'step');
    const list = $('code');
    if (item.offsetTop < list.scrollTop || item.offsetTop + item.offsetHeight > list.scrollTop + list.clientHeight) {
      list.scrollTop = item.offsetTop - list.clientHeight / 2;
    }
    const names = {
      address, nullAddress, word: state.free > 0 ? '' : wordText(wordOf(state.step)),
    };
    frames.replaceChildren(...framesText(stop, names).map((text) => {
      const call = document.createElement('li');
      call.textContent = text;
      return call;
    }));
    $('compare').textContent = compareText(stop, names, (i) => wordText(data.words[i]));
  }

  const PHASES = { counted: ['look'], inserted: ['look', 'allocate', 'place', 'link'],
    front: ['look', 'allocate', 'link'], uncounted: ['look'] };

  // The status line, and the phases of the addition that this step took.
  function showStatus() {
    const k = state.step;
    const status = $('status');
    let kind = null;
    if (state.free > 0) {
      status.replaceChildren(`After step ${k} of ${replay.total}: list_free releases the list, ` +
        `line ${state.free} of ${planOf('free').length}`);
    } else if (k === 0) {
      status.replaceChildren(`Step 0 of ${replay.total}: the list is empty`);
    } else {
      const stepCode = replay.steps[k - 1];
      kind = stepCode < 0 ? 'uncounted' : stepCode % 2 ? 'counted' : 'inserted';
      status.replaceChildren(`Step ${k} of ${replay.total}: "`);
      appendWord(status, wordOf(k));
      const p = replay.position[k];
      status.append(kind === 'counted'
        ? `" counted at position ${p}, count ${countAt(elementOf(k))} (looked at ${replay.first[k]})`
        : kind === 'inserted' && front ? `" inserted at position ${p} (looked at ${replay.first[k]})`
        : kind === 'inserted'
          ? `" inserted at position ${p} (looked at ${replay.first[k]} + ${replay.second[k]})`
          : '" not counted');
      if (state.line > 0) status.append(`, line ${state.line} of ${planLength(k)}`);
    }
    // On a page of two runs, the line names the run it speaks of.
    if (runs.length > 1) status.prepend(`${runName(run)}: `);
    for (const item of document.querySelectorAll('#phases li')) {
      const phases = PHASES[kind === 'inserted' && front ? 'front' : kind];
      item.classList.toggle('taken', kind !== null && phases.includes(item.dataset.phase));
    }
  }

  let playing = null;

  function play() {
    if (playing) {
      playing = null;
      $('play').setAttribute('aria-pressed', 'false');
      return;
    }
    if (state.step >= replay.total) step(0);
    playing = { last: performance.now(), carry: 0 };
    $('play').setAttribute('aria-pressed', 'true');
    requestAnimationFrame(advance);
  }

  // Moves on as many additions as the speed asks for the time that passed.
  function advance(now) {
    if (!playing) return;
    const due = playing.carry + ((now - playing.last) / 1000) * Number($('speed').value);
    playing.last = now;
    const whole = Math.floor(due);
    playing.carry = due - whole;
    if (whole > 0) step(state.step + whole);
    if (state.step >= replay.total) {
      play();
      return;
    }
    requestAnimationFrame(advance);
  }

  // Goes to the next addition of the selected element's word.
  function nextOfWord() {
    const i = state.selected;
    if (i < 0) {
      note.textContent = 'Select an element first: its word\'s next addition is looked for.';
      return;
    }
    const later = replay.occurrences[i].find((k) => k > state.step);
    if (later === undefined) note.textContent = 'No later addition of this word.';
    else step(later);
  }

  // ---- Two runs of one text: the switch, at the same step. Each run
  // keeps its own selection, by word; a run not yet shown takes the word
  // selected in the other.

  const selections = runs.map(() => null);

  function elementOfWord(word) {
    return word === null ? -1 : data.words.indexOf(word);
  }

  function switchRun(index = 1 - run) {
    if (runs.length < 2 || index === run) return;
    const start = performance.now();
    const word = state.selected >= 0 ? data.words[state.selected] : null;
    selections[run] = word;
    enterRun(index);
    state.selected = elementOfWord(selections[index] ?? word);
    state.line = 0;
    state.free = 0;
    rebuild();
    showStatus();
    showDetails();
    showCode();
    saveState();
    requestDraw();
    performance.measure('run', { start, end: performance.now() });
  }

  // Shows run `index`, its code and the switch to the other.
  function enterRun(index) {
    useRun(index);
    initCode();
    showRun();
  }

  function showRun() {
    const other = runName(1 - run);
    $('run').textContent = `Show the ${other} run (r)`;
    $('run').setAttribute('aria-label', `Show the run of list_add_${other}`);
  }

  // The totals: of one run, or of both and their ratio, beside the
  // legend of the plot's colours.
  function showTotals() {
    const looked = (index) => replays[index].cumulative[replays[index].total];
    const totals = $('totals');
    if (runs.length < 2) {
      totals.textContent = `${looked(0)} elements looked at for ${replay.total} addition` +
        `${replay.total === 1 ? '' : 's'} of ${size} distinct word${size === 1 ? '' : 's'}`;
      return;
    }
    const figure = (value) => value.toLocaleString('en-US');
    const sorted = runs.findIndex((shown) => shown.build === 'sorted');
    const line = (index, text) => {
      const item = document.createElement('span');
      item.className = `run-${index}`;
      item.textContent = text;
      return item;
    };
    totals.replaceChildren(
      line(sorted, `sorted: ${figure(looked(sorted))} elements looked at`), '; ',
      line(1 - sorted, `front: ${figure(looked(1 - sorted))}`),
      `; front \u00F7 sorted: ${(looked(1 - sorted) / looked(sorted)).toFixed(2)}`);
  }

  // ---- The fragment: #view=memory&select=17&zoom=0.5&step=120.

  let saveTimer = 0;

  function saveState() {
    clearTimeout(saveTimer);
    const fragment = writeFragment(state, replay !== null, runs.length > 1 ? runName(run) : '');
    if (location.hash !== fragment) history.replaceState(null, '', fragment);
  }

  // Zooming and playing change the fragment once they come to rest, not
  // at every step.
  function saveStateSoon() {
    clearTimeout(saveTimer);
    saveTimer = setTimeout(saveState, 250);
  }

  // Takes view, step, selection and zoom from the fragment, and centres
  // the selected element. Elements are named by their final position.
  function loadState() {
    const names = runs.map((_, index) => runName(index));
    const asked = readFragment(location.hash, { size, scales: [MIN_SCALE, MAX_SCALE], runs: names });
    if (asked.run !== undefined && asked.run !== run) enterRun(asked.run);
    const read = readFragment(location.hash, {
      size, scales: [MIN_SCALE, MAX_SCALE], total: replay?.total, lines: planLength,
      freeLines: replay ? planOf('free').length : 0,
    });
    if (read.view) state.view = read.view;
    if (replay) {
      state.step = read.step;
      state.line = read.line;
      state.free = read.free;
      rebuild();
      showCode();
      $('step').value = String(state.step);
      showStatus();
    }
    state.selected = read.selected;
    if (read.scale) state.scale = read.scale;
    if (state.selected >= 0 && present(state.selected)) centre(state.selected);
  }

  // ---- Wiring.

  const keys = {
    m: switchView, ArrowRight: follow, ArrowLeft: back,
    Home: () => listSize() > 0 && select(at(0)), End: () => listSize() > 0 && select(at(listSize() - 1)),
    '+': () => zoom(1.25), '=': () => zoom(1.25), '-': () => zoom(0.8), 0: fit,
  };
  const replayKeys = {
    '.': () => step(state.step + 1), ',': () => step(state.step - 1), ' ': play, w: nextOfWord,
    ']': () => lineStep(1), '[': () => lineStep(-1), r: () => switchRun(),
  };

  function onKey(event) {
    if (event.target === findField || event.ctrlKey || event.metaKey || event.altKey) return;
    if (event.target instanceof HTMLButtonElement && (event.key === ' ' || event.key === 'Enter')) return;
    if (event.target === $('step') && /^(Arrow|Home|End|Page)/.test(event.key)) return;
    const action = keys[event.key] || (replay && replayKeys[event.key]);
    if (!action) return;
    event.preventDefault();
    action();
  }

  function onFindKey(event) {
    if (event.key === 'Enter') {
      event.preventDefault();
      find(findField.value);
    } else if (event.key === 'Escape') {
      canvas.focus();
    }
  }

  let drag = null;

  function onPointerDown(event) {
    drag = { x: event.clientX, y: event.clientY, moved: false };
    canvas.setPointerCapture(event.pointerId);
    canvas.focus();
  }

  function onPointerMove(event) {
    const rect = canvas.getBoundingClientRect();
    if (drag) {
      const dx = event.clientX - drag.x;
      const dy = event.clientY - drag.y;
      if (drag.moved || Math.abs(dx) + Math.abs(dy) > 3) {
        drag.moved = true;
        drag.x = event.clientX;
        drag.y = event.clientY;
        pan(dx, dy);
      }
      return;
    }
    const point = toWorld(event.clientX - rect.left, event.clientY - rect.top);
    const i = elementAt(point.x, point.y);
    pointer.replaceChildren();
    if (i >= 0) {
      pointer.append(`${current.rank[i] + 1} `);
      appendWord(pointer, data.words[i]);
    }
  }

  function onPointerUp(event) {
    const clicked = drag && !drag.moved;
    drag = null;
    if (!clicked) return;
    const rect = canvas.getBoundingClientRect();
    const point = toWorld(event.clientX - rect.left, event.clientY - rect.top);
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
    step(Math.round(((event.clientX - rect.left) / rect.width) * replay.total));
  }

  function initReplay() {
    $('timeline').hidden = false;
    const slider = $('step');
    slider.max = String(replay.total);
    slider.addEventListener('input', () => step(Number(slider.value)));
    $('back').addEventListener('click', () => step(state.step - 1));
    $('forward').addEventListener('click', () => step(state.step + 1));
    $('play').addEventListener('click', play);
    $('next-of-word').addEventListener('click', nextOfWord);
    $('line-forward').addEventListener('click', () => lineStep(1));
    $('line-back').addEventListener('click', () => lineStep(-1));
    initCode();
    $('plot').addEventListener('click', onPlotClick);
    if (runs.length > 1) {
      $('run').hidden = false;
      $('run').addEventListener('click', () => switchRun());
      showRun();
    }
    showTotals();
  }

  function init() {
    const title = data.total === size
      ? `${size} element${size === 1 ? '' : 's'}`
      : `the first ${size} of ${data.total} elements`;
    $('title').textContent = replay ? `the run that built ${title}` : title;
    document.title = `wordlist: ${$('title').textContent}`;
    if (replay) initReplay();
    state.x = -GAP_X * 2;
    state.y = -GAP_Y;
    loadState();
    document.addEventListener('keydown', onKey);
    findField.addEventListener('keydown', onFindKey);
    viewButton.addEventListener('click', switchView);
    $('zoom-in').addEventListener('click', () => zoom(1.25));
    $('zoom-out').addEventListener('click', () => zoom(0.8));
    $('fit').addEventListener('click', fit);
    canvas.addEventListener('pointerdown', onPointerDown);
    canvas.addEventListener('pointermove', onPointerMove);
    canvas.addEventListener('pointerup', onPointerUp);
    canvas.addEventListener('wheel', onWheel, { passive: false });
    window.addEventListener('resize', () => { plotColumns = null; requestDraw(); });
    window.addEventListener('hashchange', () => {
      loadState();
      showDetails();
      showView();
    });
    showDetails();
    showView();
    draw(); // the first picture now, not a frame later
    canvas.focus();
  }

  init();
})();
