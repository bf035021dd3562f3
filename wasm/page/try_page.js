// The page that counts a text of the user's, wired: the text (typed, or a
// file's or a link's bytes), the Worker that counts it, the listing and
// the replay page of both runs. A count that fails, or is cancelled,
// leaves the listing and replay of the last one that succeeded, or says
// why there is none.
import { startPage } from '../../graph/page/page.js';
import { $, PAGE_ELEMENTS, findElements } from '../../graph/page/panels.js';
import { ASK_ABOVE_BYTES, expectedTime, outcomeOf } from './counted.js';
import { decodeText, encodeText, textField } from './text_fragment.js';

// The page's own state: the module's bytes, the Worker's script and the
// list's source, set once by startTry; `chosen`, a file's or a link's
// bytes ({ name, bytes }), or null for the typed text; `counting`, the
// Worker at work, or null; `controller` and `link`, the replay page's
// AbortController and the link field of its text.
const trying = {
  moduleBytes: null, workerUrl: '', source: '', chosen: null, counting: null, controller: null, link: null,
};

const typed = () => new TextEncoder().encode($('text').value);

function tell(text, error = false) {
  $('message').textContent = text;
  $('message').classList.toggle('error', error);
}

function setBusy(busy) {
  $('count').disabled = busy;
  $('progress').hidden = !busy;
  $('cancel').hidden = !busy;
  $('progress').value = 0;
}

// Asks, in the page, whether to count a large text; resolves to the answer.
function agreed(size) {
  const dialog = $('confirm');
  $('confirm-text').textContent = `This text is ${(size / 1048576).toFixed(1)} MB: counting it takes ` +
    `${expectedTime(size)}, and you can cancel it meanwhile. Count it?`;
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => resolve(dialog.returnValue === 'count'), { once: true });
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
  tell(`Counting ${bytes.length} bytes...`);
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
    tell(`The text could not be counted: ${event.message || 'the Worker failed'}`, true);
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
  tell('Counting cancelled: the page shows what it showed before.');
}

// Shows a count's outcome: the listing, what went wrong, and the replay.
async function showCounted({ listing, message, data }, bytes, fromLink) {
  const link = data ? await encodeText(bytes) : null;
  trying.controller?.abort();
  Object.assign(trying, { controller: null, link });
  $('listing').textContent = listing ?? '';
  $('copy').disabled = listing === null;
  $('copied').textContent = '';
  tell(message || `Counted ${bytes.length} bytes.` +
    (data && !link ? ' The text is too long for the address to carry it.' : ''), message !== '');
  const bare = location.href.split('#')[0];
  // Your turn stays on for the new text, which starts with no answers.
  const ask = new URLSearchParams(location.hash.slice(1)).get('ask') === '1' ? 'ask=1' : '';
  const fields = [ask, link ? `text=${link}` : ''].filter(Boolean).join('&');
  if (!fromLink) history.replaceState(null, '', fields ? `#${fields}` : bare);
  $('replay').hidden = data === null;
  if (!data) {
    if (fromLink) history.replaceState(null, '', bare);
    return;
  }
  trying.controller = new AbortController();
  startPage(data, trying.source, trying.controller.signal, link ? `text=${link}` : '');
}

function choose(name, bytes) {
  trying.chosen = { name, bytes };
  $('text').value = new TextDecoder().decode(bytes);
  tell(`${name}: ${bytes.length} bytes, counted as they are.`);
}

async function chooseFile(file) {
  if (!file || trying.counting) return;
  try {
    choose(file.name, new Uint8Array(await file.arrayBuffer()));
    $('file').value = '';
  } catch (error) {
    tell(`${file.name} could not be read: ${error.message}`, true);
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
    tell('The address carries a text that cannot be read: it is cut short or changed.', true);
    return undefined;
  }
  choose('The link\'s text', bytes);
  return countBytes(bytes, true);
}

async function copyListing() {
  try {
    await navigator.clipboard.writeText($('listing').textContent);
    $('copied').textContent = 'Copied.';
  } catch {
    const range = document.createRange();
    range.selectNodeContents($('listing'));
    getSelection().removeAllRanges();
    getSelection().addRange(range);
    $('copied').textContent = 'Selected: press Ctrl+C to copy it.';
  }
}

// The elements of try.html's own that its code asks for by id: found at
// start with the replay's, which startPage asks for only once a text is
// counted.
export const TRY_ELEMENTS = [
  'cancel', 'confirm', 'confirm-count', 'confirm-keep', 'confirm-text', 'copied', 'copy', 'count', 'file', 'listing',
  'message', 'module', 'progress', 'replay', 'source', 'text', 'worker',
];

// Reads the page's module, Worker and source, wires its controls, and
// counts the link's text or the one in the text box.
export function startTry() {
  findElements([...TRY_ELEMENTS, ...PAGE_ELEMENTS]);
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
  window.addEventListener('hashchange', () => openLinkText(false));
  openLinkText(true);
}
