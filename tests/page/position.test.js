// The page's model of a run in Node: the list at any position, worked out
// from the run and the position alone, must be the list reached by running
// the list's code line by line from the addition's first line; line steps
// must lead through the whole run and back; and the texts the page writes
// at a few positions are checked word for word. The runs are the
// programs' own: wordlist-trace's trace of a text, and the page's data
// that wordlist-graph --html writes of it.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { test } from 'node:test';

import { codeMap, planStop } from '../../graph/page/code_steps.js';
import { drawScene } from '../../graph/page/drawing.js';
import {
  LINKED, MADE, RELEASED, UNLINKED, afterStep, lineStep, lineSteps, listAt, progressAt, samePosition,
} from '../../graph/page/position.js';
import { linkedChange } from '../../graph/page/fragment.js';
import { followedElements, pointersOf, targetName } from '../../graph/page/pointers.js';
import { START } from '../../graph/page/view.js';
import {
  addressOf, countAt, freeLength, freePlanOf, openRun, planLength, planOf, sameLine, stopAt, switchedRun,
} from '../../graph/page/run.js';
import { sayTold } from '../../graph/page/language.js';
import {
  detailsText, followed, found, phasesOf, plainText, preceded, statusText,
} from '../../graph/page/texts.js';
import { madeOf, skip } from './programs.js';

const map = codeMap(readFileSync(new URL('../../src/word_list.cpp', import.meta.url), 'utf8'));

// The page's data that wordlist-graph --html writes for the trace of
// wordlist-trace on a text of `words` (see madeOf).
const pageDataOf = (words, options) => madeOf(words.join(' '), options).data;

const workedWords = ['Ahoj', 'ahoj', 'Don', 't', 'stop'];

// Words from a few letters, with a quote and a backslash, repeated often.
function randomWords(seed, count) {
  let state = seed;
  const next = () => { state = (state * 48271) % 2147483647; return state; };
  const letters = ['a', 'b', 'A', '"', '\\', '\u00E1'];
  return Array.from({ length: count }, () => Array.from({ length: 1 + (next() % 3) },
    () => letters[next() % letters.length]).join(''));
}

// The heap as running the list's code makes it: the list, the element a
// call holds apart from it and its NEXT, and every count. Starts as the
// list before addition k, and runs one line at a time.
function heapBefore(run, k) {
  const list = listAt(run, afterStep(run, k - 1));
  const counts = Array.from({ length: run.size }, (_, i) => countAt(run, i, k - 1));
  return { order: [...list.order], outside: -1, next: -1, counts, word: 'copied', walked: new Uint8Array(run.size) };
}

// What running the line of `stop` does to `heap`. The line is known by
// its function and line number, and its variables by the stop's frames.
function run1(heap, stop, added) {
  const frame = stop.frames[stop.frames.length - 1];
  const value = (name) => frame.variables.find(([key]) => key === name)?.[1];
  const f = map.functions;
  if (frame.name === 'new_node' && stop.line === f.new_node.allocate) {
    Object.assign(heap, { outside: added, next: -1, word: 'null' });
    heap.counts[added] = 0;
  } else if (frame.name === 'new_node' && stop.line === f.new_node.allocateWord) {
    heap.word = 'unset';
  } else if (frame.name === 'new_node' && stop.line === f.new_node.copy) {
    heap.word = 'copied';
  } else if (frame.name === 'new_node' && stop.line === f.new_node.count) {
    heap.counts[added] = 1;
  } else if (frame.name === 'link_after' && stop.line === f.link_after.next) {
    const slot = value('slot');
    const after = slot.kind === 'head' ? 0 : heap.order.indexOf(slot.index) + 1;
    heap.next = after < heap.order.length ? heap.order[after] : -1;
  } else if (frame.name === 'link_after' && stop.line === f.link_after.link) {
    const slot = value('slot');
    heap.order.splice(slot.kind === 'head' ? 0 : heap.order.indexOf(slot.index) + 1, 0, heap.outside);
    heap.outside = -1;
  } else if (frame.name === 'count_again' && stop.line === f.count_again.raise) {
    heap.counts[value('node').index] += 1;
  } else if (frame.name === 'list_free' && stop.line === f.list_free.unlink) {
    heap.outside = heap.order.shift();
    heap.next = heap.order.length > 0 ? heap.order[0] : -1;
    heap.word = 'copied';
  } else if (frame.name === 'list_free' && stop.line === f.list_free.releaseWord) {
    heap.word = 'released';
  } else if (frame.name === 'list_free' && stop.line === f.list_free.release) {
    heap.outside = -1;
  }
}

// The model's list at a position, in the shape of `heap`.
function modelled(run, position) {
  const list = listAt(run, position);
  const counts = Array.from({ length: run.size }, (_, i) => countAt(run, i, list.countStep));
  const heap = { order: [...list.order], outside: list.outside, next: -1, word: list.word };
  if (list.outside >= 0) heap.next = list.next[list.outside];
  list.order.forEach((i, p) => assert.equal(list.next[i], p + 1 < list.order.length ? list.order[p + 1] : -1));
  const shown = (heapCounts) => [...list.order, ...(list.outside >= 0 ? [list.outside] : [])]
    .map((i) => heapCounts[i]);
  return { heap, counts: shown(counts), shown, list };
}

// The element a comparison about to run looks at, marked as its walk's:
// find_equal's the first, list_find_predecessor's the second.
function look(heap, stop) {
  if (!stop.compare) return;
  const walk = stop.frames[stop.frames.length - 1].name === 'find_equal' ? 1 : 2;
  heap.walked[stop.compare.against] |= walk;
}

// The line a plan's segments name for its stop `line`, as the plan finds
// what follows from a line: it must be the line the stop is at.
function namedAt(plan, line) {
  let left = line - 1;
  for (const s of plan.segments) {
    if (left < s.count * s.length) return s.at[left % s.length];
    left -= s.count * s.length;
  }
  return null;
}

function assertNamed(plan, line, where) {
  const inner = planStop(plan, line).frames.at(-1);
  assert.equal(`${inner.name}.${inner.key}`, namedAt(plan, line), `${where}: stop ${line} named`);
}

// Every line step of every addition, and of list_free, against the heap
// made by running the lines up to it, and the elements looked at so far
// against the comparisons reached.
function checkEveryLine(run, where) {
  const { total } = run.replay;
  let lines = 0;
  const check = (position, heap) => {
    const model = modelled(run, position);
    const expected = { order: heap.order, outside: heap.outside,
      next: heap.outside >= 0 ? heap.next : -1, word: heap.outside < 0 ? 'copied' : heap.word };
    assert.deepEqual(model.heap, expected, `${where} ${JSON.stringify(position)}`);
    assert.deepEqual(model.list.walked, heap.walked, `${where} ${JSON.stringify(position)}: looked at`);
    assert.deepEqual(model.counts, model.shown(heap.counts), `${where} ${JSON.stringify(position)}: counts`);
    lines += 1;
  };
  for (let k = 1; k <= total; k += 1) {
    const plan = planOf(run, k);
    if (!plan) continue;
    const heap = heapBefore(run, k);
    const element = run.replay.steps[k - 1] >> 1;
    for (let line = 1; line <= plan.length; line += 1) {
      assertNamed(plan, line, where);
      look(heap, planStop(plan, line));
      check({ step: k, line, free: 0 }, heap);
      run1(heap, planStop(plan, line), element);
    }
    check(afterStep(run, k), heap);
    heap.walked.fill(0);
  }
  const heap = heapBefore(run, total + 1);
  heap.walked.fill(0);
  const plan = freePlanOf(run);
  for (let free = 1; free <= plan.length; free += 1) {
    assertNamed(plan, free, where);
    check({ step: total, line: 0, free }, heap);
    run1(heap, planStop(plan, free), -1);
  }
  assert.deepEqual(heap.order, [], `${where}: list_free leaves nothing`);
  return lines;
}

const runs = skip ? [] : [
  ['the worked example', pageDataOf(workedWords)],
  ['the worked example built at the front', pageDataOf(workedWords, { front: true })],
  ['a random text', pageDataOf(randomWords(3, 40))],
  ['a random text built at the front', pageDataOf(randomWords(5, 40), { front: true })],
  ['a random text with words not counted', pageDataOf(randomWords(11, 40),
    { uncounted: [[0, 'a'], [4, 'b'], [9, '\u00E1'], [9, 'pokus'], [43, 'b']] })],
];

test('the list at every line step is the one the code makes, line by line, from the addition\'s first', { skip }, () => {
  for (const [where, data] of runs) {
    const lines = checkEveryLine(openRun(data, map), where);
    assert.ok(lines > data.steps.length * 10, where);
  }
});

test('line steps lead through the whole run and back, over words not counted', { skip }, () => {
  for (const [where, data] of runs) {
    const run = openRun(data, map);
    const visited = [];
    let position = { step: 0, line: 0, free: 0 };
    for (;;) {
      const next = lineStep(run, position, 1);
      if (samePosition(next, position)) break;
      assert.ok(next.free > 0 || next.line <= planLength(run, next.step), where);
      visited.push(next);
      position = next;
    }
    const expected = data.steps.reduce((sum, _, k) => sum + planLength(run, k + 1), 0) + freeLength(run);
    assert.equal(visited.length, expected, `${where}: every line step once`);
    for (let at = visited.length - 1; at > 0; at -= 1) {
      assert.deepEqual(lineStep(run, visited[at], -1), visited[at - 1], `${where}: back from ${at}`);
    }
    assert.deepEqual(lineStep(run, visited[0], -1), { step: 0, line: 0, free: 0 });
    // Play goes on by several at once, and stops at the last.
    const start = { step: 0, line: 0, free: 0 };
    assert.deepEqual(lineSteps(run, start, 3), { position: visited[2], ended: false }, where);
    assert.deepEqual(lineSteps(run, start, visited.length), { position: visited.at(-1), ended: false }, where);
    assert.deepEqual(lineSteps(run, start, visited.length + 1), { position: visited.at(-1), ended: true }, where);
    // The plot's mark moves on at every line step, within its addition.
    let before = -1; // the first line step's is 0, where the run starts
    for (const at of visited) {
      const progress = progressAt(run, at);
      assert.ok(at.free > 1 ? progress === before : progress > before, `${where}: mark at ${JSON.stringify(at)}`);
      assert.ok(progress <= at.step && (at.free > 0 || progress >= at.step - 1), `${where}: ${progress}`);
      if (at.line === 1) assert.equal(progress, at.step - 1, `${where}: nothing of ${at.step} run yet`);
      before = progress;
    }
  }
});

test('what the page says at chosen positions', { skip }, () => {
  const run = openRun(pageDataOf(workedWords), map);
  const plan = planOf(run, 9); // "stop", inserted before "t"
  const address = (i) => addressOf(run, i);
  const [stop, t] = [run.data.words.indexOf('stop'), run.data.words.indexOf('t')];
  const at = (position) => listAt(run, position);
  const text = (parts) => plainText(parts);
  const lineOf = (n) => planStop(plan, n).line;
  const of = `of ${plan.length} in this addition)`;
  const cases = [
    // [position, selected, details, status]
    [{ step: 9, line: plan.linkedFrom - 1, free: 0 }, stop,
      `not linked yet: ADR: ${address(stop)} NEXT: ${address(t)} COUNT: 1 WORD: stop`,
      `Step 9 of 9: "stop" goes at position 6 (looked at 6 + 6); line ${lineOf(plan.linkedFrom - 1)} ` +
      `(step ${plan.linkedFrom - 1} ${of}`],
    [{ step: 9, line: plan.linkedFrom, free: 0 }, stop,
      `6 ADR: ${address(stop)} NEXT: ${address(t)} COUNT: 1 WORD: stop`,
      `Step 9 of 9: "stop" inserted at position 6 (looked at 6 + 6); line ${lineOf(plan.linkedFrom)} ` +
      `(step ${plan.linkedFrom} ${of}`],
    [{ step: 9, line: plan.changedFrom, free: 0 }, stop,
      `not linked yet: ADR: ${address(stop)} NEXT: ${run.nullAddress} COUNT: 1 WORD: stop`, null],
    // Inside new_node: zeroed, its word allocated, copied, its count set.
    [{ step: 9, line: plan.madeFrom - 1, free: 0 }, stop,
      '"stop" is not in the list yet: it is inserted at step 9.', null],
    [{ step: 9, line: plan.madeFrom, free: 0 }, stop,
      `not linked yet: ADR: ${address(stop)} NEXT: ${run.nullAddress} COUNT: 0 WORD: null`,
      `Step 9 of 9: "stop" is not in the list (looked at 6); line ${lineOf(plan.madeFrom)} ` +
      `(step ${plan.madeFrom} ${of}`],
    [{ step: 9, line: plan.wordFrom, free: 0 }, stop,
      `not linked yet: ADR: ${address(stop)} NEXT: ${run.nullAddress} COUNT: 0 WORD: (allocated, not copied yet)`, null],
    [{ step: 9, line: plan.countedFrom - 1, free: 0 }, stop,
      `not linked yet: ADR: ${address(stop)} NEXT: ${run.nullAddress} COUNT: 0 WORD: stop`, null],
    [{ step: 9, line: plan.countedFrom, free: 0 }, stop,
      `not linked yet: ADR: ${address(stop)} NEXT: ${run.nullAddress} COUNT: 1 WORD: stop`, null],
    [{ step: 9, line: 0, free: 5 }, 0,
      `unlinked, not yet released: ADR: ${address(0)} NEXT: ${address(1)} COUNT: 1 WORD: Ahoj`,
      `After step 9 of 9: list_free releases the list; line ${map.functions.list_free.releaseWord} (step 5 of ${freeLength(run)} in list_free)`],
    [{ step: 9, line: 0, free: 6 }, 0,
      `unlinked, its word released: ADR: ${address(0)} NEXT: ${address(1)} COUNT: 1`, null],
    [{ step: 9, line: 0, free: 7 }, 0,
      `"Ahoj" was unlinked and released by list_free: ${address(0)} is free.`, null],
    [{ step: 4, line: 2 * 1 + 8, free: 0 }, run.data.words.indexOf('pokus'),
      `2 ADR: ${address(4)} NEXT: ${run.nullAddress} COUNT: 2 WORD: pokus`,
      `Step 4 of 9: "pokus" found at position 2 (looked at 2); line ${map.functions.count_again.raise} (step 10 of 14 in this addition)`],
    [{ step: 0, line: 0, free: 0 }, -1, 'The list is empty.', 'Step 0 of 9: the list is empty'],
  ];
  // The addition of "Don" told line by line: its outcome only once decided.
  const don = planOf(run, 7);
  const told = (line) => text(statusText('en', run, { step: 7, line, free: 0 }, at({ step: 7, line, free: 0 })))
    .replace(/; line .*/, '');
  const phase = (line) => phasesOf(run, { step: 7, line, free: 0 }).current;
  const steps = [
    // [line step, status, phase being run]
    [1, 'Step 7 of 9: "Don": looking for it, looked at 0 so far', 'look'],
    [3, 'Step 7 of 9: "Don": looking for it, looked at 1 so far', 'look'],
    [don.absentFrom, 'Step 7 of 9: "Don" is not in the list (looked at 4)', 'look'],
    [don.madeFrom, 'Step 7 of 9: "Don" is not in the list (looked at 4)', 'allocate'],
    [don.walks[1].from, 'Step 7 of 9: "Don" is not in the list (looked at 4); finding its place, looked at 1 so far', 'place'],
    [don.decidedFrom - 1, 'Step 7 of 9: "Don" is not in the list (looked at 4); finding its place, looked at 2 so far', 'place'],
    [don.decidedFrom, 'Step 7 of 9: "Don" goes at position 2 (looked at 4 + 2)', 'place'],
    [don.linkedFrom - 1, 'Step 7 of 9: "Don" goes at position 2 (looked at 4 + 2)', 'link'],
    [don.length, 'Step 7 of 9: "Don" inserted at position 2 (looked at 4 + 2)', 'link'],
  ];
  for (const [line, status, current] of steps) {
    assert.deepEqual([told(line), phase(line)], [status, current], `line step ${line}`);
  }
  assert.deepEqual(phasesOf(run, { step: 4, line: 9, free: 0 }), { taken: ['look', 'count'], current: 'count' });
  for (const [position, selected, details, status] of cases) {
    const list = at(position);
    assert.equal(text(detailsText('en', run, list, selected)), details, JSON.stringify(position));
    if (status) assert.equal(text(statusText('en', run, position, list)), status, JSON.stringify(position));
  }
  // Following NEXT and going back from the element outside the list.
  const made = at({ step: 9, line: plan.linkedFrom - 1, free: 0 });
  assert.deepEqual(followed(run, made, stop), { select: t });
  const noted = ({ note }) => text(sayTold('en', note));
  assert.equal(noted(preceded(made, stop)), 'No element of the list points here: it is not in the list.');
  assert.equal(noted(followed(run, at({ step: 9, line: plan.changedFrom, free: 0 }), stop)),
    'NEXT of the element not linked yet is null: *slot is not copied yet.');
  assert.equal(made.status[stop], MADE);
  assert.equal(at({ step: 9, line: 0, free: 6 }).status[0], UNLINKED);
  assert.equal(at({ step: 9, line: 0, free: 7 }).status[0], RELEASED);
  assert.equal(at({ step: 9, line: 0, free: 7 }).status[1], LINKED);
  // Find: a sorted run says where a word would go, a front run the head.
  const front = openRun(pageDataOf(workedWords, { front: true }), map);
  const whole = (r) => listAt(r, afterStep(r, 9));
  assert.equal(text(sayTold('en', found(run, whole(run), 'b').answer)),
    '"b" is not in the list: it would be linked after 3 "ahoj".');
  assert.equal(text(sayTold('en', found(front, whole(front), 'b').answer)), '"b" is not in the list: it would be linked at the head.');
});

test('the status in English and in Czech at chosen positions of the worked example', { skip }, () => {
  const sorted = openRun(pageDataOf(workedWords), map);
  const front = openRun(pageDataOf(workedWords, { front: true }), map);
  const [don, frontDon] = [planOf(sorted, 7), planOf(front, 7)];
  const line = (run, k, n) => planStop(planOf(run, k), n).line;
  const freeLine = map.functions.list_free.releaseWord;
  const rows = [
    // [run, position, English, Czech]
    [sorted, { step: 0, line: 0, free: 0 }, 'Step 0 of 9: the list is empty', 'Krok 0 z 9: seznam je prázdný'],
    [sorted, { step: 3, line: 0, free: 0 }, 'Step 3 of 9: "pokus" counted at position 2, count 2 (looked at 2)',
      'Krok 3 z 9: slovo „pokus“ započítáno na pozici 2, počet 2 (prohlédnuto: 2)'],
    [sorted, { step: 4, line: 9, free: 0 },
      `Step 4 of 9: "pokus" found at position 2 (looked at 2); line ${line(sorted, 4, 9)} (step 9 of 14 in this addition)`,
      `Krok 4 z 9: slovo „pokus“ nalezeno na pozici 2 (prohlédnuto: 2); řádek ${line(sorted, 4, 9)} (krok 9 ze 14 v tomto přidání)`],
    [sorted, { step: 7, line: 1, free: 0 },
      `Step 7 of 9: "Don": looking for it, looked at 0 so far; line ${line(sorted, 7, 1)} (step 1 of 37 in this addition)`,
      `Krok 7 z 9: slovo „Don“: hledá se, zatím prohlédnuto: 0; řádek ${line(sorted, 7, 1)} (krok 1 ze 37 v tomto přidání)`],
    [sorted, { step: 7, line: don.walks[1].from, free: 0 },
      'Step 7 of 9: "Don" is not in the list (looked at 4); finding its place, looked at 1 so far; ' +
      `line ${line(sorted, 7, don.walks[1].from)} (step ${don.walks[1].from} of 37 in this addition)`,
      'Krok 7 z 9: slovo „Don“ v seznamu není (prohlédnuto: 4); hledá se jeho místo, zatím prohlédnuto: 1; ' +
      `řádek ${line(sorted, 7, don.walks[1].from)} (krok ${don.walks[1].from} ze 37 v tomto přidání)`],
    [sorted, { step: 7, line: don.decidedFrom, free: 0 },
      `Step 7 of 9: "Don" goes at position 2 (looked at 4 + 2); line ${line(sorted, 7, don.decidedFrom)} ` +
      `(step ${don.decidedFrom} of 37 in this addition)`,
      `Krok 7 z 9: slovo „Don“ patří na pozici 2 (prohlédnuto: 4 + 2); řádek ${line(sorted, 7, don.decidedFrom)} ` +
      `(krok ${don.decidedFrom} ze 37 v tomto přidání)`],
    [sorted, { step: 7, line: 0, free: 0 }, 'Step 7 of 9: "Don" inserted at position 2 (looked at 4 + 2)',
      'Krok 7 z 9: slovo „Don“ vloženo na pozici 2 (prohlédnuto: 4 + 2)'],
    [sorted, { step: 9, line: 0, free: 5 },
      `After step 9 of 9: list_free releases the list; line ${freeLine} (step 5 of 39 in list_free)`,
      `Po kroku 9 z 9: list_free uvolňuje seznam; řádek ${freeLine} (krok 5 ze 39 ve funkci list_free)`],
    // Named, on a page of both runs.
    [front, { step: 7, line: frontDon.decidedFrom, free: 0 },
      `front: Step 7 of 9: "Don" goes at position 1 (looked at 4); line ${line(front, 7, frontDon.decidedFrom)} ` +
      `(step ${frontDon.decidedFrom} of 30 in this addition)`,
      `na začátek: Krok 7 z 9: slovo „Don“ patří na pozici 1 (prohlédnuto: 4); řádek ${line(front, 7, frontDon.decidedFrom)} ` +
      `(krok ${frontDon.decidedFrom} ze 30 v tomto přidání)`],
    [front, { step: 7, line: 0, free: 0 }, 'front: Step 7 of 9: "Don" inserted at position 1 (looked at 4)',
      'na začátek: Krok 7 z 9: slovo „Don“ vloženo na pozici 1 (prohlédnuto: 4)'],
  ];
  for (const [run, position, en, cs] of rows) {
    const list = listAt(run, position);
    assert.deepEqual(['en', 'cs'].map((lang) => plainText(statusText(lang, run, position, list, run === front))),
      [en, cs], JSON.stringify(position));
  }
  // A word of the data stays a part of its own in both.
  for (const lang of ['en', 'cs']) {
    assert.deepEqual(statusText(lang, sorted, { step: 7, line: 0, free: 0 }, listAt(sorted, afterStep(sorted, 7)))
      .filter((part) => typeof part !== 'string'), [{ word: 'Don' }], lang);
  }
});

test('the picture\'s few words of prose are in the language shown', { skip }, () => {
  // What the picture writes, read from a context that does nothing else.
  const written = (scene) => {
    const texts = [];
    const context = new Proxy({}, {
      get: (held, name) => (name === 'fillText' ? (text) => texts.push(text) : held[name] ?? (() => {})),
    });
    drawScene(context, {
      selected: -1, scale: 1, x: -60, y: -40, width: 2000, height: 1000, ratio: 1, columns: 8, step: 0, stop: null,
      ...scene,
    });
    // Prose: not the fields' names, the program's names or the words.
    return texts.filter((text) => /[a-zěščřžýáíéůú]{2}/.test(text) && !['head', 'null'].includes(text) &&
      !scene.run.data.words.includes(text));
  };
  const data = pageDataOf(workedWords);
  const run = openRun(data, map);
  const list = listAt(run, afterStep(run, 9));
  const memory = (lang) => written({ run, list, view: 'memory', lang, step: 9 });
  assert.deepEqual([...new Set(memory('en').map((text) => text.replace(/\d+/, 'N')))], ['+N B to the next up']);
  assert.deepEqual([...new Set(memory('cs').map((text) => text.replace(/\d+/, 'N')))], ['+N B k dalšímu výše']);
  // A listing drawn in part: how many are left out.
  const part = openRun({ ...data, steps: undefined, total: data.counts.length + 5, tail: data.addresses.slice(0, data.digits) });
  const end = (lang) => written({ run: part, list: listAt(part, { step: 0, line: 0, free: 0 }), view: 'list', lang });
  assert.deepEqual([end('en'), end('cs')], [['\u2026 5 more'], ['\u2026 a 5 dalších']]);
});

test('every pointer of every call points at a box drawn, the head or null, at every line step', { skip }, () => {
  for (const [where, data] of runs) {
    const run = openRun(data, map);
    let position = { step: 0, line: 0, free: 0 };
    const seen = new Set();
    for (;;) {
      const next = lineStep(run, position, 1);
      if (samePosition(next, position)) break;
      position = next;
      const stop = stopAt(run, position);
      const list = listAt(run, position);
      const framedElements = followedElements(stop, list);
      for (const { value, label } of pointersOf(stop)) {
        seen.add(value.kind);
        const name = targetName(value, (i) => addressOf(run, i));
        if (value.kind === 'element' || value.kind === 'next') {
          // list_free's node once released is a dangling pointer: not followed.
          if (list.status[value.index] === RELEASED) continue;
          assert.ok(framedElements.includes(value.index), `${where} ${JSON.stringify(position)}: ${label}`);
          assert.equal(name, addressOf(run, value.index));
        } else {
          assert.equal(name, value.kind);
        }
      }
      if (list.outside >= 0) assert.ok(framedElements.includes(list.outside), where);
    }
    assert.deepEqual([...seen].sort(), ['element', 'head', 'next', 'null'].filter((kind) => kind !== 'next' || !run.front), where);
  }
  // Names that repeat among the calls are told apart by their call.
  const run = openRun(pageDataOf(workedWords), map);
  const plan = planOf(run, 7);
  const labels = pointersOf(planStop(plan, plan.walks[1].from)).map((p) => p.label);
  assert.deepEqual(labels, ['list_add_sorted: head', 'node', 'list_find_predecessor: head', 'candidate']);
});

test('r takes the other run to the same phase of the same addition, and back where it was', { skip }, () => {
  const sorted = openRun(pageDataOf(workedWords), map);
  const front = openRun(pageDataOf(workedWords, { front: true }), map);
  const don = planOf(sorted, 7);
  const frontDon = planOf(front, 7);
  const at = (line, free = 0) => ({ step: 7, line, free });
  const cases = [
    // [from, to, position, kept, expected]
    [sorted, front, at(0), null, { line: 0, free: 0 }],
    [sorted, front, at(3), null, { line: 1, free: 0 }], // look: from its start
    // allocate: from list_add_*'s call of new_node, two line steps before
    // the element is made.
    [sorted, front, at(don.madeFrom), null, { line: frontDon.madeFrom - 2, free: 0 }],
    // No phase "place" in a run at the front: as far through the addition.
    [sorted, front, at(don.walks[1].from), null,
      { line: Math.round((don.walks[1].from / don.length) * frontDon.length), free: 0 }],
    [sorted, front, at(don.linkedFrom), at(frontDon.linkedFrom), { line: frontDon.linkedFrom, free: 0 }],
    // Left in another addition: link from list_add_front's call of link_after.
    [sorted, front, at(don.linkedFrom), { step: 6, line: 3, free: 0 }, { line: frontDon.length - 6, free: 0 }],
    [sorted, front, { step: 9, line: 0, free: 7 }, null, { line: 0, free: 7 }],
  ];
  for (const [from, to, position, kept, expected] of cases) {
    assert.deepEqual(sameLine(from, to, position, kept), expected, JSON.stringify([position, kept]));
  }
  // Each run keeps its own selected word; one not yet shown takes the
  // other's; nothing selected stays nothing.
  const both = [sorted, front];
  const index = (run, word) => run.data.words.indexOf(word);
  const end = { step: 9, line: 0, free: 0 };
  const selections = [
    // [selected in the sorted run, the words kept, selected in the front run, the words kept after]
    [index(sorted, 'Don'), [null, null], index(front, 'Don'), ['Don', null]],
    [index(sorted, 'Don'), [null, 'stop'], index(front, 'stop'), ['Don', 'stop']],
    [-1, ['ahoj', null], -1, [null, null]],
    [-1, [null, 'stop'], index(front, 'stop'), [null, 'stop']],
  ];
  for (const [selected, kept, expected, keptAfter] of selections) {
    const state = { run: 0, selected, selections: kept, left: [null, at(3)] };
    assert.deepEqual(switchedRun(both, state, end),
      { run: 1, selections: keptAfter, left: [end, at(3)], selected: expected, line: 0, free: 0 }, JSON.stringify(kept));
  }
});

test('a link changes what it names and sets the zoom, the language and Your turn\'s answers as opened', { skip }, () => {
  const both = [openRun(pageDataOf(workedWords), map), openRun(pageDataOf(workedWords, { front: true }), map)];
  const answers = new Map([[7, ['head']]]);
  const state = { run: 0, scale: 0.5, x: 900, y: 40, lang: 'cs', langKept: true, ask: true, answers };
  const opened = (hash, at = state, replayed = true) => linkedChange(hash, {
    runs: both, state: at, replayed, speeds: [60, 600], lineSpeeds: [2, 20],
  });
  const base = {
    run: 0, selected: -1, note: null, answer: null, question: null, scale: 1, ...START, step: 9, line: 0, free: 0,
    speed: 60, lineSpeed: 2, ask: false,
  };
  const cases = [
    // [link, the state it opens over, the change apart from the answers, the answers kept]
    ['', state, base, false],
    ['#view=memory&zoom=0.25&select=3&step=4&line=2', state,
      { ...base, view: 'memory', scale: 0.25, selected: 2, step: 4, line: 2 }, false],
    ['#lang=en&speed=600&line-speed=20&speed=7', state, { ...base, lang: 'en', langKept: true, speed: 600, lineSpeed: 20 }, false],
    ['#run=front&step=99&free=3', state, { ...base, run: 1, free: 3 }, false],
    ['#step=7&line=1&ask=1', state, { ...base, step: 7, line: 1, ask: true }, true],
    ['#ask=1', { ...state, ask: false }, { ...base, ask: true }, false],
  ];
  for (const [hash, at, expected, kept] of cases) {
    const { answers: given, ...change } = opened(hash, at);
    assert.deepEqual(change, expected, hash);
    assert.ok(kept ? given === answers : given.size === 0, `${hash}: answers ${kept ? '' : 'not '}kept`);
  }
  // A listing's page has no position, Play or Your turn to open.
  assert.deepEqual(opened('#step=4&ask=1&select=1', state, false),
    { run: 0, selected: 0, note: null, answer: null, question: null, scale: 1, ...START });
});
