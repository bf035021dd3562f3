// The pages' fixed texts, written from the keys their HTML carries, in
// the language shown: data-text, the element's text (its children marked
// data-place, such as a key's <kbd> or a field, stand at the template's
// places of those names); data-label, data-title and data-placeholder,
// its aria-label, title and placeholder. The HTML holds keys, not texts,
// so that both languages are written the same way, at start and on a
// switch.
import { say, sayText } from './language.js';

const ATTRIBUTES = [['label', 'aria-label'], ['title', 'title'], ['placeholder', 'placeholder']];

// Writes every keyed text under `root` in `lang`, and makes the document
// say that it is in `lang`, for a screen reader's voice and a browser's
// hyphenation and spelling.
export function showTexts(root, lang) {
  for (const element of root.querySelectorAll('[data-text]')) writeText(element, lang);
  for (const [name, attribute] of ATTRIBUTES) {
    for (const element of root.querySelectorAll(`[data-${name}]`)) {
      const text = sayText(lang, element.dataset[name]);
      if (element.getAttribute(attribute) !== text) element.setAttribute(attribute, text);
    }
  }
  if (document.documentElement.lang !== lang) document.documentElement.lang = lang;
}

// An element's text from its key, its place children kept where the
// template puts them; touched only where it differs, so that a field
// inside keeps its focus when nothing moves.
function writeText(element, lang) {
  const places = {};
  for (const child of element.children) {
    if (child.dataset.place) places[child.dataset.place] = child;
  }
  const parts = say(lang, element.dataset.text, places);
  const nodes = element.childNodes;
  const same = parts.length === nodes.length && parts.every((part, at) => (typeof part === 'string'
    ? nodes[at].nodeType === Node.TEXT_NODE && nodes[at].data === part : nodes[at] === part));
  if (!same) element.replaceChildren(...parts);
}
