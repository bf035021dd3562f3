// What the pointers on the canvas ask for: one finger (or the mouse)
// drags the picture, or clicks a point of it; two fingers zoom about the
// point between them; the wheel zooms about the pointer; a pointer moved
// over the picture, not pressed, points at what is under it. Points are
// in CSS pixels from the canvas's top left corner.

// Listens on `canvas` (until `listening.signal` aborts) and tells `to`
// what the pointers ask for: `pan(dx, dy)`, `zoom(factor, px, py)`,
// `click(px, py)` and `point(px, py)`. What the pointers are doing is
// this call's own: a page started anew starts with none down.
export function followGestures(canvas, to, listening) {
  const touching = new Map();
  let drag = null;
  const onCanvas = (x, y) => {
    const rect = canvas.getBoundingClientRect();
    return [x - rect.left, y - rect.top];
  };
  // The two fingers' distance and the point between them.
  const spread = () => {
    const [a, b] = [...touching.values()];
    return { distance: Math.hypot(a.x - b.x, a.y - b.y), at: onCanvas((a.x + b.x) / 2, (a.y + b.y) / 2) };
  };

  canvas.addEventListener('pointerdown', (event) => {
    touching.set(event.pointerId, { x: event.clientX, y: event.clientY });
    try {
      canvas.setPointerCapture(event.pointerId);
    } catch {
      // A pointer the browser does not know as active: not captured.
    }
    drag = touching.size === 1 ? { x: event.clientX, y: event.clientY, moved: false } : { moved: true };
    canvas.focus();
  }, listening);

  canvas.addEventListener('pointermove', (event) => {
    if (touching.size === 2 && touching.has(event.pointerId)) {
      const before = spread();
      touching.set(event.pointerId, { x: event.clientX, y: event.clientY });
      const after = spread();
      if (before.distance > 0) to.zoom(after.distance / before.distance, ...after.at);
      return;
    }
    if (drag) {
      const dx = event.clientX - drag.x;
      const dy = event.clientY - drag.y;
      if (drag.moved || Math.abs(dx) + Math.abs(dy) > 3) {
        Object.assign(drag, { x: event.clientX, y: event.clientY, moved: true });
        to.pan(dx, dy);
      }
      return;
    }
    to.point(...onCanvas(event.clientX, event.clientY));
  }, listening);

  canvas.addEventListener('pointerup', (event) => {
    touching.delete(event.pointerId);
    const clicked = drag && !drag.moved;
    if (touching.size > 0) return;
    drag = null;
    if (clicked) to.click(...onCanvas(event.clientX, event.clientY));
  }, listening);

  canvas.addEventListener('pointercancel', (event) => {
    touching.delete(event.pointerId);
    if (touching.size === 0) drag = null;
  }, listening);

  canvas.addEventListener('wheel', (event) => {
    event.preventDefault();
    to.zoom(Math.exp(-event.deltaY / 400), ...onCanvas(event.clientX, event.clientY));
  }, { ...listening, passive: false });
}
