// The page's models in Node, without a browser: words shown and found as
// the program compares them, the replay's walks, and the model of the
// list's code as the page writes it out. (That the model stops where a
// debugger stops is tests/gdb's to check.)
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { test } from 'node:test';

import {
  additionPlan, additionSegments, codeMap, freePlan, freedAt, lookedAt, planOfSegments, planStop, segment,
  shownRanges,
} from '../../graph/page/code_steps.js';
import { readFragment, writeFragment } from '../../graph/page/fragment.js';
import {
  BOX_H, BOX_W, GAP_X, GAP_Y, PITCH_X, PITCH_Y, boxPlace, columnsFor, pointersRect, rankAt, worldExtent,
} from '../../graph/page/layout.js';
import { listBefore, makeReplay } from '../../graph/page/replay.js';
import { cString, compareText, framesText } from '../../graph/page/texts.js';
import {
  MIN_SCALE, centred, fitted, framed, revealed, zoomed,
} from '../../graph/page/view.js';
import { BOX_FILL, COLOUR, labelsLeft } from '../../graph/page/drawing.js';
import { bytesOf, findWord, shortened } from '../../graph/page/words.js';

const source = readFileSync(new URL('../../src/word_list.cpp', import.meta.url), 'utf8');
const map = codeMap(source);

// A byte that is not UTF-8, as the page's data holds it.
const byte = (value) => String.fromCharCode(0xDC00 + value);

test('a word is cut to its box with every escape whole, and says so', () => {
  const cases = [
    // [word, room, shown pieces as text (escapes in brackets), cut]
    ['abc', 3, 'abc', false],
    ['abcd', 3, 'abc', true],
    [`${'a'.repeat(21)}\u0001`, 21, 'a'.repeat(21), true],
    [`${'a'.repeat(21)}\u0001`, 24, `${'a'.repeat(21)}`, true],
    [`${'a'.repeat(21)}\u0001`, 25, `${'a'.repeat(21)}[\\x01]`, false],
    [`a${byte(0xFF)}b`, 5, 'a[\\xFF]', true],
    [`a${byte(0xFF)}b`, 6, 'a[\\xFF]b', false],
    ['\u00E1\u{1F600}x', 2, '\u00E1\u{1F600}', true],
  ];
  for (const [word, room, text, cut] of cases) {
    const result = shortened(word, room);
    assert.equal(result.pieces.map((p) => (p.escaped ? `[${p.text}]` : p.text)).join(''), text, word);
    assert.equal(result.cut, cut, word);
  }
});

test('a word is found, or placed, by its bytes as the list orders them', () => {
  // In byte order: "A" < "Z" < "a" < "\xC3\xA1" (á) < "\xFF".
  const words = ['A', 'Z', 'a', '\u00E1', byte(0xFF)];
  const order = [0, 1, 2, 3, 4];
  const cases = [
    ['a', { found: 2 }], ['\u00E1', { found: 3 }], [byte(0xFF), { found: 4 }],
    ['0', { after: -1 }], ['b', { after: 2 }], ['\u00E0', { after: 2 }],
    [byte(0xC3), { after: 2 }], [`${byte(0xC3)}${byte(0xA2)}`, { after: 3 }],
    ['\u{1F600}', { after: 3 }], [`${byte(0xFF)}x`, { after: 4 }],
  ];
  for (const [text, answer] of cases) assert.deepEqual(findWord(words, order, text), answer, text);
  // A list in no order (as list_add_front leaves it) is searched whole.
  assert.deepEqual(findWord(words, [4, 0, 2], 'a'), { found: 2 });
  assert.deepEqual(bytesOf(`\u00E1${byte(0x80)}`), [0xC3, 0xA1, 0x80]);
});

// The worked example's additions: pokus, druhy, pokus, pokus, Ahoj, ahoj,
// Don, t, stop, as the page numbers them (2i inserted, 2i + 1 counted):
// its final list is Ahoj Don ahoj druhy pokus stop t.
const workedSteps = [8, 6, 9, 9, 0, 4, 2, 12, 10];

test('the replay knows every addition\'s walks and the list it found', () => {
  const replay = makeReplay(workedSteps, 7);
  assert.deepEqual([...replay.position.slice(1)], [1, 1, 2, 2, 1, 2, 2, 6, 6]);
  assert.deepEqual([...replay.first.slice(1)], [0, 1, 2, 2, 2, 3, 4, 5, 6]);
  assert.deepEqual([...replay.second.slice(1)], [0, 1, 0, 0, 1, 2, 2, 5, 6]);
  assert.equal(replay.cumulative[9], 42);
  assert.deepEqual(listBefore(replay, 1), []);
  // Built at the front, the same additions take no second walk.
  const front = makeReplay([12, 10, 13, 13, 8, 6, 4, 2, 0], 7, true);
  assert.deepEqual([...front.second], new Array(10).fill(0));
  assert.deepEqual([...front.first.slice(1)], [0, 1, 2, 2, 2, 3, 4, 5, 6]);
  assert.deepEqual(listBefore(replay, 9), [0, 1, 2, 3, 4, 6]);
});

const lineOf = (fragment) => source.split('\n').findIndex((text) => text.includes(fragment)) + 1;
const names = {
  address: (i) => `0000AAA${i}`, nullAddress: '00000000', word: 'st\u0001p',
};

test('a stop is written as the page lists the calls, and says what it compares', () => {
  // "stop" inserted after the fifth of six elements: Ahoj Don ahoj druhy pokus t.
  const plan = additionPlan(map, {
    kind: 'inserted', before: [0, 1, 2, 3, 4, 6], at: 5, added: 5, wordBytes: 4,
  });
  const texts = (line) => framesText(planStop(plan, line), names);
  assert.equal(planStop(plan, 1).line, lineOf('if (WordNode* same = find_equal(*head, word))'));
  assert.deepEqual(texts(3), ['list_add_sorted: head = &head, word = "st\\x01p"',
    'find_equal: node = 0000AAA0, word = "st\\x01p"']);
  const wordOf = (i) => ['Ahoj', 'Don', 'ahoj', 'druhy', 'pokus', 'stop', '"'][i];
  assert.equal(compareText('en', planStop(plan, 3), names, wordOf),
    '"st\\x01p" against "Ahoj": not equal, go on');
  assert.equal(compareText('en', planStop(plan, 2), names, wordOf), '');
  // The place: past five elements, stopped by "t".
  const place = 1 + 2 * 6 + 15 + 2;
  assert.equal(compareText('en', planStop(plan, place), names, wordOf),
    '"st\\x01p" against "Ahoj": greater, go on');
  assert.equal(compareText('en', planStop(plan, place + 15), names, wordOf),
    '"st\\x01p" against "\\"": less, stop here');
  const link = plan.length - 3;
  assert.equal(planStop(plan, link).line, lineOf('*slot = node;'));
  assert.deepEqual(texts(link)[1], 'link_after: head = &head, predecessor = 0000AAA4, ' +
    'node = 0000AAA5, slot = &0000AAA4->next');
  assert.equal(plan.linkedFrom, link + 1);
  assert.equal(planStop(plan, plan.length + 1), null);
  // Counted at the head: its count is one higher from `return true;` on.
  const counted = additionPlan(map, { kind: 'counted', before: [0, 1], at: 0, added: 0, wordBytes: 4 });
  assert.equal(planStop(counted, counted.changedFrom).line, lineOf('return true;'));
  assert.equal(planStop(counted, counted.changedFrom - 1).line, lineOf('++node->count;'));
});

test('a word is written as a debugger writes a C string', () => {
  const cases = [
    ['stop', '"stop"'], ['"', '"\\""'], ['\\', '"\\\\"'], ['a"b\\c', '"a\\"b\\\\c"'],
    ['\\x01', '"\\\\x01"'], ['\u0001', '"\\x01"'], [`${byte(0xFF)}"`, '"\\xFF\\""'], ['', '""'],
  ];
  for (const [word, text] of cases) assert.equal(cString(word), text, word);
});

// Where stop `line` of `segments` goes once a stop is added at offset `o`
// of every round of segment `k`.
function movedTo(segments, k, o, line) {
  let base = 0;
  let added = 0;
  for (const [j, s] of segments.entries()) {
    const size = s.count * s.length;
    if (line <= base + size) {
      const [round, offset] = [Math.floor((line - base - 1) / s.length), (line - base - 1) % s.length];
      return line + added + (j === k ? round + (offset >= o ? 1 : 0) : 0);
    }
    if (j === k) added += s.count;
    base += size;
  }
  return line + added;
}

test('a stop added to a segment moves all that the plan says follows it', () => {
  const FROM = ['decidedFrom', 'changedFrom', 'absentFrom', 'madeFrom', 'wordFrom', 'copiedFrom', 'countedFrom',
    'linkedFrom'];
  const four = [0, 1, 2, 3];
  const additions = [
    // [addition, its segments]
    ...[{ kind: 'counted', before: four, at: 2, added: 2 }, { kind: 'counted', before: [0], at: 0, added: 0 },
      { kind: 'inserted', before: four, at: 0, added: 4 }, { kind: 'inserted', before: four, at: 2, added: 4 },
      { kind: 'inserted', before: four, at: 4, added: 4 }, { kind: 'inserted', before: [], at: 0, added: 0 },
      { kind: 'inserted', before: four, at: 0, added: 4, front: true },
    ].map((addition) => [{ ...addition, wordBytes: 4 }, additionSegments(map, { ...addition, wordBytes: 4 })]),
    ...[[], four].map((order) => [null, freePlan(map, order).segments]),
  ];
  const made = (segments, addition) => (addition ? planOfSegments(segments, addition)
    : { ...freePlan(map, []), segments, length: segments.reduce((sum, s) => sum + s.count * s.length, 0) });
  let moves = 0;
  for (const [addition, segments] of additions) {
    const plan = made(segments, addition);
    segments.forEach((s, k) => {
      // A stop of its own, first in each round and last.
      for (const o of [0, s.length]) {
        const at = [...s.at.slice(0, o), 'test.extra', ...s.at.slice(o)];
        const longer = segments.with(k, segment(s.count, at, (r, p) => (p === o ? null : s.make(r, p > o ? p - 1 : p))));
        const moved = made(longer, addition);
        const to = (line) => movedTo(segments, k, o, line);
        const where = `${JSON.stringify(addition)}, segment ${k}, offset ${o}`;
        assert.equal(moved.length, plan.length + s.count, where);
        for (const name of FROM.filter((field) => field in plan)) {
          assert.equal(moved[name], to(plan[name] - 1) + 1, `${where}: ${name}`);
        }
        for (let line = 1; line <= plan.length; line += 1) {
          assert.equal(planStop(moved, to(line)).line, planStop(plan, line).line, `${where}: stop ${line}`);
          const [was, now] = addition ? [lookedAt(plan, line), lookedAt(moved, to(line))]
            : [freedAt(plan, line), freedAt(moved, to(line))];
          assert.deepEqual(now, was, `${where}: what is done by stop ${line}`);
        }
        if (addition) assert.deepEqual(moved.walks.map((w) => w && w.from), plan.walks.map((w) => w && to(w.from)), where);
        moves += 1;
      }
    });
  }
  assert.ok(moves > 50, `${moves} stops added`);
});

test('list_free empties the list element by element', () => {
  const plan = freePlan(map, [0, 1, 2]);
  assert.equal(plan.length, 1 + 3 * 5 + 3);
  const seen = [];
  for (let line = 1; line <= plan.length; line += 1) {
    const { unlinked, wordsReleased, released } = freedAt(plan, line);
    seen.push(`${unlinked}${wordsReleased}${released}`);
  }
  assert.deepEqual(seen, ['000', '000', '000', '000', '100', '110', '111', '111', '111', '211',
    '221', '222', '222', '222', '322', '332', '333', '333', '333']);
  assert.equal(planStop(plan, 4).line, lineOf('*head = node->next;'));
  assert.equal(freePlan(map, []).length, 3);
});

test('the code is found in the source, or the page says what it misses', () => {
  const ranges = shownRanges(map);
  assert.equal(ranges.length, 7);
  const frontRanges = shownRanges(map, true);
  assert.equal(frontRanges.length, 6);
  assert.ok(frontRanges.some((range) => range.first === map.functions.list_add_front.range.first));
  assert.ok(!frontRanges.some((range) => range.first === map.functions.list_add_sorted.range.first));
  assert.ok(ranges.every((range, i) => i === 0 || ranges[i - 1].last < range.first));
  assert.throws(() => codeMap(source.replace('  *slot = node;', '  (*slot) = node;')),
    /link_after has no line with \*slot = node/);
  assert.throws(() => codeMap(source.replace('list_free(', 'list_release(')),
    /no function list_free/);
});

test('a point is over the box of its rank, or over none', () => {
  // Rows wrap to the canvas: as many boxes as fit beside the head's margin.
  assert.deepEqual([0, 300, 2 * GAP_X + PITCH_X - 1, 2 * GAP_X + PITCH_X, 1366].map(columnsFor), [1, 1, 1, 1, 5]);
  // Seven boxes in rows of six: a point in each box's corners, in the
  // gaps, in the margins, past the last column and past the last box.
  const cases = [
    [[0, 0], 0], [[BOX_W, BOX_H], 0], [[BOX_W + 1, 10], -1], [[10, BOX_H + 1], -1],
    [[5 * PITCH_X + 10, 10], 5], [[6 * PITCH_X + 10, 10], -1], [[7 * PITCH_X, 10], -1],
    [[10, PITCH_Y + 10], 6], [[PITCH_X + 10, PITCH_Y + 10], -1], [[-1, 10], -1], [[10, -1], -1],
  ];
  for (const [[x, y], rank] of cases) assert.equal(rankAt(x, y, 6, 7), rank, `${x},${y}`);
  assert.deepEqual(boxPlace(6, 6), { x: 0, y: PITCH_Y });
  assert.deepEqual(worldExtent(7, 6), { width: 6 * PITCH_X - 46, height: 2 * PITCH_Y - 42 });
  assert.deepEqual(worldExtent(3, 6), { width: 3 * PITCH_X - 46, height: BOX_H });
});

test('the fragment keeps the view, and reads back only what makes sense', () => {
  const state = { view: 'memory', selected: 16, scale: 0.625, step: 9, line: 40, free: 0 };
  assert.equal(writeFragment(state, true), '#view=memory&select=17&zoom=0.625&step=9&line=40');
  assert.equal(writeFragment({ ...state, selected: -1, scale: 1, line: 0 }, false), '#view=memory');
  // Play's speeds only where they are not the usual, and only in a replay.
  assert.equal(writeFragment({ ...state, speed: 600, lineSpeed: 2 }, true),
    '#view=memory&select=17&zoom=0.625&step=9&line=40&speed=600');
  assert.equal(writeFragment({ ...state, speed: 60, lineSpeed: 20 }, true),
    '#view=memory&select=17&zoom=0.625&step=9&line=40&line-speed=20');
  assert.equal(writeFragment({ ...state, line: 0, speed: 600, lineSpeed: 20 }, false), '#view=memory&select=17&zoom=0.625');
  const limits = {
    size: 7, scales: [0.002, 4], total: 9, lines: (k) => (k === 0 || k === 4 ? 0 : 50), freeLines: 38,
  };
  const cases = [
    ['', { selected: -1, step: 9, free: 0, line: 0 }],
    ['#view=memory&select=7&zoom=4&step=3&line=12',
      { view: 'memory', selected: 6, scale: 4, step: 3, free: 0, line: 12 }],
    ['#view=tree&select=8&zoom=5&step=12&line=99', { selected: -1, step: 9, free: 0, line: 50 }],
    ['#select=0&step=-2&line=1', { selected: -1, step: 0, free: 0, line: 0 }],
    ['#step=4&line=3', { selected: -1, step: 4, free: 0, line: 0 }],
    ['#step=2.5&line=x', { selected: -1, step: 9, free: 0, line: 0 }],
    ['#step=9&free=100&line=3', { selected: -1, step: 9, free: 38, line: 0 }],
    ['#step=8&free=3', { selected: -1, step: 8, free: 0, line: 0 }],
  ];
  for (const [hash, read] of cases) assert.deepEqual(readFragment(hash, limits), read, hash);
  // A speed is read only as one that Play offers.
  const offered = { ...limits, speeds: [1, 10, 60, 600], lineSpeeds: [1, 2, 5, 20] };
  const speeds = [
    ['#speed=600&line-speed=20', { speed: 600, lineSpeed: 20 }],
    ['#speed=1', { speed: 1 }],
    ['#speed=37&line-speed=600', {}],
    ['#speed=x&line-speed=2.5&speed=10', {}],
    ['#line-speed=-1', {}],
  ];
  for (const [hash, read] of speeds) {
    assert.deepEqual(readFragment(hash, offered), { selected: -1, step: 9, free: 0, line: 0, ...read }, hash);
  }
  assert.deepEqual(readFragment('#zoom=0.5', { size: 3, scales: [0.002, 4] }),
    { selected: -1, scale: 0.5 });
});

test('the view follows a box, zooms about a point and fits the picture, within its margins', () => {
  const viewport = { width: 800, height: 400 };
  const world = { width: 6 * PITCH_X - 46, height: 10 * PITCH_Y - 42 };
  const at = { scale: 1, x: 0, y: 0 };
  // A box wholly in view leaves the view; one outside is centred, as far
  // as the picture's margins (92 units) allow.
  assert.deepEqual(revealed(at, { x: 0, y: 0 }, viewport, world), {});
  assert.deepEqual(revealed(at, { x: 5 * PITCH_X, y: 9 * PITCH_Y }, viewport, world),
    { scale: 1, x: world.width + 92 - 800, y: world.height + 92 - 400 });
  assert.deepEqual(centred(at, { x: 0, y: 0 }, viewport, world), { scale: 1, x: -92, y: -92 });
  // Too close for a box to fit across: the scale drops until one does.
  const narrow = { width: 600, height: 400 };
  assert.equal(centred({ ...at, scale: 4 }, { x: 0, y: 0 }, narrow, world).scale, 600 / (BOX_W + 92));
  assert.equal(centred({ ...at, scale: 3 }, { x: 0, y: 0 }, narrow, world).scale, 3);
  // A picture smaller than the view is centred in it.
  assert.deepEqual(centred(at, { x: 0, y: 0 }, { width: 4000, height: 4000 }, world),
    { scale: 1, x: (world.width - 4000) / 2, y: (world.height - 4000) / 2 });
  // Zooming keeps the point under the pointer, and stays within its limits.
  const zoomedIn = zoomed({ scale: 1, x: 10, y: 20 }, 2, 100, 50);
  assert.deepEqual(zoomedIn, { scale: 2, x: 60, y: 45 });
  assert.equal(zoomed({ scale: 3, x: 0, y: 0 }, 10, 0, 0).scale, 4);
  assert.equal(zoomed({ scale: 0.003, x: 0, y: 0 }, 0.1, 0, 0).scale, 0.002);
  const whole = fitted(viewport, world);
  assert.equal(whole.scale, Math.min(800 / (world.width + 184), 400 / (world.height + 184)));
  assert.equal(whole.y + 400 / whole.scale / 2, world.height / 2);
});

test('a line step frames what its pointers point to: the view stays, pans, or zooms out', () => {
  const viewport = { width: 800, height: 400 };
  const at = { scale: 1, x: 0, y: 0 };
  const cases = [
    // [what must be in view, the view after]
    [{ x: 10, y: 10, width: 300, height: 100 }, {}],
    [{ x: 900, y: 10, width: 300, height: 100 }, { scale: 1, x: 650, y: -140 }],
    [{ x: -100, y: 0, width: 1568, height: 200 }, { scale: 0.5, x: -116, y: -300 }],
  ];
  for (const [rect, expected] of cases) assert.deepEqual(framed(at, rect, viewport), expected, JSON.stringify(rect));
  // Never closer than the view was, nor further than the least scale.
  assert.equal(framed({ ...at, scale: 0.25 }, { x: 5000, y: 0, width: 10, height: 10 }, viewport).scale, 0.25);
  assert.equal(framed(at, { x: 0, y: 0, width: 1e9, height: 10 }, viewport).scale, MIN_SCALE);
  // What is framed: the head and its null marks, and each box pointed at
  // with the labels above it, however far apart.
  const head = pointersRect([]);
  assert.ok(head.x < 0 && head.y < 0 && head.x + head.width <= 0, JSON.stringify(head));
  const far = boxPlace(4000, 3);
  const both = pointersRect([boxPlace(5, 3), far]);
  const holds = (rect, x, y) => x >= rect.x && y >= rect.y && x <= rect.x + rect.width && y <= rect.y + rect.height;
  for (const [x, y] of [[head.x, head.y], [far.x, far.y - GAP_Y], [far.x + BOX_W, far.y + BOX_H]]) {
    assert.ok(holds(both, x, y), `${x}, ${y} in ${JSON.stringify(both)}`);
  }
  // Labels right-aligned on the head and the null marks, however long,
  // begin inside what is framed; labels on boxes move nothing.
  const call = (name, variables) => ({ name, variables });
  const labels = [
    [[call('list_add_sorted', [['head', { kind: 'head' }]])], head.x],
    [[call('list_add_sorted', [['head', { kind: 'head' }]]),
      call('list_find_predecessor', [['head', { kind: 'head' }], ['node', { kind: 'element', index: 2 }]])], -180],
    [[call('list_add_sorted', [['very_long_name_of_a_null_pointer', { kind: 'null' }]])], -240],
    [[call('list_add_sorted', [['node_with_a_long_name_of_its_own_too', { kind: 'element', index: 0 }]])], head.x],
  ];
  for (const [frames, atMost] of labels) {
    const left = labelsLeft({ frames });
    const rect = pointersRect([], left);
    assert.ok(rect.x <= left && rect.x <= atMost && rect.x + rect.width === 0, `${left}: ${JSON.stringify(rect)}`);
    assert.equal(rect.x === head.x, atMost === head.x, JSON.stringify(frames));
  }
});

// Relative luminance and contrast ratio, as WCAG defines them.
function luminance(hex) {
  const [r, g, b] = [1, 3, 5].map((at) => {
    const c = parseInt(hex.substr(at, 2), 16) / 255;
    return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
  });
  return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}
const contrast = (a, b) => {
  const [light, dark] = [luminance(a), luminance(b)].sort((x, y) => y - x);
  return (light + 0.05) / (dark + 0.05);
};

test('text on every fill a box takes is readable: a contrast of 4.5:1 at least', () => {
  assert.ok(Object.keys(BOX_FILL).length >= 4);
  for (const [fill, colour] of Object.entries(BOX_FILL)) {
    for (const ink of ['text', 'escape']) {
      assert.ok(contrast(colour, COLOUR[ink]) >= 4.5, `${ink} on ${fill}: ${contrast(colour, COLOUR[ink]).toFixed(2)}`);
    }
  }
});
