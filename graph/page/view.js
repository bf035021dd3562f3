// Where the view looks: its scale and the world point at its top left
// corner ({ scale, x, y }), in a viewport { width, height } of screen
// pixels, over a picture `world` { width, height } (see layout.js). Each
// function gives the view after what the user did, or what followed.
import {
  BOX_H, BOX_W, GAP_X, GAP_Y,
} from './layout.js';

export const MIN_SCALE = 0.002;
export const MAX_SCALE = 4;
const MARGIN = 2 * GAP_X;
const FRAME_MARGIN = 8; // screen pixels round what a view frames

// Where the view's top left corner starts, in world units: the head and
// its margin in view left of the first box.
export const START = { x: -GAP_X * 2, y: -GAP_Y };

const scaled = (scale) => Math.min(MAX_SCALE, Math.max(MIN_SCALE, scale));

// The nearest start of a view `span` long to `start`, in a picture
// `length` long: none of it outside the picture's margins unless all of
// the picture is in view, then the picture is centred.
function within(start, length, span) {
  if (span >= length + 2 * MARGIN) return (length - span) / 2;
  return Math.min(Math.max(start, -MARGIN), length + MARGIN - span);
}

// Centred on `box`, as far as the picture's edges allow, and close enough
// that a box fits across.
export function centred(view, box, viewport, world) {
  const { width, height } = viewport;
  const scale = view.scale * BOX_W > width ? width / (BOX_W + 2 * GAP_X) : view.scale;
  return {
    scale,
    x: within(box.x + BOX_W / 2 - width / 2 / scale, world.width, width / scale),
    y: within(box.y + BOX_H / 2 - height / 2 / scale, world.height, height / scale),
  };
}

// `box` brought into view, centred, when it is not wholly in it ({}: the
// view stays).
export function revealed(view, box, viewport, world) {
  return holds(view, { ...box, width: BOX_W, height: BOX_H }, viewport) ? {} : centred(view, box, viewport, world);
}

// Whether `rect` ({ x, y, width, height } in world units) is wholly in view.
function holds(view, rect, viewport) {
  return rect.x >= view.x && rect.y >= view.y &&
    rect.x + rect.width <= view.x + viewport.width / view.scale &&
    rect.y + rect.height <= view.y + viewport.height / view.scale;
}

// Zoomed by `factor` about the screen point (px, py), which stays put.
export function zoomed(view, factor, px, py) {
  const anchor = { x: view.x + px / view.scale, y: view.y + py / view.scale };
  const scale = scaled(view.scale * factor);
  return { scale, x: anchor.x - px / scale, y: anchor.y - py / scale };
}

// The whole picture in view, centred.
export function fitted(viewport, world) {
  const scale = scaled(Math.min(viewport.width / (world.width + 2 * MARGIN),
    viewport.height / (world.height + 2 * MARGIN)));
  return { scale, x: (world.width - viewport.width / scale) / 2, y: (world.height - viewport.height / scale) / 2 };
}

// `rect` ({ x, y, width, height } in world units) wholly in view: the
// view stays if it is; else the view is centred on it, zoomed out as far
// as needed for it to fit with a margin ({}: the view stays). Zoomed out
// no further than `least`, where given: what does not fit then is shown
// from its top left corner.
export function framed(view, rect, viewport, least = undefined) {
  if (holds(view, rect, viewport)) return {};
  const room = Math.min((viewport.width - 2 * FRAME_MARGIN) / rect.width,
    (viewport.height - 2 * FRAME_MARGIN) / rect.height);
  if (least !== undefined && room < least) {
    const scale = scaled(Math.max(least, Math.min(view.scale, room)));
    return { scale, x: rect.x - FRAME_MARGIN / scale, y: rect.y - FRAME_MARGIN / scale };
  }
  const scale = scaled(Math.min(view.scale, room));
  return {
    scale,
    x: rect.x + rect.width / 2 - viewport.width / 2 / scale,
    y: rect.y + rect.height / 2 - viewport.height / 2 / scale,
  };
}
