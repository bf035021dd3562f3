// Your turn on the canvas: NULL drawn where a click answers it, the
// answer under a point of the picture, and after the verdict the right
// answer marked, and the learner's where it was wrong. In world units,
// over the scene drawing.js has drawn.
import {
  FAR_BOX_H, HEAD_AT, LINE, NULL_AT, drawNullMark, drawText, sceneBox,
} from './drawing.js';
import { sayText } from './language.js';
import { BOX_H, BOX_W } from './layout.js';
import { present } from './position.js';
import {
  AT_HEAD, NULL_ANSWER, elementAnswer, sameAnswer,
} from './questions.js';

// A question's frame zooms out no further than this, where a box's word
// can still be read to answer by (its 11 px font at 8 px; from FAR_BOX_H
// on, a box is drawn with no word at all).
export const ANSWER_SCALE = Math.max(0.75, FAR_BOX_H / BOX_H);
const MARK_FONT = 'bold 12px "DejaVu Sans", sans-serif';
const MARK_COLOUR = { truth: '#2E7D32', given: '#B00020', target: '#1B1F24' };
// The head as a click answers it: its label and its arrow to the first box.
const HEAD_RECT = { x: HEAD_AT.x - 6, y: HEAD_AT.y - 16, width: 6 - HEAD_AT.x, height: 24 };
const NULL_REACH = 12;

// The null marks a click answers NULL on: the one under the head, and in
// the list view the one at the list's end.
function nullMarks(s) {
  const marks = [{ x: NULL_AT.x, y: NULL_AT.y }];
  if (s.view === 'list') {
    const count = s.list.order.length;
    const last = count === 0 ? { x: -BOX_W, y: 0 } : sceneBox(s, s.list.order[count - 1]);
    marks.push({ x: last.x + BOX_W + 23, y: last.y + LINE * 3 + 10 });
  }
  return marks;
}

// The answer a click at world point (wx, wy) gives to a question that
// takes the answers `others` besides an element: the element `element`
// whose box is there (-1: none), the head, NULL, or null for nothing.
export function answerAt(scene, wx, wy, element, others) {
  if (element >= 0) return elementAnswer(element);
  const r = HEAD_RECT;
  if (others.includes('head') && wx >= r.x && wx <= r.x + r.width && wy >= r.y && wy <= r.y + r.height) return AT_HEAD;
  const near = ({ x, y }) => Math.hypot(wx - x, wy - y) <= NULL_REACH;
  return others.includes('null') && nullMarks(scene).some(near) ? NULL_ANSWER : null;
}

const markWidth = (s, pixels) => pixels / Math.max(s.scale, 0.25);

function outlineArea(s, { x, y, w, h }, colour) {
  s.context.strokeStyle = colour;
  s.context.lineWidth = markWidth(s, 3);
  s.context.strokeRect(x, y, w, h);
}

// One answer marked in `colour` with `label`: an element's box (for
// `slot`, its NEXT field), the head, or the null mark under the head.
function markAnswer(s, answer, colour, label, slot) {
  const { context } = s;
  let area = null;
  if (answer.kind === 'element' && present(s.list, answer.index)) {
    const box = sceneBox(s, answer.index);
    area = slot && s.view === 'list' ? { x: box.x + 2, y: box.y + LINE * 3 - 1, w: BOX_W - 4, h: LINE + 4 }
      : { x: box.x - 4, y: box.y - 4, w: BOX_W + 8, h: BOX_H + 8 };
  } else if (answer.kind === 'head') {
    area = { x: HEAD_RECT.x, y: HEAD_RECT.y, w: HEAD_RECT.width, h: HEAD_RECT.height };
  } else if (answer.kind === 'null') {
    drawNullMark(s, NULL_AT.x, NULL_AT.y, colour);
    area = { x: NULL_AT.x - 9, y: NULL_AT.y - 9, w: 18, h: 18 };
  }
  if (!area) return;
  outlineArea(s, area, colour);
  // Under the head and the null mark, where no pointer's label goes;
  // over a box at its right, where pointers' labels are not.
  const under = answer.kind !== 'element';
  context.textAlign = under ? 'left' : 'right';
  drawText(s, label, under ? area.x : area.x + area.w, under ? area.y + area.h + 14 : area.y - 5, MARK_FONT, colour);
  context.textAlign = 'left';
}

// Draws what a question shows on the canvas: while it is open (`given`
// null), NULL where it is an answer (`others`); once answered, the right
// answer `truth`, and `given` where it is not that. `slot`: the question
// names a NEXT field by its element.
export function drawAnswerMarks(context, scene, {
  others, truth, given, slot,
}) {
  const s = { ...scene, context };
  if (!given) {
    if (!others.includes('null')) return;
    drawNullMark(s, NULL_AT.x, NULL_AT.y, MARK_COLOUR.target);
    context.textAlign = 'right';
    drawText(s, sayText(s.lang, 'ask.nullTarget'), NULL_AT.x - 10, NULL_AT.y + 4, MARK_FONT, MARK_COLOUR.target);
    context.textAlign = 'left';
    return;
  }
  markAnswer(s, truth, MARK_COLOUR.truth, sayText(s.lang, 'ask.markTruth'), slot);
  if (!sameAnswer(given, truth)) markAnswer(s, given, MARK_COLOUR.given, sayText(s.lang, 'ask.markGiven'), slot);
}
