// The page that counts a text of the user's, wired: the text (typed, or a
// file's or a link's bytes), the Worker that counts it, the listing and
// the replay page of both runs. A count that fails, or is cancelled,
// leaves the listing and replay of the last one that succeeded, or says
// why there is none.
import { showTexts } from '../../graph/page/labels.js';
import {
  languageOf, linkedLanguage, numberText, sayText, told,
} from '../../graph/page/language.js';
import { startPage } from '../../graph/page/page.js';
import { $, PAGE_ELEMENTS, findElements } from '../../graph/page/panels.js';
import { ASK_ABOVE_BYTES, expectedTime, outcomeOf } from './counted.js';
import { decodeText, encodeText, textField } from './text_fragment.js';

// The page's own state: the module's bytes, the Worker's script and the
// list's source, set once by startTry; `chosen`, a file's or a link's
// bytes ({ name, bytes }), or null for the typed text; `counting`, the
// Worker at work, or null; `controller` and `link`, the replay page's
// AbortController and the link field of its text; `lang`, the language
// the page speaks, and `langKept`, whether the reader chose it (see
// page.js); `told`, `copied` and `asked`, what #message, #copied and the
// dialog say, each a text's key and places (or null), so that they are
// said again in the other language.
const trying = {
  moduleBytes: null, workerUrl: '', source: '', chosen: null, counting: null, controller: null, link: null,
  lang: 'en', langKept: false, told: null, copied: null, asked: null,
};

const typed = () => new TextEncoder().encode($('text').value);

// Says `text` (a text's key and places, or null for nothing) in #message,
// as an error or not.
function tell(text, error = false) {
  trying.told = text && { ...text, error };
  showTold();
}

// What the page's own messages say, in its language.
function showTold() {
  const { lang } = trying;
  $('message').textContent = trying.told ? sayText(lang, trying.told.key, trying.told.places) : '';
  $('message').classList.toggle('error', trying.told?.error ?? false);
  $('copied').textContent = trying.copied ? sayText(lang, trying.copied.key, trying.copied.places) : '';
  if (trying.asked) $('confirm-text').textContent = sayText(lang, trying.asked.key, trying.asked.places);
}

// Speaks `lang`: the fixed texts, the messages and, while no text's replay
// is shown (whose page names its run), the title. The replay page, on
// the same switch, says its own.
function speak(lang, kept) {
  Object.assign(trying, { lang, langKept: kept });
  showTexts(document, lang);
  if ($('lang').value !== lang) $('lang').value = lang;
  if (!trying.controller) document.title = sayText(lang, 'try.title');
  showTold();
}

// The address without a text's replay: the language, where the reader
// chose it.
const bareAddress = () => location.href.split('#')[0] + (trying.langKept ? `#lang=${trying.lang}` : '');

function setBusy(busy) {
  $('count').disabled = busy;
  $('progress').hidden = !busy;
  $('cancel').hidden = !busy;
  $('progress').value = 0;
}

// Asks, in the page, whether to count a large text; resolves to the answer.
function agreed(size) {
  const dialog = $('confirm');
  trying.asked = told('try.ask', { size: numberText(trying.lang, size / 1048576, 1), time: expectedTime(size) });
  showTold();
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => {
      trying.asked = null;
      resolve(dialog.returnValue === 'count');
    }, { once: true });
    dialog.returnValue = '';
    dialog.showModal();
    $('confirm-count').focus();
  });
}

// Counts `bytes` in a new Worker; `fromLink` keeps the position the
// address asks for, else the replay starts at its end.
async function countBytes(bytes, fromLink = false) {
  if (trying.counting) return;
  if (bytes.length > ASK_ABOVE_BYTES && !(await agreed(bytes.length))) return;
  const worker = new Worker(trying.workerUrl);
  trying.counting = worker;
  setBusy(true);
  tell(told('try.counting', { bytes: bytes.length }));
  worker.addEventListener('message', ({ data }) => {
    if (data.progress !== undefined) {
      $('progress').value = data.progress;
      return;
    }
    stopCounting();
    showCounted(outcomeOf(data.failure !== undefined ? data : data.result), bytes, fromLink);
  });
  worker.addEventListener('error', (event) => {
    event.preventDefault();
    stopCounting();
    tell(told('try.failed', { why: event.message || told('try.workerFailed') }), true);
  });
  worker.postMessage({ module: trying.moduleBytes, text: bytes });
}

function stopCounting() {
  trying.counting?.terminate();
  trying.counting = null;
  setBusy(false);
}

function cancelCounting() {
  if (!trying.counting) return;
  stopCounting();
  tell(told('try.cancelled'));
}

// Shows a count's outcome: the listing, what went wrong, and the replay.
async function showCounted({ listing, message, data }, bytes, fromLink) {
  const link = data ? await encodeText(bytes) : null;
  trying.controller?.abort();
  Object.assign(trying, { controller: null, link });
  $('listing').textContent = listing ?? '';
  $('copy').disabled = listing === null;
  trying.copied = null;
  tell(message ?? told(data && !link ? 'try.countedLong' : 'try.counted', { bytes: bytes.length }), message !== null);
  // Your turn stays on for the new text, which starts with no answers.
  const ask = new URLSearchParams(location.hash.slice(1)).get('ask') === '1';
  const bare = bareAddress();
  const kept = ask ? `${bare.includes('#') ? '&' : '#'}ask=1` : '';
  if (!fromLink) history.replaceState(null, '', link ? `#${ask ? 'ask=1&' : ''}text=${link}` : `${bare}${kept}`);
  $('replay').hidden = data === null;
  if (!data) {
    if (fromLink) history.replaceState(null, '', bareAddress());
    document.title = sayText(trying.lang, 'try.title');
    return;
  }
  trying.controller = new AbortController();
  startPage(data, trying.source, trying.controller.signal, link ? `text=${link}` : '',
    { lang: trying.lang, kept: trying.langKept });
}

function choose(name, bytes) {
  trying.chosen = { name, bytes };
  $('text').value = new TextDecoder().decode(bytes);
  tell(told('try.chosen', { name, bytes: bytes.length }));
}

async function chooseFile(file) {
  if (!file || trying.counting) return;
  try {
    choose(file.name, new Uint8Array(await file.arrayBuffer()));
    $('file').value = '';
  } catch (error) {
    tell(told('try.unreadable', { name: file.name, why: error.message }), true);
    return;
  }
  countBytes(trying.chosen.bytes);
}

// Opens the text a link carries, when it is not the one shown.
async function openLinkText(first) {
  const value = textField(location.hash);
  if (value === null || value === trying.link) return first ? countBytes(typed()) : undefined;
  const bytes = await decodeText(value);
  if (bytes === null) {
    tell(told('try.badLink'), true);
    return undefined;
  }
  choose(told('try.linkName'), bytes);
  return countBytes(bytes, true);
}

async function copyListing() {
  try {
    await navigator.clipboard.writeText($('listing').textContent);
    trying.copied = told('try.copied');
  } catch {
    const range = document.createRange();
    range.selectNodeContents($('listing'));
    getSelection().removeAllRanges();
    getSelection().addRange(range);
    trying.copied = told('try.selected');
  }
  showTold();
}

// The elements of try.html's own that its code asks for by id: found at
// start with the replay's, which startPage asks for only once a text is
// counted.
export const TRY_ELEMENTS = [
  'cancel', 'confirm', 'confirm-count', 'confirm-keep', 'confirm-text', 'copied', 'copy', 'count', 'file', 'lang',
  'listing',
  'message', 'module', 'progress', 'replay', 'source', 'text', 'worker',
];

// Reads the page's module, Worker and source, wires its controls, and
// counts the link's text or the one in the text box, in the language the
// link names, or else the reader's browser's.
export function startTry() {
  findElements([...TRY_ELEMENTS, ...PAGE_ELEMENTS]);
  const linked = linkedLanguage(location.hash);
  speak(linked ?? languageOf(navigator.languages), linked !== null);
  $('lang').addEventListener('change', () => speak(languageOf([$('lang').value]), true));
  trying.moduleBytes = Uint8Array.from(atob($('module').textContent.trim()), (char) => char.charCodeAt(0));
  trying.workerUrl = URL.createObjectURL(new Blob([$('worker').textContent], { type: 'text/javascript' }));
  trying.source = $('source').textContent;
  $('count').addEventListener('click', () => countBytes(trying.chosen ? trying.chosen.bytes : typed()));
  $('cancel').addEventListener('click', cancelCounting);
  $('copy').addEventListener('click', copyListing);
  $('text').addEventListener('input', () => { trying.chosen = null; });
  $('file').addEventListener('change', () => chooseFile($('file').files[0]));
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    chooseFile(event.dataTransfer?.files[0]);
  });
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Escape' && trying.counting) cancelCounting();
  });
  $('confirm-count').addEventListener('click', () => $('confirm').close('count'));
  $('confirm-keep').addEventListener('click', () => $('confirm').close('keep'));
  window.addEventListener('hashchange', () => {
    const asked = linkedLanguage(location.hash);
    if (asked) speak(asked, true);
    openLinkText(false);
  });
  openLinkText(true);
}
