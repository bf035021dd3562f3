// The replay of a trace: every addition's element and walks, worked out
// once at load, so that any step is reached without replaying the ones
// before it.

// What one addition did, from its code in the page's data: 2i for the
// insertion of element i of the final listing, 2i + 1 for a count of it,
// -1 - u for the u-th word not counted (`uncounted` its index, 0-based).
export function decodeStep(code) {
  if (code < 0) return { kind: 'uncounted', element: -1, uncounted: -1 - code };
  return { kind: code % 2 === 1 ? 'counted' : 'inserted', element: code >> 1, uncounted: -1 };
}

// Walks the additions once, with a Fenwick tree over the final order
// to know each element's position as it was: for every step, where its
// element stood and how many elements each of its two walks looked at.
// Elements never move in a list, so the list at any step is the final
// one less the elements not yet inserted, whether it was built in order
// or (`front`) with every new element at the head, which takes no second
// walk.
export function makeReplay(steps, size, front = false) {
  const total = steps.length;
  const inserted = new Float64Array(size).fill(Infinity);
  const occurrences = Array.from({ length: size }, () => []);
  const position = new Int32Array(total + 1);
  const first = new Int32Array(total + 1);
  const second = new Int32Array(total + 1);
  const cumulative = new Float64Array(total + 1);
  const tree = new Int32Array(size + 1);
  const add = (i) => { for (let k = i + 1; k <= size; k += k & -k) tree[k] += 1; };
  const before = (i) => { let sum = 0; for (let k = i; k > 0; k -= k & -k) sum += tree[k]; return sum; };
  let length = 0;
  for (let k = 1; k <= total; k += 1) {
    const { kind, element } = decodeStep(steps[k - 1]);
    if (element >= 0) {
      const rank = before(element);
      position[k] = rank + 1;
      occurrences[element].push(k);
      if (kind === 'counted') {
        first[k] = rank + 1; // up to the equal word
      } else {
        first[k] = length; // the whole list: the word is new
        second[k] = front ? 0 : rank + (rank < length ? 1 : 0); // to the first not before it
        inserted[element] = k;
        add(element);
        length += 1;
      }
    }
    cumulative[k] = cumulative[k - 1] + first[k] + second[k];
  }
  return { steps, total, inserted, occurrences, position, first, second, cumulative };
}

// The list that addition k (1-based) found: the elements inserted before
// it, in the final listing's order.
export function listBefore(replay, k) {
  const order = [];
  for (let i = 0; i < replay.inserted.length; i += 1) {
    if (replay.inserted[i] < k) order.push(i);
  }
  return order;
}
