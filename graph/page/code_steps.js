// The list's own code, line by line: which lines an addition (or the
// final release of the list) executes, in the order a debugger's `step`
// stops at them in a -O0 -g build, and what each active call's variables
// hold at every stop. Nothing is stored per stop: an addition is a few
// segments, some repeated once per element walked, and stop L is found
// by counting through them. Each segment names the line of each of its
// stops, and what a plan says happens from which stop on (the count
// raised, the element linked, ...) is found by those names: a stop
// added to a segment moves all that follows it.
//
// The line numbers come from the source itself: each line is found by
// what it says, so an edit to the code moves the lines with it, and a
// change the page does not know fails loudly instead of lighting the
// wrong line.

// The lines of one function: from its signature to its closing brace.
function functionRange(lines, name) {
  const signature = new RegExp(`^[A-Za-z].*[ *]${name}\\(`);
  const first = lines.findIndex((text) => signature.test(text));
  if (first < 0) throw new Error(`the source has no function ${name}`);
  const last = lines.findIndex((text, at) => at > first && text === '}');
  return { first: first + 1, last: last + 1 };
}

// Where each line that the model stops at stands in `source`: per
// function, its line numbers by what the line does.
export function codeMap(source) {
  const lines = source.split('\n');
  const functions = {};
  const find = (name, fragments) => {
    const range = functionRange(lines, name);
    const found = { range, end: range.last };
    for (const [key, fragment] of Object.entries(fragments)) {
      let at = range.first;
      while (at < range.last && !lines[at - 1].includes(fragment)) at += 1;
      if (at >= range.last) throw new Error(`${name} has no line with ${fragment}`);
      found[key] = at;
    }
    functions[name] = found;
  };
  find('find_equal', { loop: 'for (', compare: 'compare_words(', found: 'return node;',
    none: 'return nullptr;' });
  find('count_again', { check: 'INT32_MAX', raise: '++node->count', done: 'return true;' });
  find('new_node', { allocate: 'WordNode{}', checkNode: 'if (node == nullptr)',
    size: 'std::strlen', allocateWord: 'char[size]', checkWord: 'if (node->word == nullptr)',
    copy: 'std::memcpy', count: 'node->count = 1', done: 'return node;' });
  find('link_after', { slot: 'WordNode** slot', next: 'node->next = *slot', link: '*slot = node' });
  for (const name of ['list_add_sorted', 'list_add_front']) {
    find(name, { look: 'find_equal(', count: 'count_again(', allocate: 'new_node(',
      check: 'if (node == nullptr)', link: 'link_after(', done: 'return true;' });
  }
  find('list_find_predecessor', { start: 'candidate = nullptr', loop: 'for (',
    advance: 'node = node->next', keep: 'candidate = node;', done: 'return candidate;' });
  find('list_free', { check: 'if (*head == nullptr)', empty: 'return false;', loop: 'while (',
    take: '= *head;', unlink: '*head = node->next', releaseWord: 'delete[]',
    release: 'delete node', done: 'return true;' });
  return { lines, functions };
}

// The functions whose lines the page shows, in the order of the file:
// those that an addition with list_add_sorted (or with list_add_front,
// `front`) runs, and list_free.
export function shownRanges(map, front = false) {
  const left = front ? ['list_add_sorted', 'list_find_predecessor'] : ['list_add_front'];
  return Object.entries(map.functions).filter(([name]) => !left.includes(name))
    .map(([, f]) => f.range).sort((a, b) => a.first - b.first);
}

// Values, as the model knows them; the page writes them out.
const NULL = { kind: 'null' };
const HEAD = { kind: 'head' }; // &head, the driver's head pointer
const WORD = { kind: 'word' }; // the word being added
const element = (i) => (i < 0 ? NULL : { kind: 'element', index: i });
const nextOf = (i) => ({ kind: 'next', index: i }); // &element->next
const number = (value) => ({ kind: 'number', value });

// One stop: the line, the calls (outermost first, each with its line and
// its variables that hold a value), and for a comparison what it compares.
function makeStop(map, calls, compare = null) {
  const frames = calls.map(([name, key, variables]) => ({
    name, key, line: map.functions[name][key], variables,
  }));
  return { line: frames[frames.length - 1].line, frames, compare };
}

// A run of stops: `count` rounds of the stops `at` names, each by the
// function and key (see codeMap) of the line it stops at, as
// 'find_equal.loop'; the stop at offset `o` of round `r` made by
// `make(r, o)`.
export const segment = (count, at, make) => ({ count, length: at.length, at, make });

// A segment of one round, from `[at, make]` pairs, one a stop.
function once(stops) {
  return segment(1, stops.map(([at]) => at), (_, o) => stops[o][1]());
}

function total(segments) {
  return segments.reduce((sum, s) => sum + s.count * s.length, 0);
}

// The stops at line `at` among `segments` up to stop `line` (1-based;
// all of them by default): how many, and the first and the last of them
// (0 when none), by arithmetic over the rounds, not stop by stop.
function stopsAt(segments, at, line = Infinity) {
  const found = { count: 0, first: 0, last: 0 };
  let base = 0;
  for (const s of segments) {
    for (let o = s.at.indexOf(at); o >= 0; o = s.at.indexOf(at, o + 1)) {
      const head = base + o + 1; // in round 0
      const rounds = Math.max(0, Math.min(s.count, Math.floor((line - head) / s.length) + 1));
      if (rounds > 0) {
        if (found.count === 0) found.first = head;
        found.last = Math.max(found.last, head + (rounds - 1) * s.length);
        found.count += rounds;
      }
    }
    base += s.count * s.length;
  }
  return found;
}

// The first stop after the first (or `last`) stop at line `at`.
function after(segments, at, last = false) {
  const found = stopsAt(segments, at);
  if (found.count === 0) throw new Error(`a plan with no stop at ${at}`);
  return (last ? found.last : found.first) + 1;
}

// The first (or `last`) stop of a plan at line `at` (as 'link_after.next'):
// { line, stop }, or null for a plan with no stop there.
export function stopNamed(plan, at, last = false) {
  const found = stopsAt(plan.segments, at);
  if (found.count === 0) return null;
  const line = last ? found.last : found.first;
  return { line, stop: stopOf(plan.segments, line) };
}

// Stop L (1-based) of a plan.
function stopOf(segments, line) {
  let left = line - 1;
  for (const s of segments) {
    const size = s.count * s.length;
    if (left < size) return s.make(Math.floor(left / s.length), left % s.length);
    left -= size;
  }
  return null;
}

// The calls of one addition, as `makeStop` takes them: the outer call
// (list_add_sorted, or with `front` list_add_front) at line `key` with
// `variables` beside head and word, and the calls it makes.
function callsOf({ before, at, added, front }) {
  const adding = front ? 'list_add_front' : 'list_add_sorted';
  const outer = (key, variables = []) => [adding, key, [['head', HEAD], ['word', WORD], ...variables]];
  const node = element(added);
  const previous = at > 0 ? element(before[at - 1]) : NULL;
  return {
    adding,
    outer,
    look: (key, walked) => [outer('look'), ['find_equal', key, [['node', walked], ['word', WORD]]]],
    allocating: (key, variables) => [outer('allocate'), ['new_node', key,
      [['word', WORD], ...variables]]],
    placing: (key, variables) => [outer('link', [['node', node]]),
      ['list_find_predecessor', key, [['head', HEAD], ['word', WORD], ...variables]]],
    linking: (key, variables) => [outer('link', [['node', node]]), ['link_after', key,
      [['head', HEAD], ['predecessor', previous], ['node', node], ...variables]]],
  };
}

// find_equal's walk: the `for` line and the comparison, once per element
// looked at (up to the equal one, `found`). The `for` line stops before
// its `node = node->next` has run: there `node` is still the element the
// round before looked at.
function lookSegment(map, calls, before, at, found) {
  const walked = (r) => element(before[r]);
  return segment(found ? at + 1 : before.length, ['find_equal.loop', 'find_equal.compare'], (r, o) => (o === 0
    ? makeStop(map, calls.look('loop', walked(Math.max(0, r - 1))))
    : makeStop(map, calls.look('compare', walked(r)), { against: before[r], equal: found && r === at })));
}

// An equal word found at `at`: its element's count raised by count_again.
function countSegment(map, calls, same) {
  const { adding, outer, look } = calls;
  const counting = () => outer('count', [['same', same]]);
  const counted = (key) => [counting(), ['count_again', key, [['node', same]]]];
  return once([
    ['find_equal.found', () => makeStop(map, look('found', same))],
    ['find_equal.end', () => makeStop(map, look('end', same))],
    [`${adding}.count`, () => makeStop(map, [counting()])],
    ['count_again.check', () => makeStop(map, counted('check'))],
    ['count_again.raise', () => makeStop(map, counted('raise'))],
    ['count_again.done', () => makeStop(map, counted('done'))],
    ['count_again.end', () => makeStop(map, counted('end'))],
    [`${adding}.count`, () => makeStop(map, [counting()])],
    [`${adding}.end`, () => makeStop(map, [outer('end')])],
  ]);
}

// No equal word: the search's end, then new_node, which allocates the
// element and copies the word.
function allocateSegment(map, calls, { before, added, wordBytes }) {
  const { adding, outer, look, allocating } = calls;
  const node = element(added);
  const size = number(wordBytes + 1);
  const made = (key) => [`new_node.${key}`, () => makeStop(map, allocating(key, [['node', node], ['size', size]]))];
  return once([
    ['find_equal.loop', () => makeStop(map, look('loop', before.length > 0 ? element(before[before.length - 1]) : NULL))],
    ['find_equal.none', () => makeStop(map, look('none', NULL))],
    ['find_equal.end', () => makeStop(map, look('end', NULL))],
    [`${adding}.allocate`, () => makeStop(map, [outer('allocate')])],
    ['new_node.allocate', () => makeStop(map, allocating('allocate', []))],
    ['new_node.checkNode', () => makeStop(map, allocating('checkNode', [['node', node]]))],
    ['new_node.size', () => makeStop(map, allocating('size', [['node', node]]))],
    made('allocateWord'), made('checkWord'), made('copy'), made('count'), made('done'), made('end'),
    [`${adding}.check`, () => makeStop(map, [outer('check', [['node', node]])])],
    [`${adding}.link`, () => makeStop(map, [outer('link', [['node', node]])])],
  ]);
}

// list_find_predecessor's walk to the place: each element that sorts
// before the word kept, then the next looked at.
function placeSegments(map, calls, before, at) {
  const walked = (r) => element(before[r]);
  const start = segment(1, ['list_find_predecessor.start', 'list_find_predecessor.loop'], (_, o) => (o === 0
    ? makeStop(map, calls.placing('start', []))
    : makeStop(map, calls.placing('loop', [['candidate', NULL]]), before.length > 0
      ? { against: before[0], before: at > 0 } : null)));
  const keys = ['keep', 'advance', 'loop'];
  const walk = segment(at, keys.map((key) => `list_find_predecessor.${key}`), (r, o) => {
    const candidate = o === 0 ? (r > 0 ? walked(r - 1) : NULL) : walked(r);
    const next = o === 2 ? (r + 1 < before.length ? walked(r + 1) : NULL) : walked(r);
    const compare = o === 2 && r + 1 < before.length
      ? { against: before[r + 1], before: r + 1 < at } : null;
    return makeStop(map, calls.placing(keys[o],
      [['candidate', candidate], ['node', next]]), compare);
  });
  const previous = at > 0 ? element(before[at - 1]) : NULL;
  const end = segment(1, ['list_find_predecessor.done', 'list_find_predecessor.end'], (_, o) => makeStop(map,
    calls.placing(o === 0 ? 'done' : 'end', [['candidate', previous]])));
  return [start, walk, end];
}

// link_after: the element linked after the first `at` of `before` (or at
// the head), then list_add_* returns.
function linkSegment(map, calls, { before, at, added }) {
  const node = element(added);
  const slot = at > 0 ? nextOf(before[at - 1]) : HEAD;
  return once([
    ['link_after.slot', () => makeStop(map, calls.linking('slot', []))],
    ['link_after.next', () => makeStop(map, calls.linking('next', [['slot', slot]]))],
    ['link_after.link', () => makeStop(map, calls.linking('link', [['slot', slot]]))],
    ['link_after.end', () => makeStop(map, calls.linking('end', [['slot', slot]]))],
    [`${calls.adding}.done`, () => makeStop(map, [calls.outer('done', [['node', node]])])],
    [`${calls.adding}.end`, () => makeStop(map, [calls.outer('end', [['node', node]])])],
  ]);
}

// The stops of one addition by list_add_sorted (or, `front`, by
// list_add_front), on the list `before` (element indices in list order,
// as the addition found it): `kind` 'counted' at index `at` of `before`,
// or 'inserted' as element `added` after the first `at` elements of
// `before` (at the head, with list_add_front); the word is `wordBytes`
// long. See planOfSegments for what the plan says of them.
export const additionPlan = (map, addition) => planOfSegments(additionSegments(map, addition), addition);

// The segments of one addition's stops, in order.
export function additionSegments(map, addition) {
  const { kind, before, at } = addition;
  const calls = callsOf(addition);
  const segments = [once([[`${calls.adding}.look`, () => makeStop(map, [calls.outer('look')])]])];
  const found = kind === 'counted';
  segments.push(lookSegment(map, calls, before, at, found));
  if (found) {
    segments.push(countSegment(map, calls, element(before[at])));
    return segments;
  }
  segments.push(allocateSegment(map, calls, addition));
  if (!addition.front) segments.push(...placeSegments(map, calls, before, at));
  segments.push(linkSegment(map, calls, addition));
  return segments;
}

// The plan of an addition whose stops are `segments`: from which stop on
// each thing has happened (every `...From` is the first stop after the
// line that does it), found by the lines the segments name.
// `decidedFrom`, the addition's outcome known (the equal word found, or
// the place found); `changedFrom`, the list's own change (the count
// raised, or new_node returned); `linkedFrom`, `*slot = node` run. An
// insertion also has `absentFrom` (find_equal has found no equal word),
// and new_node's `madeFrom` (the element allocated, zeroed),
// `wordFrom` (its word allocated), `copiedFrom` (the word copied) and
// `countedFrom` (its count set to 1). `walks` say where each walk's
// comparisons stand (null for a walk that compares nothing): at the
// stops at line `at`, the first at stop `from`, `count` of them.
export function planOfSegments(segments, { kind, before, at, front }) {
  const n = before.length;
  const length = total(segments);
  const walk = (line, count) => (count > 0 ? { at: line, from: stopsAt(segments, line).first, count } : null);
  if (kind === 'counted') {
    return {
      segments, length, kind, front,
      decidedFrom: after(segments, 'find_equal.compare', true), changedFrom: after(segments, 'count_again.raise'),
      walks: [walk('find_equal.compare', at + 1), null],
    };
  }
  return {
    segments, length, kind, front,
    absentFrom: after(segments, 'find_equal.loop', true),
    madeFrom: after(segments, 'new_node.allocate'), wordFrom: after(segments, 'new_node.allocateWord'),
    copiedFrom: after(segments, 'new_node.copy'), countedFrom: after(segments, 'new_node.count'),
    changedFrom: after(segments, 'new_node.end'),
    decidedFrom: front ? after(segments, 'list_add_front.link') : after(segments, 'list_find_predecessor.loop', true),
    linkedFrom: after(segments, 'link_after.link'),
    walks: [walk('find_equal.compare', n), front ? null : walk('list_find_predecessor.loop', Math.min(at + 1, n))],
  };
}

// How many elements each walk of an addition's plan has looked at by stop
// `line`: a comparison counts once its line is the one about to run.
export function lookedAt(plan, line) {
  return plan.walks.map((walk) => (walk ? Math.min(walk.count, stopsAt(plan.segments, walk.at, line).count) : 0));
}

// The phase of an addition a stop belongs to: 'look' for the word,
// 'count' it again, 'allocate' its element, 'place' (find where it goes)
// or 'link' it; null in list_free.
const PHASE_OF_CALL = {
  find_equal: 'look', count_again: 'count', new_node: 'allocate',
  list_find_predecessor: 'place', link_after: 'link',
};
const PHASE_OF_LINE = { look: 'look', count: 'count', allocate: 'allocate', check: 'allocate' };
export function phaseOf(plan, stop) {
  const inner = stop.frames[stop.frames.length - 1];
  if (plan.kind === 'free') return null;
  if (stop.frames.length > 1) return PHASE_OF_CALL[inner.name];
  if (inner.key === 'link') return plan.front ? 'link' : 'place';
  return PHASE_OF_LINE[inner.key] ?? (plan.kind === 'counted' ? 'count' : 'link');
}

// The stops of list_free on the list `order` (element indices in list
// order): each element taken from the head and released.
export function freePlan(map, order) {
  const call = (key, variables = []) => [['list_free', key, [['head', HEAD], ...variables]]];
  // The segment of the stops at `keys`, `count` rounds of them.
  const stops = (count, keys, variables = () => []) => segment(count, keys.map((key) => `list_free.${key}`),
    (r, o) => makeStop(map, call(keys[o], variables(r, o))));
  const segments = [stops(1, ['check'])];
  if (order.length === 0) {
    segments.push(stops(1, ['empty', 'end']));
  } else {
    segments.push(stops(order.length, ['loop', 'take', 'unlink', 'releaseWord', 'release'],
      (r, o) => (o >= 2 ? [['node', element(order[r])]] : [])));
    segments.push(stops(1, ['loop', 'done', 'end']));
  }
  return { segments, length: total(segments), kind: 'free' };
}

// Stop `line` (1-based) of a plan, or null past its end.
export function planStop(plan, line) {
  return line >= 1 && line <= plan.length ? stopOf(plan.segments, line) : null;
}

// How far list_free has gone at stop `line`: how many elements it has
// taken off the head (after `*head = node->next`), how many words it has
// released (after `delete[] node->word`) and how many elements (after
// `delete node`).
export function freedAt(plan, line) {
  const done = (key) => stopsAt(plan.segments, `list_free.${key}`, line - 1).count;
  return { unlinked: done('unlink'), wordsReleased: done('releaseWord'), released: done('release') };
}
