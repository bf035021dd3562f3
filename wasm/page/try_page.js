// The page that counts a text of the user's, wired: the text (typed, or a
// file's or a link's bytes), the Worker that counts it, the listing and
// the replay page of both runs. A count that fails, or is cancelled,
// leaves the listing and replay of the last one that succeeded, or says
// why there is none.
import { startPage } from '../../graph/page/page.js';
import { ASK_ABOVE_BYTES, expectedTime, outcomeOf } from './counted.js';
import { decodeText, encodeText, textField } from './text_fragment.js';

export function startTry() {
  const $ = (id) => document.getElementById(id);
  const moduleBytes = Uint8Array.from(atob($('module').textContent.trim()), (char) => char.charCodeAt(0));
  const workerUrl = URL.createObjectURL(new Blob([$('worker').textContent], { type: 'text/javascript' }));
  const source = $('source').textContent;

  // `chosen`: a file's or a link's bytes, { name, bytes }, or null for
  // the typed text; `counting`: the Worker at work, or null; `shown`: the
  // replay page's controller and the link field of its text.
  let chosen = null;
  let counting = null;
  let shown = { controller: null, link: null };

  const typed = () => new TextEncoder().encode($('text').value);

  function say(text, error = false) {
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
    const dialog = $('ask');
    $('ask-text').textContent = `This text is ${(size / 1048576).toFixed(1)} MB: counting it takes ` +
      `${expectedTime(size)}, and you can cancel it meanwhile. Count it?`;
    return new Promise((resolve) => {
      dialog.addEventListener('close', () => resolve(dialog.returnValue === 'count'), { once: true });
      dialog.returnValue = '';
      dialog.showModal();
      $('ask-count').focus();
    });
  }

  // Counts `bytes` in a new Worker; `fromLink` keeps the position the
  // address asks for, else the replay starts at its end.
  async function count(bytes, fromLink = false) {
    if (counting) return;
    if (bytes.length > ASK_ABOVE_BYTES && !(await agreed(bytes.length))) return;
    const worker = new Worker(workerUrl);
    counting = worker;
    setBusy(true);
    say(`Counting ${bytes.length} bytes...`);
    worker.addEventListener('message', ({ data }) => {
      if (data.progress !== undefined) {
        $('progress').value = data.progress;
        return;
      }
      finish();
      show(outcomeOf(data.failure !== undefined ? data : data.result), bytes, fromLink);
    });
    worker.addEventListener('error', (event) => {
      event.preventDefault();
      finish();
      say(`The text could not be counted: ${event.message || 'the Worker failed'}`, true);
    });
    worker.postMessage({ module: moduleBytes, text: bytes });
  }

  function finish() {
    counting?.terminate();
    counting = null;
    setBusy(false);
  }

  function cancel() {
    if (!counting) return;
    finish();
    say('Counting cancelled: the page shows what it showed before.');
  }

  async function show({ listing, message, data }, bytes, fromLink) {
    const link = data ? await encodeText(bytes) : null;
    shown.controller?.abort();
    shown = { controller: null, link };
    $('listing').textContent = listing ?? '';
    $('copy').disabled = listing === null;
    $('copied').textContent = '';
    say(message || `Counted ${bytes.length} bytes.` +
      (data && !link ? ' The text is too long for the address to carry it.' : ''), message !== '');
    const bare = location.href.split('#')[0];
    if (!fromLink) history.replaceState(null, '', link ? `#text=${link}` : bare);
    $('replay').hidden = data === null;
    if (!data) {
      if (fromLink) history.replaceState(null, '', bare);
      return;
    }
    shown.controller = new AbortController();
    startPage(data, source, shown.controller.signal, link ? `text=${link}` : '');
  }

  function choose(name, bytes) {
    chosen = { name, bytes };
    $('text').value = new TextDecoder().decode(bytes);
    say(`${name}: ${bytes.length} bytes, counted as they are.`);
  }

  async function chooseFile(file) {
    if (!file || counting) return;
    try {
      choose(file.name, new Uint8Array(await file.arrayBuffer()));
      $('file').value = '';
    } catch (error) {
      say(`${file.name} could not be read: ${error.message}`, true);
      return;
    }
    count(chosen.bytes);
  }

  // Opens the text a link carries, when it is not the one shown.
  async function openLinkText(first) {
    const value = textField(location.hash);
    if (value === null || value === shown.link) return first ? count(typed()) : undefined;
    const bytes = await decodeText(value);
    if (bytes === null) {
      say('The address carries a text that cannot be read: it is cut short or changed.', true);
      return undefined;
    }
    choose('The link\'s text', bytes);
    return count(bytes, true);
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

  $('count').addEventListener('click', () => count(chosen ? chosen.bytes : typed()));
  $('cancel').addEventListener('click', cancel);
  $('copy').addEventListener('click', copyListing);
  $('text').addEventListener('input', () => {
    chosen = null;
  });
  $('file').addEventListener('change', () => chooseFile($('file').files[0]));
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    chooseFile(event.dataTransfer?.files[0]);
  });
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Escape' && counting) cancel();
  });
  $('ask-count').addEventListener('click', () => $('ask').close('count'));
  $('ask-keep').addEventListener('click', () => $('ask').close('keep'));
  window.addEventListener('hashchange', () => openLinkText(false));
  openLinkText(true);
}
