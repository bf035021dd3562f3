// wordlist-graph's page: the list drawn on a canvas, in list order or in
// order of address, with one element selected and followed from NEXT to
// NEXT. The listing is read from the JSON data block; the whole view lives
// in `state`, mirrored in the URL fragment (#view=memory&select=17).
'use strict';

(() => {
  const BOX_W = 176;
  const BOX_H = 74;
  const GAP_X = 46;
  const GAP_Y = 42;
  const PITCH_X = BOX_W + GAP_X;
  const PITCH_Y = BOX_H + GAP_Y;
  const LINE = 16;
  const FONT = '11px "DejaVu Sans Mono", monospace';
  const BOLD = 'bold 11px "DejaVu Sans Mono", monospace';
  const CHAR_W = 6.7; // advance of one character in FONT, near enough
  const BOX_CHARS = Math.floor((BOX_W - 12) / CHAR_W);
  const COLOUR = {
    box: '#E4ECF7', boxEdge: '#6B7A90', text: '#1B1F24', escape: '#B00020', arrow: '#1F5FBF',
    faint: 'rgba(31, 95, 191, 0.18)', selected: '#FFD966', target: '#1F5FBF',
    source: '#7A3EB1', dim: '#8A96A8',
  };
  const MIN_SCALE = 0.002;
  const MAX_SCALE = 4;

  const data = JSON.parse(document.getElementById('listing').textContent);
  const size = data.counts.length; // elements drawn
  const digits = data.digits;
  const nullAddress = '0'.repeat(digits);
  const columns = Math.max(6, Math.ceil(Math.sqrt(size)));
  // rank[view][i]: where element i stands in the view's order.
  const memoryRank = new Int32Array(size);
  data.byAddress.forEach((index, rank) => { memoryRank[index] = rank; });

  const canvas = document.getElementById('canvas');
  const context = canvas.getContext('2d');
  const details = document.getElementById('details');
  const note = document.getElementById('note');
  const pointer = document.getElementById('pointer');
  const viewButton = document.getElementById('view');
  const findField = document.getElementById('find');

  const state = { view: data.view, selected: -1, scale: 1, x: 0, y: 0 };
  let drawPending = false;

  // ---- The listing's fields.

  const address = (i) => data.addresses.substr(i * digits, digits);
  const nextAddress = (i) => (i + 1 < size ? address(i + 1) : data.tail);
  const indexAt = (view, rank) => (view === 'list' ? rank : data.byAddress[rank]);
  const rankOf = (view, i) => (view === 'list' ? i : memoryRank[i]);

  // The bytes between an element and the next one up in memory.
  function distanceUp(i) {
    const rank = memoryRank[i];
    if (rank + 1 >= size) return null;
    return BigInt(`0x${address(data.byAddress[rank + 1])}`) - BigInt(`0x${address(i)}`);
  }

  // ---- Words: the listing's bytes, shown legibly.

  // A word's characters as pieces { text, escaped }. Bytes that are not
  // UTF-8 come as U+DC80..U+DCFF (one per byte); they, control bytes, and
  // invisible or direction-changing characters are shown as \xHH or \uHHHH.
  function pieces(word) {
    const out = [];
    let plain = '';
    const escape = (text) => {
      if (plain) out.push({ text: plain, escaped: false });
      plain = '';
      out.push({ text, escaped: true });
    };
    for (const character of word) {
      const point = character.codePointAt(0);
      if (point >= 0xDC80 && point <= 0xDCFF) {
        escape(`\\x${hex(point - 0xDC00, 2)}`);
      } else if (point < 0x20 || point === 0x7F) {
        escape(`\\x${hex(point, 2)}`);
      } else if (isInvisible(point)) {
        escape(`\\u${hex(point, 4)}`);
      } else {
        plain += character;
      }
    }
    if (plain) out.push({ text: plain, escaped: false });
    return out;
  }

  function isInvisible(point) {
    return point < 0x20 || (point >= 0x7F && point <= 0x9F) ||
      (point >= 0x200B && point <= 0x200F) || (point >= 0x2028 && point <= 0x202E) ||
      (point >= 0x2060 && point <= 0x2069) || point === 0xFEFF;
  }

  function hex(value, width) {
    return value.toString(16).toUpperCase().padStart(width, '0');
  }

  // A word's bytes, for comparing as the program does: unsigned bytes.
  const encoder = new TextEncoder();
  function bytesOf(word) {
    const bytes = [];
    for (const character of word) {
      const point = character.codePointAt(0);
      if (point >= 0xDC80 && point <= 0xDCFF) bytes.push(point - 0xDC00);
      else bytes.push(...encoder.encode(character));
    }
    return bytes;
  }

  function compareBytes(a, b) {
    const length = Math.min(a.length, b.length);
    for (let k = 0; k < length; k += 1) {
      if (a[k] !== b[k]) return a[k] - b[k];
    }
    return a.length - b.length;
  }

  // Text nodes and marked escapes for a word, into `parent`.
  function appendWord(parent, word) {
    for (const piece of pieces(word)) {
      if (piece.escaped) {
        const mark = document.createElement('span');
        mark.className = 'escape';
        mark.textContent = piece.text;
        parent.append(mark);
      } else {
        parent.append(piece.text);
      }
    }
  }

  // ---- Layout: boxes in rows, in the view's order.

  function boxAt(rank) {
    return { x: (rank % columns) * PITCH_X, y: Math.floor(rank / columns) * PITCH_Y };
  }

  function boxOf(i) {
    return boxAt(rankOf(state.view, i));
  }

  function worldSize() {
    const rows = Math.max(1, Math.ceil(size / columns));
    return { width: Math.min(size, columns) * PITCH_X - GAP_X, height: rows * PITCH_Y - GAP_Y };
  }

  // The element whose box holds the world point, or -1.
  function elementAt(wx, wy) {
    const column = Math.floor(wx / PITCH_X);
    const row = Math.floor(wy / PITCH_Y);
    if (column < 0 || column >= columns || row < 0) return -1;
    if (wx - column * PITCH_X > BOX_W || wy - row * PITCH_Y > BOX_H) return -1;
    const rank = row * columns + column;
    return rank < size ? indexAt(state.view, rank) : -1;
  }

  function viewport() {
    return { width: canvas.clientWidth, height: canvas.clientHeight };
  }

  const toWorld = (px, py) => ({ x: state.x + px / state.scale, y: state.y + py / state.scale });

  // ---- Drawing.

  function requestDraw() {
    if (drawPending) return;
    drawPending = true;
    requestAnimationFrame(draw);
  }

  function draw() {
    drawPending = false;
    const start = performance.now();
    const { width, height } = viewport();
    const ratio = window.devicePixelRatio || 1;
    if (canvas.width !== Math.round(width * ratio) || canvas.height !== Math.round(height * ratio)) {
      canvas.width = Math.round(width * ratio);
      canvas.height = Math.round(height * ratio);
    }
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    context.clearRect(0, 0, width, height);
    context.setTransform(ratio * state.scale, 0, 0, ratio * state.scale,
      -state.x * state.scale * ratio, -state.y * state.scale * ratio);
    const visible = visibleRanks(width, height);
    const detailed = state.scale * BOX_H >= 30;
    drawHead();
    if (state.view === 'list') drawListArrows(visible, detailed);
    else drawMemoryArrows(visible, detailed);
    drawBoxes(visible, detailed);
    drawEnd();
    performance.measure('draw', { start, end: performance.now() });
    if (!document.documentElement.hasAttribute('data-ready')) {
      document.documentElement.setAttribute('data-ready', '');
      performance.mark('ready');
    }
  }

  // The ranks in view, row by row: [first, last] per visible row.
  function visibleRanks(width, height) {
    const top = toWorld(0, 0);
    const bottom = toWorld(width, height);
    const firstRow = Math.max(0, Math.floor(top.y / PITCH_Y));
    const lastRow = Math.min(Math.ceil(size / columns) - 1, Math.floor(bottom.y / PITCH_Y));
    const firstColumn = Math.max(0, Math.floor(top.x / PITCH_X));
    const lastColumn = Math.min(columns - 1, Math.floor(bottom.x / PITCH_X));
    const rows = [];
    for (let row = firstRow; row <= lastRow && firstColumn <= lastColumn; row += 1) {
      const first = row * columns + firstColumn;
      const last = Math.min(size - 1, row * columns + lastColumn);
      if (first <= last) rows.push([first, last]);
    }
    return rows;
  }

  function forEachVisible(visible, action) {
    for (const [first, last] of visible) {
      for (let rank = first; rank <= last; rank += 1) action(indexAt(state.view, rank), rank);
    }
  }

  function countVisible(visible) {
    return visible.reduce((sum, [first, last]) => sum + last - first + 1, 0);
  }

  function drawBoxes(visible, detailed) {
    const sel = state.selected;
    if (!detailed) {
      // Far out: plain boxes, one path for all of them.
      context.fillStyle = COLOUR.box;
      context.beginPath();
      forEachVisible(visible, (i, rank) => {
        const box = boxAt(rank);
        context.rect(box.x, box.y, BOX_W, BOX_H);
      });
      context.fill();
      if (sel >= 0) {
        const box = boxOf(sel);
        const grow = Math.max(0, 6 / state.scale - BOX_W / 2);
        context.fillStyle = COLOUR.selected;
        context.strokeStyle = COLOUR.text;
        context.lineWidth = 2 / state.scale;
        context.fillRect(box.x - grow, box.y - grow, BOX_W + 2 * grow, BOX_H + 2 * grow);
        context.strokeRect(box.x - grow, box.y - grow, BOX_W + 2 * grow, BOX_H + 2 * grow);
      }
      return;
    }
    const target = sel >= 0 && sel + 1 < size ? sel + 1 : -1;
    forEachVisible(visible, (i, rank) => {
      const box = boxAt(rank);
      context.fillStyle = i === sel ? COLOUR.selected : COLOUR.box;
      context.fillRect(box.x, box.y, BOX_W, BOX_H);
      context.lineWidth = i === sel || i === target || i === sel - 1 ? 3 : 1;
      context.strokeStyle = i === target ? COLOUR.target
        : i === sel - 1 && sel >= 0 ? COLOUR.source : COLOUR.boxEdge;
      context.strokeRect(box.x, box.y, BOX_W, BOX_H);
      if (state.view === 'list') drawListFields(i, box);
      else drawMemoryFields(i, box);
    });
  }

  function drawText(text, x, y, font, colour) {
    context.font = font;
    context.fillStyle = colour;
    context.fillText(text, x, y);
  }

  // A word, shortened to `room` characters, with its escapes in red.
  function drawWord(word, x, y, room) {
    let left = room;
    let at = x;
    for (const piece of pieces(word)) {
      const characters = [...piece.text];
      const shown = characters.slice(0, left).join('');
      drawText(shown, at, y, BOLD, piece.escaped ? COLOUR.escape : COLOUR.text);
      at += Math.min(characters.length, left) * CHAR_W;
      left -= characters.length;
      if (left <= 0) break;
    }
    if (left < 0) drawText('\u2026', at, y, BOLD, COLOUR.dim);
  }

  function drawListFields(i, box) {
    const x = box.x + 6;
    const y = box.y + LINE;
    const position = String(i + 1);
    drawText(position, x, y, FONT, COLOUR.dim);
    drawWord(data.words[i], x + (position.length + 1) * CHAR_W, y,
      BOX_CHARS - position.length - 2);
    drawText(`COUNT ${data.counts[i]}`, x, y + LINE, FONT, COLOUR.text);
    drawText(`ADR   ${address(i)}`, x, y + 2 * LINE, FONT, COLOUR.text);
    const selected = i === state.selected;
    drawText(`NEXT  ${nextAddress(i)}`, x, y + 3 * LINE, selected ? BOLD : FONT,
      selected ? COLOUR.target : COLOUR.text);
  }

  function drawMemoryFields(i, box) {
    const x = box.x + 6;
    const y = box.y + LINE;
    drawText(address(i), x, y, BOLD, COLOUR.text);
    const position = `${i + 1}.`;
    drawText(position, x, y + LINE, FONT, COLOUR.dim);
    drawWord(data.words[i], x + (position.length + 1) * CHAR_W, y + LINE,
      BOX_CHARS - position.length - 2);
    drawText(`COUNT ${data.counts[i]}`, x, y + 2 * LINE, FONT, COLOUR.text);
    const distance = distanceUp(i);
    if (distance !== null) drawText(`+${distance} B to the next up`, x, y + 3 * LINE, FONT, COLOUR.dim);
  }

  function arrowHead(x, y, angle, colour) {
    const length = 8;
    context.fillStyle = colour;
    context.beginPath();
    context.moveTo(x, y);
    context.lineTo(x - length * Math.cos(angle - 0.4), y - length * Math.sin(angle - 0.4));
    context.lineTo(x - length * Math.cos(angle + 0.4), y - length * Math.sin(angle + 0.4));
    context.closePath();
    context.fill();
  }

  function stroke(colour, width) {
    context.strokeStyle = colour;
    context.lineWidth = width / Math.max(state.scale, 0.25);
    context.stroke();
  }

  // In list order each NEXT leads to the box beside it, or round to the
  // first box of the next row.
  function drawListArrows(visible, detailed) {
    if (!detailed) return;
    forEachVisible(visible, (i) => {
      if (i + 1 >= size) return;
      const highlighted = i === state.selected;
      listArrow(i, highlighted ? COLOUR.arrow : COLOUR.dim, highlighted ? 3 : 1.2);
    });
  }

  function listArrow(i, colour, width) {
    const from = boxAt(i);
    const to = boxAt(i + 1);
    const y = from.y + LINE * 3 + 10;
    context.beginPath();
    context.moveTo(from.x + BOX_W, y);
    if (to.y === from.y) {
      context.lineTo(to.x, to.y + LINE * 3 + 10);
      stroke(colour, width);
      arrowHead(to.x, to.y + LINE * 3 + 10, 0, colour);
      return;
    }
    const turn = from.y + BOX_H + GAP_Y / 2;
    context.lineTo(from.x + BOX_W + GAP_X / 3, y);
    context.lineTo(from.x + BOX_W + GAP_X / 3, turn);
    context.lineTo(to.x - GAP_X / 3, turn);
    context.lineTo(to.x - GAP_X / 3, to.y + LINE * 3 + 10);
    context.lineTo(to.x, to.y + LINE * 3 + 10);
    stroke(colour, width);
    arrowHead(to.x, to.y + LINE * 3 + 10, 0, colour);
  }

  // In order of address the NEXT arrows jump about: the selected element's
  // and its neighbours' are drawn clearly, the others faintly, and only
  // when few boxes are in view.
  function drawMemoryArrows(visible, detailed) {
    const sel = state.selected;
    if (detailed && countVisible(visible) <= 400) {
      forEachVisible(visible, (i) => {
        if (i + 1 < size && Math.abs(i - sel) > 1) memoryArrow(i, COLOUR.faint, 1);
      });
    }
    if (sel < 0) return;
    if (sel > 0) memoryArrow(sel - 1, COLOUR.source, 2.5);
    if (sel + 1 < size) memoryArrow(sel, COLOUR.arrow, 3.5);
    if (sel + 2 < size) memoryArrow(sel + 1, COLOUR.dim, 2.5);
  }

  function memoryArrow(i, colour, width) {
    const from = boxOf(i);
    const to = boxOf(i + 1);
    const x1 = from.x + BOX_W / 2;
    const y1 = from.y + BOX_H / 2;
    const x2 = to.x + BOX_W / 2;
    const y2 = to.y + BOX_H / 2;
    // Bow the curve to one side, so that arrows both ways stay apart.
    const bend = 0.25;
    const cx = (x1 + x2) / 2 - (y2 - y1) * bend;
    const cy = (y1 + y2) / 2 + (x2 - x1) * bend;
    context.beginPath();
    context.moveTo(x1, y1);
    context.quadraticCurveTo(cx, cy, x2, y2);
    stroke(colour, width);
    arrowHead(x2, y2, Math.atan2(y2 - cy, x2 - cx), colour);
  }

  function drawHead() {
    if (state.view !== 'list') return;
    context.font = BOLD;
    context.fillStyle = COLOUR.text;
    context.fillText('head', -GAP_X - 26, LINE * 3 + 14);
    context.beginPath();
    context.moveTo(-GAP_X + 4, LINE * 3 + 10);
    context.lineTo(0, LINE * 3 + 10);
    stroke(COLOUR.dim, 1.2);
    arrowHead(0, LINE * 3 + 10, 0, COLOUR.dim);
  }

  // After the last box: NULL, or how many elements were left out.
  function drawEnd() {
    if (state.view !== 'list') return;
    const end = size === 0 ? { x: -GAP_X + 6, y: 0 } : boxAt(size);
    const text = data.tail === nullAddress ? 'NULL' : `\u2026 ${data.total - size} more`;
    drawText(text, end.x + 4 - (size === 0 ? 0 : GAP_X - 8), end.y + LINE * 3 + 14, BOLD,
      COLOUR.dim);
  }

  // ---- What the user does.

  function select(i, why = '') {
    state.selected = i;
    note.textContent = why;
    showDetails();
    if (i >= 0) reveal(i);
    saveState();
    requestDraw();
  }

  function showDetails() {
    const i = state.selected;
    if (i < 0) {
      details.replaceChildren(size === 0 ? 'The list is empty.' : 'No element is selected.');
      return;
    }
    details.replaceChildren(`${i + 1} ADR: ${address(i)} NEXT: ${nextAddress(i)} ` +
      `COUNT: ${data.counts[i]} WORD: `);
    appendWord(details, data.words[i]);
  }

  // Follows the selected element's NEXT.
  function follow() {
    const i = state.selected;
    if (i < 0) {
      if (size > 0) select(0);
    } else if (i + 1 < size) {
      select(i + 1);
    } else if (data.tail === nullAddress) {
      note.textContent = `NEXT of ${i + 1} is null: the list ends here.`;
    } else {
      note.textContent = `NEXT of ${i + 1} leads to the ${data.total - size} elements not drawn.`;
    }
  }

  // Selects the element whose NEXT points to the selected one.
  function back() {
    const i = state.selected;
    if (i > 0) select(i - 1);
    else if (i === 0) note.textContent = 'The head points here: no element comes before 1.';
  }

  // Finds a word as the list's additions do: an equal word anywhere, or
  // else the place after the last of the words that sort before it.
  function find(text) {
    if (text === '') return;
    const wanted = bytesOf(text);
    let before = -1;
    let walking = true;
    for (let i = 0; i < size; i += 1) {
      const order = compareBytes(wanted, bytesOf(data.words[i]));
      if (order === 0) {
        select(i);
        return;
      }
      if (walking && order > 0) before = i;
      else walking = false;
    }
    select(-1);
    details.replaceChildren('"');
    appendWord(details, text);
    details.append(before < 0 ? '" is not in the list: it would be linked at the head.'
      : `" is not in the list: it would be linked after ${before + 1} "`);
    if (before >= 0) {
      appendWord(details, data.words[before]);
      details.append('".');
    }
  }

  function switchView() {
    state.view = state.view === 'list' ? 'memory' : 'list';
    showView();
  }

  function showView() {
    viewButton.textContent = state.view === 'list' ? 'Memory view (m)' : 'List view (m)';
    viewButton.setAttribute('aria-pressed', String(state.view === 'memory'));
    document.body.dataset.view = state.view;
    if (state.selected >= 0) reveal(state.selected);
    saveState();
    requestDraw();
  }

  // Zooms by `factor` about a point on screen (the centre by default).
  function zoom(factor, px = viewport().width / 2, py = viewport().height / 2) {
    const anchor = toWorld(px, py);
    state.scale = Math.min(MAX_SCALE, Math.max(MIN_SCALE, state.scale * factor));
    state.x = anchor.x - px / state.scale;
    state.y = anchor.y - py / state.scale;
    saveStateSoon();
    requestDraw();
  }

  // Fits the whole list in the window.
  function fit() {
    const { width, height } = viewport();
    const world = worldSize();
    const margin = GAP_X * 2;
    state.scale = Math.min(MAX_SCALE, Math.max(MIN_SCALE,
      Math.min(width / (world.width + 2 * margin), height / (world.height + 2 * margin))));
    state.x = (world.width - width / state.scale) / 2;
    state.y = (world.height - height / state.scale) / 2;
    saveStateSoon();
    requestDraw();
  }

  function pan(dx, dy) {
    state.x -= dx / state.scale;
    state.y -= dy / state.scale;
    requestDraw();
  }

  // Brings an element's box into view, centred, when it is not wholly in it.
  function reveal(i) {
    const box = boxOf(i);
    const { width, height } = viewport();
    const top = toWorld(0, 0);
    const bottom = toWorld(width, height);
    const inside = box.x >= top.x && box.y >= top.y && box.x + BOX_W <= bottom.x &&
      box.y + BOX_H <= bottom.y;
    if (!inside) centre(i);
  }

  // Centres an element's box, as far as the picture's edges allow.
  function centre(i) {
    const box = boxOf(i);
    const { width, height } = viewport();
    if (state.scale * BOX_W > width) state.scale = width / (BOX_W + 2 * GAP_X);
    const world = worldSize();
    state.x = within(box.x + BOX_W / 2 - width / 2 / state.scale, world.width, width);
    state.y = within(box.y + BOX_H / 2 - height / 2 / state.scale, world.height, height);
  }

  // The nearest edge of a view `shown` screen pixels long to `start`, in
  // a picture `length` long: none of it outside the picture's margins
  // unless all of the picture is in view, then the picture is centred.
  function within(start, length, shown) {
    const span = shown / state.scale;
    const margin = 2 * GAP_X;
    if (span >= length + 2 * margin) return (length - span) / 2;
    return Math.min(Math.max(start, -margin), length + margin - span);
  }

  // ---- The fragment: #view=memory&select=17&zoom=0.5.

  let saveTimer = 0;

  function saveState() {
    clearTimeout(saveTimer);
    const parts = [`view=${state.view}`];
    if (state.selected >= 0) parts.push(`select=${state.selected + 1}`);
    if (state.scale !== 1) parts.push(`zoom=${Number(state.scale.toPrecision(3))}`);
    const fragment = `#${parts.join('&')}`;
    if (location.hash !== fragment) history.replaceState(null, '', fragment);
  }

  // Zooming changes the fragment once it comes to rest, not at every step.
  function saveStateSoon() {
    clearTimeout(saveTimer);
    saveTimer = setTimeout(saveState, 250);
  }

  // Takes view, selection and zoom from the fragment, and centres the
  // selected element.
  function loadState() {
    const fields = new URLSearchParams(location.hash.slice(1));
    const view = fields.get('view');
    if (view === 'list' || view === 'memory') state.view = view;
    const position = Number(fields.get('select'));
    state.selected = Number.isInteger(position) && position >= 1 && position <= size
      ? position - 1 : -1;
    const scale = Number(fields.get('zoom'));
    if (fields.has('zoom') && scale >= MIN_SCALE && scale <= MAX_SCALE) state.scale = scale;
    if (state.selected >= 0) centre(state.selected);
  }

  // ---- Wiring.

  const keys = {
    m: switchView, ArrowRight: follow, ArrowLeft: back,
    Home: () => size > 0 && select(0), End: () => size > 0 && select(size - 1),
    '+': () => zoom(1.25), '=': () => zoom(1.25), '-': () => zoom(0.8), 0: fit,
  };

  function onKey(event) {
    if (event.target === findField || event.ctrlKey || event.metaKey || event.altKey) return;
    const action = keys[event.key];
    if (!action) return;
    event.preventDefault();
    action();
  }

  function onFindKey(event) {
    if (event.key === 'Enter') {
      event.preventDefault();
      find(findField.value);
    } else if (event.key === 'Escape') {
      canvas.focus();
    }
  }

  let drag = null;

  function onPointerDown(event) {
    drag = { x: event.clientX, y: event.clientY, moved: false };
    canvas.setPointerCapture(event.pointerId);
    canvas.focus();
  }

  function onPointerMove(event) {
    const rect = canvas.getBoundingClientRect();
    if (drag) {
      const dx = event.clientX - drag.x;
      const dy = event.clientY - drag.y;
      if (drag.moved || Math.abs(dx) + Math.abs(dy) > 3) {
        drag.moved = true;
        drag.x = event.clientX;
        drag.y = event.clientY;
        pan(dx, dy);
      }
      return;
    }
    const at = toWorld(event.clientX - rect.left, event.clientY - rect.top);
    const i = elementAt(at.x, at.y);
    pointer.replaceChildren();
    if (i >= 0) {
      pointer.append(`${i + 1} `);
      appendWord(pointer, data.words[i]);
    }
  }

  function onPointerUp(event) {
    const clicked = drag && !drag.moved;
    drag = null;
    if (!clicked) return;
    const rect = canvas.getBoundingClientRect();
    const at = toWorld(event.clientX - rect.left, event.clientY - rect.top);
    const i = elementAt(at.x, at.y);
    if (i >= 0) select(i);
  }

  function onWheel(event) {
    event.preventDefault();
    const rect = canvas.getBoundingClientRect();
    zoom(Math.exp(-event.deltaY / 400), event.clientX - rect.left, event.clientY - rect.top);
  }

  function init() {
    document.getElementById('title').textContent = data.total === size
      ? `${size} element${size === 1 ? '' : 's'}`
      : `the first ${size} of ${data.total} elements`;
    document.title = `wordlist: ${document.getElementById('title').textContent}`;
    state.x = -GAP_X * 2;
    state.y = -GAP_Y;
    loadState();
    document.addEventListener('keydown', onKey);
    findField.addEventListener('keydown', onFindKey);
    viewButton.addEventListener('click', switchView);
    document.getElementById('zoom-in').addEventListener('click', () => zoom(1.25));
    document.getElementById('zoom-out').addEventListener('click', () => zoom(0.8));
    document.getElementById('fit').addEventListener('click', fit);
    canvas.addEventListener('pointerdown', onPointerDown);
    canvas.addEventListener('pointermove', onPointerMove);
    canvas.addEventListener('pointerup', onPointerUp);
    canvas.addEventListener('wheel', onWheel, { passive: false });
    window.addEventListener('resize', requestDraw);
    window.addEventListener('hashchange', () => {
      loadState();
      showDetails();
      showView();
    });
    showDetails();
    showView();
    draw(); // the first picture now, not a frame later
    canvas.focus();
  }

  init();
})();
