// The pointers of a stop of the list's code, as the picture draws them:
// every pointer variable of every active call, outermost call first, with
// what it points to, and what the view must keep on screen to show them.
import { present } from './position.js';

// A variable's value that is a pointer the picture draws: to an element,
// to an element's NEXT field, to the head, or null. (The word is a
// pointer too, to bytes the boxes show; numbers are not pointers.)
const DRAWN = new Set(['element', 'next', 'head', 'null']);

// The pointers of `stop`: { name, call, label, value }, `label` the name,
// with its call's name where another call has a pointer of that name.
export function pointersOf(stop) {
  if (!stop) return [];
  const found = [];
  for (const frame of stop.frames) {
    for (const [name, value] of frame.variables) {
      if (DRAWN.has(value.kind)) found.push({ name, call: frame.name, value });
    }
  }
  const count = new Map();
  for (const { name } of found) count.set(name, (count.get(name) ?? 0) + 1);
  return found.map((pointer) => ({
    ...pointer, label: count.get(pointer.name) > 1 ? `${pointer.call}: ${pointer.name}` : pointer.name,
  }));
}

// What a pointer points to, as #scene names it: an element's address
// (for a pointer to a NEXT field, its element's), 'head' or 'null'.
export function targetName(value, address) {
  switch (value.kind) {
    case 'element':
    case 'next': return address(value.index);
    case 'head': return 'head';
    default: return 'null';
  }
}

// The elements the view must keep on screen at a stop: every element a
// pointer points to (or into), and the one allocated outside the list.
export function followedElements(stop, list) {
  const elements = new Set();
  for (const { value } of pointersOf(stop)) {
    if ((value.kind === 'element' || value.kind === 'next') && present(list, value.index)) {
      elements.add(value.index);
    }
  }
  if (list.outside >= 0) elements.add(list.outside);
  return [...elements];
}
