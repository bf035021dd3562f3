// The canvas's gestures in Node, on a canvas that only takes listeners:
// what each run of pointer events asks the page for.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { followGestures } from '../../graph/page/gestures.js';

// A canvas at (10, 20) on the page whose pointer capture fails for
// pointer 9, as a browser's does for a pointer it does not know.
function fakeCanvas() {
  const listeners = new Map();
  return {
    listeners,
    focused: false,
    addEventListener: (type, listener) => listeners.set(type, listener),
    getBoundingClientRect: () => ({ left: 10, top: 20 }),
    setPointerCapture: (id) => { if (id === 9) throw new Error('not active'); },
    focus() { this.focused = true; },
  };
}

test('each run of pointer events asks for a click, a pan, a zoom or a point', () => {
  const [down, move, up, cancel] = ['pointerdown', 'pointermove', 'pointerup', 'pointercancel'];
  const cases = [
    // [what, events as [type, pointer, x, y], what is asked for]
    ['a click', [[down, 1, 50, 60], [up, 1, 50, 60]], [['click', 40, 40]]],
    ['a pointer not captured clicks all the same', [[down, 9, 50, 60], [up, 9, 50, 60]], [['click', 40, 40]]],
    ['a move of 3 pixels is still a click', [[down, 1, 50, 60], [move, 1, 52, 61], [up, 1, 52, 61]],
      [['click', 42, 41]]],
    ['a drag pans from its start, then step by step, and clicks nothing',
      [[down, 1, 50, 60], [move, 1, 54, 60], [move, 1, 55, 58], [up, 1, 55, 58]], [['pan', 4, 0], ['pan', 1, -2]]],
    ['two fingers zoom about the point between them, and click nothing',
      [[down, 1, 10, 20], [down, 2, 110, 20], [move, 2, 210, 20], [up, 2, 210, 20], [up, 1, 10, 20]],
      [['zoom', 2, 100, 0]]],
    ['a pointer over the picture, not pressed, points', [[move, 5, 30, 40]], [['point', 20, 20]]],
    ['a pointer cancelled leaves no drag', [[down, 1, 50, 60], [cancel, 1, 50, 60], [move, 1, 90, 90]],
      [['point', 80, 70]]],
  ];
  for (const [what, events, asked] of cases) {
    const canvas = fakeCanvas();
    const seen = [];
    const to = Object.fromEntries(['pan', 'zoom', 'click', 'point'].map((name) => [name, (...args) => seen.push([name, ...args])]));
    followGestures(canvas, to, {});
    for (const [type, pointerId, clientX, clientY] of events) {
      canvas.listeners.get(type)({ pointerId, clientX, clientY });
    }
    assert.deepEqual(seen, asked, what);
    assert.equal(canvas.focused, events[0][0] === down, `${what}: the canvas focused`);
  }
});

test('the wheel zooms about the pointer, and the page does not scroll', () => {
  const canvas = fakeCanvas();
  const seen = [];
  followGestures(canvas, { zoom: (...args) => seen.push(args) }, {});
  let prevented = false;
  canvas.listeners.get('wheel')({ deltaY: -400, clientX: 110, clientY: 120, preventDefault: () => { prevented = true; } });
  assert.deepEqual(seen, [[Math.E, 100, 100]]);
  assert.ok(prevented);
});
