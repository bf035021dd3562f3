// A text in the address's fragment, so that a link brings its text:
// #text= and the text's bytes compressed (raw deflate) in base64url,
// beside the page's own fields (view, step, line, ...).

// The largest text a link carries, in bytes, and its field at most.
export const LINK_TEXT_BYTES = 8192;
const LINK_FIELD_CHARS = 8000;

function toBase64Url(bytes) {
  let binary = '';
  for (const byte of bytes) binary += String.fromCharCode(byte);
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

// The bytes of a base64url value, or null when it is not one.
function fromBase64Url(value) {
  if (!/^[A-Za-z0-9_-]*$/.test(value) || value.length % 4 === 1) return null;
  const binary = atob(value.replace(/-/g, '+').replace(/_/g, '/'));
  return Uint8Array.from(binary, (char) => char.charCodeAt(0));
}

// All that `stream` (a transform) makes of `bytes`. Read chunk by chunk:
// a Response reading a stream that fails (corrupt data) has Firefox
// report an uncaught error besides the rejection that says so.
async function through(stream, bytes) {
  const writer = stream.writable.getWriter();
  const written = writer.write(bytes).then(() => writer.close());
  const reader = stream.readable.getReader();
  const read = async () => {
    const chunks = [];
    for (let chunk = await reader.read(); !chunk.done; chunk = await reader.read()) chunks.push(chunk.value);
    return chunks;
  };
  const [chunks] = await Promise.all([read(), written]);
  const result = new Uint8Array(chunks.reduce((sum, chunk) => sum + chunk.length, 0));
  let at = 0;
  for (const chunk of chunks) {
    result.set(chunk, at);
    at += chunk.length;
  }
  return result;
}

// The fragment field's value for `bytes`, or null when the text is too
// long for a link.
export async function encodeText(bytes) {
  if (bytes.length > LINK_TEXT_BYTES) return null;
  const value = toBase64Url(await through(new CompressionStream('deflate-raw'), bytes));
  return value.length <= LINK_FIELD_CHARS ? value : null;
}

// The bytes of a field's value, or null when it is not one that
// encodeText makes (not base64url, not raw deflate, or too long).
export async function decodeText(value) {
  if (value.length > LINK_FIELD_CHARS) return null;
  const packed = fromBase64Url(value);
  if (packed === null) return null;
  try {
    const bytes = await through(new DecompressionStream('deflate-raw'), packed);
    return bytes.length <= LINK_TEXT_BYTES ? bytes : null;
  } catch {
    return null;
  }
}

// The text field of `hash`, or null.
export function textField(hash) {
  return new URLSearchParams(hash.replace(/^#/, '')).get('text');
}
