// The page's panels beside the picture, written from the model's texts:
// the details, the status and phases, the code with the line about to
// run, the active calls and what a comparison compares, the totals.
import { askedDetails, askedPhases, askedStatus } from './ask_told.js';
import { planStop, shownRanges } from './code_steps.js';
import { targetName } from './pointers.js';
import { showTexts } from './labels.js';
import { sayText, sayTold } from './language.js';
import { LINKED, nextAddress } from './position.js';
import {
  addressOf, countAt, freeLength, planAt, planLength,
} from './run.js';
import {
  compareText, detailsText, framesText, namesAt, phasesOf, statusText, titleText, totalsText,
} from './texts.js';
import { pieces, wordText } from './words.js';

// The page's element of id `id`. A page without it is built wrong: that
// is said at once, naming the id, rather than written where nobody sees.
export function $(id) {
  const element = document.getElementById(id);
  if (element === null) throw new Error(`the page has no element #${id}`);
  return element;
}

// Every element the page's modules ask for by id, found when a page
// starts: a page that lacks one fails then, not at the first key or
// frame that would have written to it.
export const PAGE_ELEMENTS = [
  'ask', 'ask-answers', 'ask-question', 'ask-result', 'ask-why', 'back', 'canvas', 'code', 'compare', 'cost',
  'details', 'find', 'first', 'fit', 'forward', 'frames', 'hint', 'hint-close', 'lang', 'last', 'lesson',
  'line-back', 'line-forward', 'line-speed', 'line-step', 'next', 'next-of-word', 'note', 'play', 'plot',
  'pointer', 'previous', 'run', 'said', 'scene-boxes', 'scene-pointers', 'score', 'speed', 'stage', 'status',
  'step', 'timeline', 'title', 'totals', 'view', 'your-turn', 'zoom-in', 'zoom-out',
];
export function findElements(ids = PAGE_ELEMENTS) {
  ids.forEach($);
}

// What each panel that skips a write last wrote from, by panel. A key is
// an object whose fields are compared one by one: the run shown, as
// startPage opened it for the text it counted (so neither the other run
// nor the same run of another text is ever taken for it), the language,
// the position, and what else that panel's text follows from. A field added to every
// key takes part in every skip.
let writtenFrom = new Map();
function sameKey(a, b) {
  const names = Object.keys(a);
  return names.length === Object.keys(b).length && names.every((name) => a[name] === b[name]);
}
// Whether `panel` was last written from something else than `key`; if
// so, `key` is now what it is written from.
function changedSince(panel, key) {
  const last = writtenFrom.get(panel);
  if (last !== undefined && sameKey(last, key)) return false;
  writtenFrom.set(panel, key);
  return true;
}

// Forgets what every panel was written from: for a page started anew.
export function forgetPanels() {
  writtenFrom = new Map();
  codeShown = { run: null, items: new Map() };
  lineToReveal = null;
}

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

// The selected element, or find's answer for a word not found (its
// text's key and places), in `lang`. While a question is open (`open`),
// an element not yet in the list does not say when it will be.
export function showDetails(lang, run, list, selected, answer, open = null) {
  if (open) render($('details'), askedDetails(lang, run, list, selected));
  else render($('details'), selected < 0 && answer ? sayTold(lang, answer) : detailsText(lang, run, list, selected));
}

// Whether Play is on. While it is, what changes many times a second is
// told by #said, at most twice a second, not by the live panels.
export function showPlaying(on) {
  write($('play'), null, { 'aria-pressed': String(on) });
  for (const panel of [$('status'), $('details')]) write(panel, null, { 'aria-live': on ? 'off' : 'polite' });
}

// Play's speeds, in the selects that change them.
export function showSpeeds({ speed, lineSpeed }) {
  for (const [select, value] of [[$('speed'), speed], [$('line-speed'), lineSpeed]]) {
    if (select.value !== String(value)) select.value = String(value);
  }
}

export function showView(lang, view) {
  write($('view'), sayText(lang, view === 'list' ? 'view.toMemory' : 'view.toList'),
    { 'aria-pressed': String(view === 'memory') });
}

// The language shown, `lang`: every fixed text, the switch of languages,
// the title (of `run`), the totals (of `runs`, on a replay's page) and
// the line under the pointer (`pointed`, its parts).
export function showLanguage(lang, run, runs, pointed) {
  showTexts(document, lang);
  if ($('lang').value !== lang) $('lang').value = lang;
  $('title').textContent = titleText(lang, run);
  document.title = sayText(lang, 'page.title', { title: $('title').textContent });
  if (runs) showTotals(lang, runs);
  render($('pointer'), pointed);
}

// Gives `element` the text `text` and the attributes `attributes`,
// writing only what differs: a write of the same value is still a change
// that the page's style and layout must look at again.
export function write(element, text, attributes = {}) {
  if (text !== null && element.textContent !== text) element.textContent = text;
  for (const [name, value] of Object.entries(attributes)) {
    if (element.getAttribute(name) !== value) element.setAttribute(name, value);
  }
}

// Where the replay stands, in `lang`: the status, the phases, the slider
// and the code, at `position` with the list there and the stop of the
// code. While a question is open (`open`), the status and the phases tell
// nothing of what the addition does: neither the phases it takes nor the
// outcome.
export function showPosition(lang, run, position, { list, stop, open }, named) {
  render($('status'), open ? askedStatus(lang, run, open, named) : statusText(lang, run, position, list, named));
  const { taken, current } = open ? askedPhases(phasesOf(run, position)) : phasesOf(run, position);
  for (const item of document.querySelectorAll('#phases li')) {
    const hidden = taken.length > 0 && !taken.includes(item.dataset.phase);
    if (item.hidden !== hidden) item.hidden = hidden;
    item.classList.toggle('taken', taken.includes(item.dataset.phase));
    if (item.dataset.phase === current) item.setAttribute('aria-current', 'step');
    else item.removeAttribute('aria-current');
  }
  $('step').value = String(position.step);
  showCode(lang, run, position, stop);
}

// The run whose code is listed, and its list items by line number.
let codeShown = { run: null, items: new Map() };

// The list items of `run`'s code by line number, listing the functions of
// the list's code that a run of it goes through unless they are listed.
function codeLinesOf(run) {
  if (codeShown.run === run) return codeShown.items;
  const lines = $('code');
  lines.replaceChildren();
  const codeLines = new Map();
  codeShown = { run, items: codeLines };
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
  return codeLines;
}

// The line about to run, to be scrolled into view once laid out (on a
// page just opened, the panel takes its height only then).
let lineToReveal = null;

// Scrolls the code to the line about to run, where it is out of view. The
// picture's drawing calls it with its own reads of the layout, before
// anything is written.
export function revealLine() {
  const lines = $('code');
  const item = lineToReveal;
  lineToReveal = null;
  if (item && (item.offsetTop < lines.scrollTop ||
      item.offsetTop + item.offsetHeight > lines.scrollTop + lines.clientHeight)) {
    lines.scrollTop = item.offsetTop - lines.clientHeight / 2;
  }
}

// The line about to run marked and in view, the active calls with their
// variables, and what a comparison line compares.
function showCode(lang, run, position, stop) {
  const codeLines = codeLinesOf(run);
  for (const item of $('code').querySelectorAll('[aria-current]')) item.removeAttribute('aria-current');
  for (const item of $('code').querySelectorAll('.ran')) item.classList.remove('ran');
  const at = position.free || position.line;
  const ran = at > 1 ? planStop(planAt(run, position), at - 1) : null;
  if (ran && ran.line !== stop?.line) codeLines.get(ran.line).classList.add('ran');
  if (!stop) {
    lineToReveal = null;
    writeItems($('frames'), []);
    write($('compare'), '');
    return;
  }
  const item = codeLines.get(stop.line);
  item.setAttribute('aria-current', 'step');
  lineToReveal = item;
  const names = namesAt(run, position);
  writeItems($('frames'), framesText(stop, names).map((text) => ({ text })));
  write($('compare'), compareText(lang, stop, names, (i) => run.data.words[i]));
}

// The switch to the other of two runs (`other`, its name), in `lang`.
export function showSwitch(lang, other) {
  // The name says what the button shows, and then whose run it is.
  const front = other === 'front';
  write($('run'), sayText(lang, front ? 'switch.toFront' : 'switch.toSorted'),
    { 'aria-label': sayText(lang, front ? 'switch.toFrontLabel' : 'switch.toSortedLabel') });
}

export function showTotals(lang, runs) {
  $('totals').replaceChildren(...totalsText(lang, runs).map(({ text, run: index }) => {
    if (index === undefined) return text;
    const piece = document.createElement('span');
    piece.className = `run-${index}`;
    piece.textContent = text;
    return piece;
  }));
}

// The slider over the line steps of the addition shown (or of list_free):
// after an addition, at its last. Its value told in `lang`. While a
// question is open (`concealed`) it is not shown: its length would tell
// which way the addition goes.
export function showLineStep(lang, run, position, concealed = false) {
  const slider = $('line-step');
  slider.classList.toggle('concealed', concealed);
  const { step: k, line, free } = position;
  const length = free > 0 ? freeLength(run) : planLength(run, k);
  const value = String(free || line || length);
  write(slider, null, {
    max: String(length),
    'aria-valuetext': length === 0 ? sayText(lang, 'line.none')
      : sayText(lang, free > 0 ? 'line.inFree' : 'line.inAddition', { at: Number(value), length }),
  });
  if (slider.value !== value) slider.value = value;
  if (slider.disabled !== (length === 0)) slider.disabled = length === 0;
}

// What the picture shows, for a screen reader: a list item per box on
// screen, and per pointer drawn, for `shown` (the run, the language, the
// position and what else every panel's key holds). Written only when it
// changed.
const SCENE_BOXES = 200; // told one by one; more are only counted
export function showScene(shown, list, { boxes, pointers }) {
  const { run, lang } = shown;
  // What was drawn, cheaply: the same at the same run and position,
  // nothing to write.
  const drawn = `${boxes.join()}|${pointers.map(({ label, value }) => `${label}:${value.kind}:${value.index}`).join()}|` +
    `${list.countStep}|${list.outside}|${list.outside >= 0 ? list.next[list.outside] : ''}|${list.word}`;
  if (!changedSince('scene', { ...shown, drawn })) return;
  const address = (i) => addressOf(run, i);
  const pointed = new Set(pointers.filter(({ value }) => 'index' in value).map(({ value }) => value.index));
  // Too many to tell: the boxes pointed at first, then the others in the
  // picture's order, as many as there is room for. A pointer that moves
  // then changes the first items, and rarely the others.
  const told = boxes.length <= SCENE_BOXES ? boxes
    : [...boxes.filter((i) => pointed.has(i)), ...boxes.filter((i) => !pointed.has(i))].slice(0, SCENE_BOXES);
  const fieldWord = { null: 'scene.wordNull', unset: 'scene.wordUnset', released: 'scene.wordReleased' };
  const boxItems = told.map((i) => {
    const where = list.status[i] === LINKED ? sayText(lang, 'scene.position', { position: list.rank[i] + 1 })
      : sayText(lang, 'scene.outside');
    const next = nextAddress(run, list, i, address);
    const word = i === list.outside && list.word !== 'copied' ? sayText(lang, fieldWord[list.word])
      : sayText(lang, 'scene.word', { word: toldWord(run, i) });
    return {
      address: address(i),
      text: sayText(lang, 'scene.box', {
        where, word, count: countAt(run, i, list.countStep), address: address(i),
        next: next === run.nullAddress ? 'null' : next,
      }),
    };
  });
  if (told.length < boxes.length) boxItems.push({ text: sayText(lang, 'scene.more', { more: boxes.length - told.length }) });
  writeItems($('scene-boxes'), boxItems);
  writeItems($('scene-pointers'), pointers.map(({ name, label, value }) => {
    const target = targetName(value, address);
    const text = sayText(lang, value.kind === 'next' ? 'scene.pointsNext' : 'scene.points', { label, target });
    return { pointer: name, target, text };
  }));
}

// The words as #scene tells them, each made once for a run.
const toldWords = new WeakMap();
function toldWord(run, i) {
  if (!toldWords.has(run)) toldWords.set(run, []);
  const words = toldWords.get(run);
  words[i] ??= wordText(run.data.words[i]);
  return words[i];
}

// Makes the list items of `list` say `items` ({ text, and data-* values }),
// touching only those that differ.
function writeItems(list, items) {
  while (list.children.length > items.length) list.lastElementChild.remove();
  while (list.children.length < items.length) list.append(document.createElement('li'));
  items.forEach(({ text, ...data }, index) => {
    const item = list.children[index];
    if (item.textContent !== text) item.textContent = text;
    for (const [key, value] of Object.entries(data)) {
      if (item.dataset[key] !== value) item.dataset[key] = value;
    }
    for (const key of Object.keys(item.dataset)) if (!(key in data)) delete item.dataset[key];
  });
}

// The first time a replay is opened here: which keys step through it.
export function showHint(done, listening) {
  const key = 'wordlist-hint-seen';
  let seen = true;
  try {
    seen = localStorage.getItem(key) !== null;
  } catch {
    seen = false; // no storage: the hint each time
  }
  $('hint').hidden = seen;
  $('hint-close').addEventListener('click', () => {
    $('hint').hidden = true;
    try {
      localStorage.setItem(key, '1');
    } catch {
      // Nothing kept: shown again next time.
    }
    done();
  }, listening);
}

