// The Worker that counts a text with the WebAssembly module, so that the
// page answers meanwhile. It is sent { module, text } (both bytes) and
// answers { progress } (0 to 1) as it counts, then { result }, as
// countText resolves to, or { failure } with the reason. The page stops
// it by terminating it.
import { compileModule, countText } from '../module_loader.js';

async function count({ module, text }) {
  try {
    const compiled = await compileModule(module);
    const result = await countText(compiled, text, {
      onProgress: (share) => self.postMessage({ progress: share }),
    });
    const transfer = ['listing', 'sorted', 'front', 'data']
      .filter((name) => result[name] !== undefined).map((name) => result[name].buffer);
    self.postMessage({ result }, transfer);
  } catch (error) {
    self.postMessage({ failure: error?.message ?? String(error) });
  }
}

self.addEventListener('message', (event) => count(event.data));
