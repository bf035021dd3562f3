// The list's own code, line by line: which lines an addition (or the
// final release of the list) executes, in the order a debugger's `step`
// stops at them in a -O0 -g build, and what each active call's variables
// hold at every stop. Nothing is stored per stop: an addition is a few
// segments, some repeated once per element walked, and stop L is found
// by counting through them.
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
export const NULL = { kind: 'null' };
export const HEAD = { kind: 'head' }; // &head, the driver's head pointer
export const WORD = { kind: 'word' }; // the word being added
export const element = (i) => (i < 0 ? NULL : { kind: 'element', index: i });
export const nextOf = (i) => ({ kind: 'next', index: i }); // &element->next
export const number = (value) => ({ kind: 'number', value });

// One stop: the line, the calls (outermost first, each with its line and
// its variables that hold a value), and for a comparison what it compares.
function makeStop(map, calls, compare = null) {
  const frames = calls.map(([name, key, variables]) => ({
    name, line: map.functions[name][key], variables,
  }));
  return { line: frames[frames.length - 1].line, frames, compare };
}

// A run of stops: `count` times `length` stops, the stop at offset `o` of
// round `r` made by `make(r, o)`.
const segment = (count, length, make) => ({ count, length, make });

function total(segments) {
  return segments.reduce((sum, s) => sum + s.count * s.length, 0);
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

// The stops of one addition of `word` by list_add_sorted (or, `front`,
// by list_add_front), on the list `before` (element indices in list
// order, as the addition found it): `kind` 'counted' at index `at` of
// `before`, or 'inserted' as element `added` after the first `at`
// elements of `before` (at the head, with list_add_front).
export function additionPlan(map, { kind, before, at, added, wordBytes, front = false }) {
  const outer = (key, variables = []) => [front ? 'list_add_front' : 'list_add_sorted', key,
    [['head', HEAD], ['word', WORD], ...variables]];
  const look = (key, node) => [outer('look'), ['find_equal', key, [['node', node], ['word', WORD]]]];
  const walked = (r) => element(before[r]);
  const segments = [segment(1, 1, () => makeStop(map, [outer('look')]))];
  const found = kind === 'counted';
  // The `for` line stops before its `node = node->next` has run: there
  // `node` is still the element the round before looked at.
  segments.push(segment(found ? at + 1 : before.length, 2, (r, o) => (o === 0
    ? makeStop(map, look('loop', walked(Math.max(0, r - 1))))
    : makeStop(map, look('compare', walked(r)), { against: before[r], equal: found && r === at }))));
  if (found) {
    const same = element(before[at]);
    const counted = (key) => [outer('count', [['same', same]]),
      ['count_again', key, [['node', same]]]];
    segments.push(segment(1, 9, (_, o) => [
      () => makeStop(map, look('found', same)),
      () => makeStop(map, look('end', same)),
      () => makeStop(map, [outer('count', [['same', same]])]),
      () => makeStop(map, counted('check')),
      () => makeStop(map, counted('raise')),
      () => makeStop(map, counted('done')),
      () => makeStop(map, counted('end')),
      () => makeStop(map, [outer('count', [['same', same]])]),
      () => makeStop(map, [outer('end')]),
    ][o]()));
    // The count is one higher once `++node->count` has run.
    return { segments, length: total(segments), kind, changedFrom: 2 * at + 9 };
  }
  const node = element(added);
  const previous = at > 0 ? element(before[at - 1]) : NULL;
  const allocating = (key, variables) => [outer('allocate'), ['new_node', key,
    [['word', WORD], ...variables]]];
  const size = number(wordBytes + 1);
  const placing = (key, variables) => [outer('link', [['node', node]]),
    ['list_find_predecessor', key, [['head', HEAD], ['word', WORD], ...variables]]];
  const linking = (key, variables) => [outer('link', [['node', node]]), ['link_after', key,
    [['head', HEAD], ['predecessor', previous], ['node', node], ...variables]]];
  const slot = at > 0 ? nextOf(before[at - 1]) : HEAD;
  segments.push(segment(1, 15, (_, o) => [
    () => makeStop(map, look('loop', before.length > 0 ? walked(before.length - 1) : NULL)),
    () => makeStop(map, look('none', NULL)),
    () => makeStop(map, look('end', NULL)),
    () => makeStop(map, [outer('allocate')]),
    () => makeStop(map, allocating('allocate', [])),
    () => makeStop(map, allocating('checkNode', [['node', node]])),
    () => makeStop(map, allocating('size', [['node', node]])),
    () => makeStop(map, allocating('allocateWord', [['node', node], ['size', size]])),
    () => makeStop(map, allocating('checkWord', [['node', node], ['size', size]])),
    () => makeStop(map, allocating('copy', [['node', node], ['size', size]])),
    () => makeStop(map, allocating('count', [['node', node], ['size', size]])),
    () => makeStop(map, allocating('done', [['node', node], ['size', size]])),
    () => makeStop(map, allocating('end', [['node', node], ['size', size]])),
    () => makeStop(map, [outer('check', [['node', node]])]),
    () => makeStop(map, [outer('link', [['node', node]])]),
  ][o]()));
  const linked = [
    () => makeStop(map, linking('slot', [])),
    () => makeStop(map, linking('next', [['slot', slot]])),
    () => makeStop(map, linking('link', [['slot', slot]])),
    () => makeStop(map, linking('end', [['slot', slot]])),
    () => makeStop(map, [outer('done', [['node', node]])]),
    () => makeStop(map, [outer('end', [['node', node]])]),
  ];
  if (front) {
    segments.push(segment(1, 6, (_, o) => linked[o]()));
  } else {
    segments.push(segment(1, 2, (_, o) => (o === 0
      ? makeStop(map, placing('start', []))
      : makeStop(map, placing('loop', [['candidate', NULL]]), before.length > 0
        ? { against: before[0], before: at > 0 } : null))));
    // Each element that sorts before the word: kept, then the next looked at.
    segments.push(segment(at, 3, (r, o) => {
      const candidate = o === 0 ? (r > 0 ? walked(r - 1) : NULL) : walked(r);
      const next = o === 2 ? (r + 1 < before.length ? walked(r + 1) : NULL) : walked(r);
      const compare = o === 2 && r + 1 < before.length
        ? { against: before[r + 1], before: r + 1 < at } : null;
      return makeStop(map, placing(['keep', 'advance', 'loop'][o],
        [['candidate', candidate], ['node', next]]), compare);
    }));
    segments.push(segment(1, 8, (_, o) => [
      () => makeStop(map, placing('done', [['candidate', previous]])),
      () => makeStop(map, placing('end', [['candidate', previous]])),
      ...linked,
    ][o]()));
  }
  // The new element exists once new_node has returned, and is in the
  // list once `*slot = node` has run.
  const length = total(segments);
  return { segments, length, kind, changedFrom: 2 * before.length + 15, linkedFrom: length - 2 };
}

// The stops of list_free on the list `order` (element indices in list
// order): each element taken from the head and released.
export function freePlan(map, order) {
  const call = (key, variables = []) => [['list_free', key, [['head', HEAD], ...variables]]];
  const segments = [segment(1, 1, () => makeStop(map, call('check')))];
  if (order.length === 0) {
    segments.push(segment(1, 2, (_, o) => makeStop(map, call(o === 0 ? 'empty' : 'end'))));
  } else {
    segments.push(segment(order.length, 5, (r, o) => {
      const node = o >= 2 ? [['node', element(order[r])]] : [];
      return makeStop(map, call(['loop', 'take', 'unlink', 'releaseWord', 'release'][o], node));
    }));
    segments.push(segment(1, 3, (_, o) => makeStop(map, call(['loop', 'done', 'end'][o]))));
  }
  return { segments, length: total(segments), kind: 'free', elements: order.length };
}

// Stop `line` (1-based) of a plan, or null past its end.
export function planStop(plan, line) {
  return line >= 1 && line <= plan.length ? stopOf(plan.segments, line) : null;
}

// How far list_free has gone at stop `line`: how many elements it has
// taken off the head (after `*head = node->next`) and how many it has
// released (after `delete node`).
export function freedAt(plan, line) {
  const upTo = (value) => Math.max(0, Math.min(plan.elements, Math.floor(value / 5)));
  return { unlinked: upTo(line), released: upTo(line - 2) };
}

// A value as the page writes it: an element's address as the listing
// writes addresses (null as its zeros), a pointer to a pointer as &head
// or &ADR->next, the word in double quotes, a number in decimal.
// `names.address(i)`, `names.nullAddress` and `names.word` (the word's
// text, escaped) say how.
export function valueText(value, names) {
  switch (value.kind) {
    case 'null': return names.nullAddress;
    case 'head': return '&head';
    case 'element': return names.address(value.index);
    case 'next': return `&${names.address(value.index)}->next`;
    case 'word': return `"${names.word}"`;
    default: return String(value.value);
  }
}

// The active calls of a stop, outermost first, each as one line:
// "find_equal: node = 000055DB9B85A810, word = "ahoj"".
export function framesText(stop, names) {
  return stop.frames.map((frame) => `${frame.name}: ` +
    frame.variables.map(([name, value]) => `${name} = ${valueText(value, names)}`).join(', '));
}

// What a comparison line compares and what follows from it, or '' on
// any other line. `wordOf(i)` is element i's word, escaped.
export function compareText(stop, names, wordOf) {
  const compare = stop.compare;
  if (!compare) return '';
  const against = `"${names.word}" against "${wordOf(compare.against)}": `;
  if ('equal' in compare) return against + (compare.equal ? 'equal, found' : 'not equal, go on');
  return against + (compare.before ? 'greater, go on' : 'less, stop here');
}
