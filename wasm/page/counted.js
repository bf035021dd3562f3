// What the page makes of a count: the size above which it asks first,
// how long it expects, and what a result from the Worker shows.

// Texts above this many bytes are counted only once the user agrees.
export const ASK_ABOVE_BYTES = 4 * 1024 * 1024;
// Bytes of English counted a second (all three runs and the replay's
// data): Genesis, 197 kB, takes about 3 s in Chromium on two cores. A
// longer text's list is longer too, so this is a lower bound.
const BYTES_PER_SECOND = 65000;

// Roughly how long counting `size` bytes takes, in words.
export function expectedTime(size) {
  const seconds = Math.max(1, Math.round(size / BYTES_PER_SECOND));
  return seconds < 90 ? `about ${seconds} s` : `about ${Math.round(seconds / 60)} min`;
}

// What a result shows: { listing, message, data }: the listing as text
// (null for none), what went wrong (empty when nothing), and the replay
// page's data (null when there is none to show). `result` is what the
// Worker answered: { failure } when it could not count, else what
// countText resolves to.
export function outcomeOf(result) {
  if (result.failure !== undefined) {
    return { listing: null, message: `The text could not be counted: ${result.failure}`, data: null };
  }
  const decode = (bytes) => new TextDecoder().decode(bytes);
  const said = (result.err ?? '').trim();
  const listing = decode(result.listing ?? new Uint8Array());
  if (result.status === 0 && result.data !== undefined) {
    try {
      return { listing, message: '', data: JSON.parse(decode(result.data)) };
    } catch (error) {
      return { listing, message: `The replay could not be shown: ${error.message}`, data: null };
    }
  }
  if (result.sorted === undefined) {
    // The listing's own run failed: what it wrote says what it lost.
    const why = said || (result.status === 1 ? 'the text does not fit in memory' : `status ${result.status}`);
    if (listing === '') return { listing: null, message: `Nothing was counted: ${why}.`, data: null };
    return { listing, message: why, data: null };
  }
  return { listing, message: `The replay could not be made: ${said || `status ${result.status}`}`, data: null };
}
