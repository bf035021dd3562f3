// The canvases' sizes in CSS pixels, as last laid out: reading them from
// the document in an update or a drawing would lay the page out then and
// there, a second time in a frame.
const sizes = new Map();

export const sizeOf = (target) => {
  if (!sizes.has(target)) sizes.set(target, { width: target.clientWidth, height: target.clientHeight });
  return sizes.get(target);
};

export const sameSize = (a, b) => a.width === b.width && a.height === b.height;

// The sizes a ResizeObserver's `entries` tell.
export function noteSizes(entries) {
  for (const { target, contentRect } of entries) {
    sizes.set(target, { width: Math.round(contentRect.width), height: Math.round(contentRect.height) });
  }
}

// Forgets the size of `target` (of every canvas, without it): read from
// the document when next asked for.
export function forgetSize(target = null) {
  if (target) sizes.delete(target);
  else sizes.clear();
}

// A canvas the size it is shown, in device pixels; its context scaled.
export function fitCanvas(target) {
  const ratio = window.devicePixelRatio || 1;
  const { width, height } = sizeOf(target);
  if (target.width !== Math.round(width * ratio)) target.width = Math.round(width * ratio);
  if (target.height !== Math.round(height * ratio)) target.height = Math.round(height * ratio);
  const pen = target.getContext('2d');
  pen.setTransform(ratio, 0, 0, ratio, 0, 0);
  return { pen, width, height, ratio };
}
