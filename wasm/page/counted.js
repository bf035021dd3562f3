// What the page makes of a count: the size above which it asks first,
// how long it expects, and what a result from the Worker shows. What it
// says is a text's key and places ({ key, places }), said in the
// language the page is in when it is shown.
import { told } from '../../graph/page/language.js';

// Texts above this many bytes are counted only once the user agrees.
export const ASK_ABOVE_BYTES = 4 * 1024 * 1024;
// Bytes of English counted a second (all three runs and the replay's
// data): Genesis, 197 kB, takes about 3 s in Chromium on two cores. A
// longer text's list is longer too, so this is a lower bound.
const BYTES_PER_SECOND = 65000;

// Roughly how long counting `size` bytes takes, as a text to say.
export function expectedTime(size) {
  const seconds = Math.max(1, Math.round(size / BYTES_PER_SECOND));
  return seconds < 90 ? { key: 'try.seconds', places: { seconds } }
    : { key: 'try.minutes', places: { minutes: Math.round(seconds / 60) } };
}

// What a result shows: { listing, message, data }: the listing as text
// (null for none), what went wrong (null when nothing), and the replay
// page's data (null when there is none to show). `result` is what the
// Worker answered: { failure } when it could not count, else what
// countText resolves to.
export function outcomeOf(result) {
  if (result.failure !== undefined) {
    return { listing: null, message: told('try.failed', { why: result.failure }), data: null };
  }
  const decode = (bytes) => new TextDecoder().decode(bytes);
  const said = (result.err ?? '').trim();
  const listing = decode(result.listing ?? new Uint8Array());
  if (result.status === 0 && result.data !== undefined) {
    try {
      return { listing, message: null, data: JSON.parse(decode(result.data)) };
    } catch (error) {
      return { listing, message: told('try.notShown', { why: error.message }), data: null };
    }
  }
  // What the programs wrote is theirs, said as they said it; the page
  // says the rest.
  const status = told('try.status', { status: result.status });
  if (result.sorted === undefined) {
    // The listing's own run failed: what it wrote says what it lost.
    const why = said ? told('try.said', { why: said }) : result.status === 1 ? told('try.noMemory') : status;
    if (listing === '') return { listing: null, message: told('try.nothing', { why }), data: null };
    return { listing, message: why, data: null };
  }
  return { listing, message: told('try.notMade', { why: said ? told('try.said', { why: said }) : status }), data: null };
}
