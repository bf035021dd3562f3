// The picture: the list's boxes and arrows on a canvas, in list order or
// in order of address, drawn from a scene alone: the run, the list at the
// position (see position.js), the stop of the list's code, the view
// (`view`, `selected`, `scale`, `x`, `y`, `width`, `height`) and the
// language of its few words of prose (`lang`). Only what is on screen is
// drawn.
import {
  BOX_H, BOX_W, GAP_X, GAP_Y, PITCH_X, PITCH_Y, boxPlace, elementAtRank, rankCount, rankIn,
} from './layout.js';
import { sayText } from './language.js';
import { LINKED, nextAddress, present } from './position.js';
import { pointersOf } from './pointers.js';
import { addressOf, additionOf, countAt } from './run.js';
import { shortened } from './words.js';

export const LINE = 16;
const FONT = '11px "DejaVu Sans Mono", monospace';
const BOLD = 'bold 11px "DejaVu Sans Mono", monospace';
const CHAR_W = 6.7; // advance of one character in FONT, near enough
const BOX_CHARS = Math.floor((BOX_W - 12) / CHAR_W);
// Every fill a box with text on it takes: plain, looked at by the first
// walk, by both, and selected. Its text is COLOUR.text or COLOUR.escape,
// each at least 4.5:1 against every one.
export const BOX_FILL = { box: '#E4ECF7', walk: '#F6C59A', walkBoth: '#F0A878', selected: '#FFD966' };
export const COLOUR = {
  boxEdge: '#6B7A90', text: '#1B1F24', escape: '#8B0018', arrow: '#1F5FBF',
  faint: 'rgba(31, 95, 191, 0.18)', target: '#1F5FBF',
  source: '#7A3EB1', dim: '#8A96A8',
  walkPath: 'rgba(214, 96, 20, 0.55)', placePath: 'rgba(120, 40, 160, 0.6)', empty: '#5F6B7D', emptyFill: '#B8C2D0',
  added: '#2E7D32', pointer: '#C2185B',
};
// Where the head pointer is written, left of the first box.
export const HEAD_AT = { x: -GAP_X - 26, y: LINE * 3 + 14 };
// Where null pointers point: a column of null marks under the head.
export const NULL_AT = { x: -8, y: BOX_H + GAP_Y / 2 + 4 };
const NULL_PITCH = 18;
export const FAR_BOX_H = 30; // screen pixels: a box any smaller is drawn plain

const rankBox = (s, rank) => boxPlace(rank, s.columns);
export const sceneBox = (s, i) => rankBox(s, rankIn(s.run, s.list, s.view, i));
const following = (s, i) => s.list.next[i];
const preceding = (s, i) => (s.list.status[i] === LINKED && s.list.rank[i] > 0
  ? s.list.order[s.list.rank[i] - 1] : -1);
const worldPoint = (s, px, py) => ({ x: s.x + px / s.scale, y: s.y + py / s.scale });

// Draws the scene `s` with `context`, whose canvas is the scene's size.
// Returns what it drew, for those who cannot see it: `boxes`, the
// elements whose boxes are on screen, and `pointers`, the code's pointers
// drawn ({ name, label, value }).
export function drawScene(context, scene) {
  const s = { ...scene, context };
  context.clearRect(0, 0, s.width, s.height);
  context.setTransform(s.ratio * s.scale, 0, 0, s.ratio * s.scale,
    -s.x * s.scale * s.ratio, -s.y * s.scale * s.ratio);
  const visible = visibleRanks(s);
  const detailed = s.scale * BOX_H >= FAR_BOX_H;
  if (s.view === 'list') {
    drawHead(s);
    if (detailed) drawListArrows(s, visible);
  } else {
    drawMemoryArrows(s, visible, detailed);
  }
  if (detailed) drawBoxes(s, visible);
  else drawFarBoxes(s, visible);
  if (s.run.replay && s.view === 'memory') drawWalks(s);
  if (s.view === 'list') drawEnd(s);
  const pointers = s.stop ? drawPointers(s) : [];
  return { boxes: boxesOnScreen(s, visible), pointers };
}

// The elements whose boxes are on screen, the one outside the list too.
function boxesOnScreen(s, visible) {
  const boxes = [];
  forEachVisible(s, visible, (i) => { if (present(s.list, i)) boxes.push(i); });
  const outside = s.list.outside;
  if (outside >= 0 && s.view === 'list') {
    const box = sceneBox(s, outside);
    const top = worldPoint(s, 0, 0);
    const bottom = worldPoint(s, s.width, s.height);
    if (box.x < bottom.x && box.x + BOX_W > top.x && box.y < bottom.y && box.y + BOX_H > top.y) boxes.push(outside);
  }
  return boxes;
}

// The ranks in view, row by row: [first, last] per visible row.
function visibleRanks(s) {
  const top = worldPoint(s, 0, 0);
  const bottom = worldPoint(s, s.width, s.height);
  const count = rankCount(s.run, s.list, s.view);
  const firstRow = Math.max(0, Math.floor(top.y / PITCH_Y));
  const lastRow = Math.min(Math.ceil(count / s.columns) - 1, Math.floor(bottom.y / PITCH_Y));
  const firstColumn = Math.max(0, Math.floor(top.x / PITCH_X));
  const lastColumn = Math.min(s.columns - 1, Math.floor(bottom.x / PITCH_X));
  const rows = [];
  for (let row = firstRow; row <= lastRow && firstColumn <= lastColumn; row += 1) {
    const first = row * s.columns + firstColumn;
    const last = Math.min(count - 1, row * s.columns + lastColumn);
    if (first <= last) rows.push([first, last]);
  }
  return rows;
}

function forEachVisible(s, visible, action) {
  for (const [first, last] of visible) {
    for (let rank = first; rank <= last; rank += 1) action(elementAtRank(s.run, s.list, s.view, rank), rank);
  }
}

const countVisible = (visible) => visible.reduce((sum, [first, last]) => sum + last - first + 1, 0);

function boxColour(s, i) {
  if (i === s.selected) return BOX_FILL.selected;
  if (s.list.walked[i] === 3) return BOX_FILL.walkBoth;
  if (s.list.walked[i]) return BOX_FILL.walk;
  return BOX_FILL.box;
}

// Far out: plain boxes, one path per colour, and the selection large
// enough to be seen.
function drawFarBoxes(s, visible) {
  const { context } = s;
  // One pass sorts the boxes by colour; one path per colour fills them.
  const byColour = new Map([BOX_FILL.box, BOX_FILL.walk, BOX_FILL.walkBoth, COLOUR.emptyFill].map((c) => [c, []]));
  forEachVisible(s, visible, (i, rank) => {
    byColour.get(present(s.list, i) ? boxColour(s, i) : COLOUR.emptyFill)?.push(rank);
  });
  for (const [colour, ranks] of byColour) {
    context.fillStyle = colour;
    context.beginPath();
    for (const rank of ranks) {
      const box = rankBox(s, rank);
      context.rect(box.x, box.y, BOX_W, BOX_H);
    }
    context.fill();
  }
  if (s.selected < 0 || !present(s.list, s.selected)) return;
  const box = sceneBox(s, s.selected);
  const grow = Math.max(0, 6 / s.scale - BOX_W / 2);
  context.fillStyle = BOX_FILL.selected;
  context.strokeStyle = COLOUR.text;
  context.lineWidth = 2 / s.scale;
  context.fillRect(box.x - grow, box.y - grow, BOX_W + 2 * grow, BOX_H + 2 * grow);
  context.strokeRect(box.x - grow, box.y - grow, BOX_W + 2 * grow, BOX_H + 2 * grow);
}

function drawBoxes(s, visible) {
  const { context } = s;
  const sel = s.selected;
  const target = sel >= 0 ? following(s, sel) : -1;
  const source = sel >= 0 ? preceding(s, sel) : -1;
  const own = s.run.replay && s.step > 0 ? additionOf(s.run, s.step).element : -1;
  const fields = s.view === 'list' ? drawListFields : drawMemoryFields;
  forEachVisible(s, visible, (i, rank) => {
    const box = rankBox(s, rank);
    if (!present(s.list, i)) {
      drawEmptySlot(s, i, box);
      return;
    }
    context.fillStyle = boxColour(s, i);
    context.fillRect(box.x, box.y, BOX_W, BOX_H);
    context.lineWidth = i === sel || i === target || i === source || i === own ? 3 : 1;
    context.strokeStyle = i === own ? COLOUR.added : i === target ? COLOUR.target
      : i === source ? COLOUR.source : COLOUR.boxEdge;
    context.strokeRect(box.x, box.y, BOX_W, BOX_H);
    fields(s, i, box);
  });
  const outside = s.list.outside;
  if (s.view === 'list' && outside >= 0) {
    // Apart from the list: dashed, with its own NEXT.
    const box = sceneBox(s, outside);
    context.fillStyle = outside === sel ? BOX_FILL.selected : BOX_FILL.box;
    context.fillRect(box.x, box.y, BOX_W, BOX_H);
    context.setLineDash([6, 3]);
    context.lineWidth = 3;
    context.strokeStyle = COLOUR.added;
    context.strokeRect(box.x, box.y, BOX_W, BOX_H);
    context.setLineDash([]);
    drawListFields(s, outside, box);
    if (s.list.next[outside] < 0) nullEnd(s, box, COLOUR.added);
  }
}

// At a line of code: every pointer of every active call, each a labelled
// arrow onto the box it points to (a pointer to a NEXT field onto that
// field, &head onto the head, null onto the null mark), and in the memory
// view the head itself. Returns the pointers drawn, as #scene names them.
function drawPointers(s) {
  const { context, list } = s;
  if (s.scale * BOX_H < FAR_BOX_H) return drawFarPointers(s);
  if (s.view === 'memory') {
    drawText(s, 'head', HEAD_AT.x, HEAD_AT.y, BOLD, COLOUR.text);
    if (list.order.length > 0) {
      curve(s, { x: HEAD_AT.x - BOX_W / 2 + 14, y: HEAD_AT.y - BOX_H / 2 }, sceneBox(s, list.order[0]), COLOUR.dim, 1.2);
    }
  }
  const taken = new Map();
  const drawn = pointersDrawn(s);
  let nulls = 0;
  for (const { label, target } of drawn) {
    if (!target) {
      drawNullPointer(s, label, nulls);
      nulls += 1;
      continue;
    }
    const key = `${target.x},${target.top}`;
    const n = taken.get(key) || 0;
    taken.set(key, n + 1);
    const at = { x: target.labelX, y: target.top - 8 - 13 * n };
    context.textAlign = target.align;
    drawText(s, label, at.x, at.y, BOLD, COLOUR.pointer);
    context.textAlign = 'left';
    const from = { x: target.align === 'right' ? at.x - 4 : at.x + 8, y: at.y + 3 };
    context.beginPath();
    context.moveTo(from.x, from.y);
    context.lineTo(target.x, target.y);
    stroke(s, COLOUR.pointer, 2);
    arrowHead(s, target.x, target.y, Math.atan2(target.y - from.y, target.x - from.x), COLOUR.pointer);
  }
  return drawn;
}

// The pointers of the stop that have something drawn to point to:
// { name, label, value, target }, `target` from pointerTarget (null for a
// null pointer).
function pointersDrawn(s) {
  return pointersOf(s.stop).map(({ name, label, value }) => ({
    name, label, value, target: value.kind === 'null' ? null : pointerTarget(s, value),
  })).filter(({ value, target }) => value.kind === 'null' || target);
}

// Far out, where a box is a few pixels: the same pointers at the size of
// the screen, each a ring round the point it points to, with its label;
// the head and the null marks where they stand near.
function drawFarPointers(s) {
  const { context, list } = s;
  const screen = ({ x, y }) => ({ x: (x - s.x) * s.scale, y: (y - s.y) * s.scale });
  context.save();
  context.setTransform(s.ratio, 0, 0, s.ratio, 0, 0);
  context.lineWidth = 2;
  const head = screen(HEAD_AT);
  if (s.view === 'memory') {
    drawText(s, 'head', head.x - 30, head.y, BOLD, COLOUR.text);
    if (list.order.length > 0) {
      const first = sceneBox(s, list.order[0]);
      context.beginPath();
      context.moveTo(head.x, head.y - 4);
      const to = screen({ x: first.x + BOX_W / 2, y: first.y + BOX_H / 2 });
      context.lineTo(to.x, to.y);
      context.strokeStyle = COLOUR.dim;
      context.stroke();
    }
  }
  const drawn = pointersDrawn(s);
  const rings = new Map();
  let nulls = 0;
  for (const { label, target } of drawn) {
    const at = target ? screen(target) : { x: head.x, y: head.y + 16 + 16 * nulls };
    if (!target) nulls += 1;
    const key = `${Math.round(at.x)},${Math.round(at.y)}`;
    const n = rings.get(key) ?? 0;
    rings.set(key, n + 1);
    context.beginPath();
    context.arc(at.x, at.y, 7, 0, 2 * Math.PI);
    if (!target) {
      context.moveTo(at.x - 5, at.y + 5);
      context.lineTo(at.x + 5, at.y - 5);
    }
    context.strokeStyle = COLOUR.pointer;
    context.stroke();
    drawText(s, label, at.x + 10, at.y + 4 + 13 * n, BOLD, COLOUR.pointer);
  }
  context.restore();
  return drawn;
}

// Where the labels right of the head's arrows and of the null marks end,
// and which pointers have their label there.
const HEAD_LABEL_END = -6;
const NULL_LABEL_END = NULL_AT.x - 22;
const LABEL_END = { head: HEAD_LABEL_END, null: NULL_LABEL_END };

// The world x where the labels drawn left of the head and of the null
// marks at `stop` begin (0 for none), so that a view can keep them whole.
export function labelsLeft(stop) {
  let left = 0;
  for (const { label, value } of pointersOf(stop)) {
    const end = LABEL_END[value.kind];
    if (end !== undefined) left = Math.min(left, end - label.length * CHAR_W);
  }
  return left;
}

// A null pointer: its label, and a short arrow into the null mark, in a
// column under the head.
function drawNullPointer(s, label, n) {
  const { context } = s;
  const y = NULL_AT.y + NULL_PITCH * n;
  context.textAlign = 'right';
  drawText(s, label, NULL_LABEL_END, y + 4, BOLD, COLOUR.pointer);
  context.textAlign = 'left';
  context.beginPath();
  context.moveTo(NULL_AT.x - 20, y);
  context.lineTo(NULL_AT.x - 7, y);
  stroke(s, COLOUR.pointer, 2);
  arrowHead(s, NULL_AT.x - 6, y, 0, COLOUR.pointer);
  drawNullMark(s, NULL_AT.x, y, COLOUR.pointer);
}

// The null mark: a ring struck through.
export function drawNullMark(s, x, y, colour) {
  const { context } = s;
  context.beginPath();
  context.arc(x, y, 5, 0, 2 * Math.PI);
  context.moveTo(x - 5, y + 5);
  context.lineTo(x + 5, y - 5);
  stroke(s, colour, 1.5);
}

// Where a pointer's arrow ends: on an element's box, on its NEXT field,
// or on the head, with where its label stands; null for an element not
// drawn.
function pointerTarget(s, value) {
  if ((value.kind === 'element' || value.kind === 'next') && present(s.list, value.index)) {
    const box = sceneBox(s, value.index);
    const onBox = { top: box.y, labelX: box.x + 4, align: 'left' };
    return value.kind === 'element' ? { ...onBox, x: box.x + 24, y: box.y }
      : { ...onBox, x: box.x + BOX_W - 40, y: box.y + LINE * 3 + 6 };
  }
  if (value.kind === 'head') {
    return { x: HEAD_AT.x + 12, y: HEAD_AT.y - 12, top: HEAD_AT.y - 14, labelX: HEAD_LABEL_END, align: 'right' };
  }
  return null;
}

// A slot of the heap whose element is not allocated (yet, or any more).
function drawEmptySlot(s, i, box) {
  const { context } = s;
  context.setLineDash([4, 4]);
  context.lineWidth = 1;
  context.strokeStyle = COLOUR.empty;
  context.strokeRect(box.x, box.y, BOX_W, BOX_H);
  context.setLineDash([]);
  drawText(s, addressOf(s.run, i), box.x + 6, box.y + LINE, FONT, COLOUR.empty);
}

export function drawText(s, text, x, y, font, colour) {
  s.context.font = font;
  s.context.fillStyle = colour;
  s.context.fillText(text, x, y);
}

// A word, shortened to `room` characters, with its escapes in red.
function drawWord(s, word, x, y, room) {
  const { pieces: shown, cut } = shortened(word, room);
  let pen = x;
  for (const piece of shown) {
    drawText(s, piece.text, pen, y, BOLD, piece.escaped ? COLOUR.escape : COLOUR.text);
    pen += [...piece.text].length * CHAR_W;
  }
  if (cut) drawText(s, '\u2026', pen, y, BOLD, COLOUR.text);
}

const positionText = (list, i) => (list.status[i] === LINKED ? String(list.rank[i] + 1) : '-');

function drawListFields(s, i, box) {
  const x = box.x + 6;
  const y = box.y + LINE;
  const position = positionText(s.list, i);
  drawText(s, position, x, y, FONT, COLOUR.text);
  drawWord(s, s.run.data.words[i], x + (position.length + 1) * CHAR_W, y,
    BOX_CHARS - position.length - 2);
  drawText(s, `COUNT ${countAt(s.run, i, s.list.countStep)}`, x, y + LINE, FONT, COLOUR.text);
  drawText(s, `ADR   ${addressOf(s.run, i)}`, x, y + 2 * LINE, FONT, COLOUR.text);
  const selected = i === s.selected;
  const next = nextAddress(s.run, s.list, i, (j) => addressOf(s.run, j));
  drawText(s, `NEXT  ${next}`, x, y + 3 * LINE, selected ? BOLD : FONT,
    selected ? COLOUR.target : COLOUR.text);
}

// The bytes between an element and the next one up in memory.
function distanceUp(run, i) {
  const rank = run.memoryRank[i];
  if (rank + 1 >= run.size) return null;
  return BigInt(`0x${addressOf(run, run.data.byAddress[rank + 1])}`) - BigInt(`0x${addressOf(run, i)}`);
}

function drawMemoryFields(s, i, box) {
  const x = box.x + 6;
  const y = box.y + LINE;
  drawText(s, addressOf(s.run, i), x, y, BOLD, COLOUR.text);
  const position = `${positionText(s.list, i)}.`;
  drawText(s, position, x, y + LINE, FONT, COLOUR.text);
  drawWord(s, s.run.data.words[i], x + (position.length + 1) * CHAR_W, y + LINE,
    BOX_CHARS - position.length - 2);
  drawText(s, `COUNT ${countAt(s.run, i, s.list.countStep)}`, x, y + 2 * LINE, FONT, COLOUR.text);
  const distance = distanceUp(s.run, i);
  if (distance !== null) drawText(s, sayText(s.lang, 'canvas.up', { bytes: distance }), x, y + 3 * LINE, FONT, COLOUR.text);
}

function arrowHead(s, x, y, angle, colour) {
  const length = 8;
  const { context } = s;
  context.fillStyle = colour;
  context.beginPath();
  context.moveTo(x, y);
  context.lineTo(x - length * Math.cos(angle - 0.4), y - length * Math.sin(angle - 0.4));
  context.lineTo(x - length * Math.cos(angle + 0.4), y - length * Math.sin(angle + 0.4));
  context.closePath();
  context.fill();
}

function stroke(s, colour, width) {
  s.context.strokeStyle = colour;
  s.context.lineWidth = width / Math.max(s.scale, 0.25);
  s.context.stroke();
}

// In list order each NEXT leads to the box beside it, or round to the
// first box of the next row.
function drawListArrows(s, visible) {
  const count = s.list.order.length;
  forEachVisible(s, visible, (i, rank) => {
    if (rank + 1 >= count) return;
    const highlighted = i === s.selected;
    listArrow(s, rankBox(s, rank), rankBox(s, rank + 1), highlighted ? COLOUR.arrow : COLOUR.dim,
      highlighted ? 3 : 1.2);
  });
  // The element outside the list, once its NEXT is set.
  const outside = s.list.outside;
  if (outside >= 0 && s.list.next[outside] >= 0) {
    curve(s, sceneBox(s, outside), sceneBox(s, s.list.next[outside]), COLOUR.added, 2);
  }
}

function listArrow(s, from, to, colour, width) {
  const { context } = s;
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
  stroke(s, colour, width);
  arrowHead(s, to.x, end, 0, colour);
}

// In order of address the NEXT arrows jump about: the selected element's
// and its neighbours' are drawn clearly, the others faintly, and only
// when few boxes are in view.
function drawMemoryArrows(s, visible, detailed) {
  const sel = s.selected;
  const source = sel >= 0 ? preceding(s, sel) : -1;
  const target = sel >= 0 ? following(s, sel) : -1;
  const near = (i) => sel >= 0 && (i === sel || i === source || i === target);
  const walking = s.run.replay && s.step > 0;
  if (detailed && !walking && countVisible(visible) <= 400) {
    forEachVisible(s, visible, (i) => {
      if (present(s.list, i) && following(s, i) >= 0 && !near(i)) memoryArrow(s, i, COLOUR.faint, 1);
    });
  }
  if (sel < 0 || !present(s.list, sel)) return;
  if (source >= 0) memoryArrow(s, source, COLOUR.source, 2.5);
  if (target >= 0) memoryArrow(s, sel, COLOUR.arrow, 3.5);
  if (target >= 0 && following(s, target) >= 0) memoryArrow(s, target, COLOUR.dim, 2.5);
}

const memoryArrow = (s, i, colour, width) => curve(s, sceneBox(s, i), sceneBox(s, following(s, i)), colour, width);

function curve(s, from, to, colour, width) {
  const { context } = s;
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
  stroke(s, colour, width);
  arrowHead(s, x2, y2, Math.atan2(y2 - cy, x2 - cx), colour);
}

// The current addition's walks through the heap, box to box in list
// order: the search for an equal word, then the search for the place.
function drawWalks(s) {
  const walk = s.list.before;
  if (walk.length === 0 || s.step === 0) return;
  const path = (count, colour, shift) => {
    s.context.beginPath();
    for (let p = 0; p < count && p < walk.length; p += 1) {
      const box = sceneBox(s, walk[p]);
      const x = box.x + BOX_W / 2 + shift;
      const y = box.y + BOX_H / 2 + shift;
      if (p === 0) s.context.moveTo(x, y);
      else s.context.lineTo(x, y);
    }
    stroke(s, colour, 1.5);
  };
  // As far as the walks have gone at the position, as the boxes are lit.
  path(s.list.looked[0], COLOUR.walkPath, 0);
  path(s.list.looked[1], COLOUR.placePath, 6);
}

function drawHead(s) {
  const { context } = s;
  drawText(s, 'head', HEAD_AT.x, HEAD_AT.y, BOLD, COLOUR.text);
  context.beginPath();
  context.moveTo(-GAP_X + 4, LINE * 3 + 10);
  context.lineTo(0, LINE * 3 + 10);
  stroke(s, COLOUR.dim, 1.2);
  arrowHead(s, 0, LINE * 3 + 10, 0, COLOUR.dim);
}

// After the last box: its NEXT into the null mark, or how many elements
// were left out.
function drawEnd(s) {
  const { run } = s;
  const count = s.list.order.length;
  const end = count === 0 ? { x: 0, y: 0 } : rankBox(s, count - 1);
  const ended = run.replay || run.data.tail === run.nullAddress;
  if (ended) {
    nullEnd(s, count === 0 ? { x: -BOX_W, y: 0 } : end, COLOUR.dim);
    return;
  }
  drawText(s, sayText(s.lang, 'canvas.more', { more: run.data.total - run.size }), end.x + BOX_W + 8,
    end.y + LINE * 3 + 14, BOLD, COLOUR.dim);
}

// A null NEXT: a short arrow from the box's NEXT field into the null mark.
function nullEnd(s, box, colour) {
  const y = box.y + LINE * 3 + 10;
  s.context.beginPath();
  s.context.moveTo(box.x + BOX_W, y);
  s.context.lineTo(box.x + BOX_W + 16, y);
  stroke(s, colour, 1.2);
  arrowHead(s, box.x + BOX_W + 17, y, 0, colour);
  drawNullMark(s, box.x + BOX_W + 23, y, colour);
}
