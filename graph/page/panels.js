// The page's panels beside the picture, written from the model's texts:
// the details, the status and phases, the code with the line about to
// run, the active calls and what a comparison compares, the totals.
import { shownRanges } from './code_steps.js';
import {
  compareText, detailsText, framesText, namesAt, phasesOf, statusText, totalsText,
} from './texts.js';
import { pieces } from './words.js';

export const $ = (id) => document.getElementById(id);

// Writes a text's parts into `element`: words with their escapes marked.
export function render(element, parts) {
  element.replaceChildren();
  for (const part of parts) {
    if (typeof part === 'string') {
      element.append(part);
      continue;
    }
    for (const piece of pieces(part.word)) {
      if (!piece.escaped) {
        element.append(piece.text);
        continue;
      }
      const mark = document.createElement('span');
      mark.className = 'escape';
      mark.textContent = piece.text;
      element.append(mark);
    }
  }
}

// The selected element, or find's answer for a word not found.
export function showDetails(run, list, selected, answer) {
  render($('details'), selected < 0 && answer ? answer : detailsText(run, list, selected));
}

export function showView(view) {
  $('view').textContent = view === 'list' ? 'Memory view (m)' : 'List view (m)';
  $('view').setAttribute('aria-pressed', String(view === 'memory'));
}

// Where the replay stands: the status, the phases, the slider and the
// code, at `position` with the list there and the stop of the code.
export function showPosition(run, position, { list, stop }, named) {
  render($('status'), statusText(run, position, list, named));
  const { taken, current } = phasesOf(run, position);
  for (const item of document.querySelectorAll('#phases li')) {
    item.hidden = taken.length > 0 && !taken.includes(item.dataset.phase);
    item.classList.toggle('taken', taken.includes(item.dataset.phase));
    if (item.dataset.phase === current) item.setAttribute('aria-current', 'step');
    else item.removeAttribute('aria-current');
  }
  $('step').value = String(position.step);
  showCode(run, position, stop);
}

// The list items of the code shown, by line number.
const codeLines = new Map();

// Lists the functions of the list's code that a run of `run` goes through.
export function showCodeOf(run) {
  const lines = $('code');
  lines.replaceChildren();
  codeLines.clear();
  shownRanges(run.code, run.front).forEach((range, index) => {
    if (index > 0) {
      const gap = document.createElement('li');
      gap.className = 'gap';
      gap.setAttribute('aria-hidden', 'true');
      lines.append(gap);
    }
    for (let n = range.first; n <= range.last; n += 1) {
      const item = document.createElement('li');
      item.dataset.line = String(n);
      item.textContent = run.code.lines[n - 1] || ' ';
      codeLines.set(n, item);
      lines.append(item);
    }
  });
}

// The line about to run marked and in view, the active calls with their
// variables, and what a comparison line compares.
function showCode(run, position, stop) {
  for (const item of $('code').querySelectorAll('[aria-current]')) item.removeAttribute('aria-current');
  if (!stop) {
    $('frames').replaceChildren();
    $('compare').textContent = '';
    return;
  }
  const item = codeLines.get(stop.line);
  item.setAttribute('aria-current', 'step');
  const lines = $('code');
  if (item.offsetTop < lines.scrollTop || item.offsetTop + item.offsetHeight > lines.scrollTop + lines.clientHeight) {
    lines.scrollTop = item.offsetTop - lines.clientHeight / 2;
  }
  const names = namesAt(run, position);
  $('frames').replaceChildren(...framesText(stop, names).map((text) => {
    const call = document.createElement('li');
    call.textContent = text;
    return call;
  }));
  $('compare').textContent = compareText(stop, names, (i) => run.data.words[i]);
}

// The switch to the other of two runs.
export function showSwitch(other) {
  $('run').textContent = `Show the ${other} run (r)`;
  $('run').setAttribute('aria-label', `Show the run of list_add_${other}`);
}

export function showTotals(runs) {
  $('totals').replaceChildren(...totalsText(runs).map(({ text, run: index }) => {
    if (index === undefined) return text;
    const piece = document.createElement('span');
    piece.className = `run-${index}`;
    piece.textContent = text;
    return piece;
  }));
}
