// Where the boxes stand: in rows of `columns`, one box per rank (the
// list's order, or the order of address), in world units that the view
// scales and pans.

export const BOX_W = 176;
export const BOX_H = 74;
export const GAP_X = 46;
export const GAP_Y = 42;
export const PITCH_X = BOX_W + GAP_X;
export const PITCH_Y = BOX_H + GAP_Y;

// As many boxes as fit across `width` screen pixels at full size, with
// the head's margin left of the first (one at least): the rows wrap to the
// window, whatever the list's length.
export const columnsFor = (width) => Math.max(1, Math.floor((width - 2 * GAP_X) / PITCH_X));

export function boxPlace(rank, columns) {
  return { x: (rank % columns) * PITCH_X, y: Math.floor(rank / columns) * PITCH_Y };
}

// The width and height of `size` boxes' rows.
export function worldExtent(size, columns) {
  const rows = Math.max(1, Math.ceil(size / columns));
  return { width: Math.min(size, columns) * PITCH_X - GAP_X, height: rows * PITCH_Y - GAP_Y };
}

// The rank of the box that holds the world point, among `count`, or -1
// for a point in a gap, a margin or past the last box.
export function rankAt(wx, wy, columns, count) {
  const column = Math.floor(wx / PITCH_X);
  const row = Math.floor(wy / PITCH_Y);
  if (column < 0 || column >= columns || row < 0) return -1;
  if (wx - column * PITCH_X > BOX_W || wy - row * PITCH_Y > BOX_H) return -1;
  const rank = row * columns + column;
  return rank < count ? rank : -1;
}

// Where element i's box stands in a view of `list` (see position.js):
// in the list view at its place in the list, or for the element outside
// the list one box apart after its end; in the memory view by address.
export function rankIn(run, list, view, i) {
  if (view === 'memory') return run.memoryRank[i];
  return i === list.outside ? list.order.length + 1 : list.rank[i];
}

// The element at a rank of a view, for a rank in range.
export const elementAtRank = (run, list, view, rank) => (view === 'list' ? list.order[rank]
  : run.data.byAddress[rank]);

// How many ranks a view has: the list's elements, or every element.
export const rankCount = (run, list, view) => (view === 'list' ? list.order.length : run.size);

// The world rectangle that holds `boxes` (each { x, y }, its top left
// corner) with the labels above them, and the head with the null marks
// under it, left of the first box, with labels left of them from world x
// `labelsLeft` on.
export function pointersRect(boxes, labelsLeft = 0) {
  const left = Math.min(-GAP_X * 2 - 60, labelsLeft - 4);
  const head = { x: left, y: -GAP_Y, width: -left, height: PITCH_Y + GAP_Y };
  return boxes.reduce((rect, box) => {
    const x = Math.min(rect.x, box.x);
    const y = Math.min(rect.y, box.y - GAP_Y);
    return {
      x, y, width: Math.max(rect.x + rect.width, box.x + BOX_W + GAP_X) - x,
      height: Math.max(rect.y + rect.height, box.y + BOX_H) - y,
    };
  }, head);
}
