// A short transition: the picture as it was, fading out over the one
// drawn since.

// A copy of what `canvas` shows now, and when it was taken; null for a
// canvas of no size.
export function snapshot(canvas) {
  if (canvas.width === 0 || canvas.height === 0) return null;
  const image = document.createElement('canvas');
  image.width = canvas.width;
  image.height = canvas.height;
  image.getContext('2d').drawImage(canvas, 0, 0);
  return { image, start: performance.now() };
}

// Draws `fading`'s copy over the canvas of `context`, the more faded the
// longer since it was taken; false once `duration` ms have passed.
export function fadeOver(context, fading, duration) {
  const t = (performance.now() - fading.start) / duration;
  if (t >= 1) return false;
  context.save();
  context.setTransform(1, 0, 0, 1, 0, 0);
  context.globalAlpha = 1 - t;
  context.drawImage(fading.image, 0, 0);
  context.restore();
  return true;
}
