// The languages the page speaks, Czech and English: which one a reader
// gets, and a text of its table, filled in.
//
// A table (texts_cs.js, texts_en.js) holds a template by key: a string
// with named places, `{name}`, or { text, plural }, where `plural` holds,
// for each place of `text` that is a count, its words in each of the
// language's plural categories (Intl.PluralRules), the count written in
// them as `{name}` again. A place filled with a number is written as the
// language writes numbers; with a list of parts, takes them in; with
// anything else (a word of the data, { word }, or an element of the
// page), stands as that part; with another text's key and places
// ({ key, places }), takes that text in. `{name|z}` writes Czech's "z"
// or "ze" before the number, as the number is read.
import { TEXTS_CS } from './texts_cs.js';
import { TEXTS_EN } from './texts_en.js';
import { wordText } from './words.js';

export const TABLES = { cs: TEXTS_CS, en: TEXTS_EN };
export const LANGUAGES = Object.keys(TABLES);

// The first of the reader's languages (navigator.languages, as tags like
// 'cs-CZ') that the page speaks; English when none is.
export function languageOf(preferred = []) {
  for (const tag of preferred) {
    const primary = String(tag).toLowerCase().split(/[-_]/)[0];
    if (Object.hasOwn(TABLES, primary)) return primary;
  }
  return 'en';
}

// The language a link asks for with `lang=`, or null.
export function linkedLanguage(hash) {
  const asked = new URLSearchParams(hash.replace(/^#/, '')).get('lang');
  return asked !== null && Object.hasOwn(TABLES, asked) ? asked : null;
}

// A language's rules, `kind` 'plural' or 'number' (with `digits` after
// the point, or as many as it takes), each made once when first asked
// for: they depend on the language alone.
const rulesMade = new Map();
function rules(lang, kind, digits = undefined) {
  const key = `${lang} ${kind} ${digits}`;
  if (!rulesMade.has(key)) {
    rulesMade.set(key, kind === 'plural' ? new Intl.PluralRules(lang) : new Intl.NumberFormat(lang,
      digits === undefined ? {} : { minimumFractionDigits: digits, maximumFractionDigits: digits }));
  }
  return rulesMade.get(key);
}

// A number as `lang` writes it in running text (47 652 071, 47,652,071);
// with `digits`, with that many after the decimal point. A whole number
// below a thousand is its digits in each language the page speaks (a
// test holds this to Intl.NumberFormat): the page's usual numbers need
// no NumberFormat, whose making costs a page tens of milliseconds.
export function numberText(lang, value, digits = undefined) {
  const small = typeof value === 'bigint' ? value >= 0n && value < 1000n
    : Number.isInteger(value) && value >= 0 && value < 1000;
  if (digits === undefined && small) return String(value);
  return rules(lang, 'number', digits).format(value);
}

// Whether Czech writes "ze" before the number `n` rather than "z": before
// the numbers read from dva, tři, čtyři, šest, sedm and sto (ze 2, ze 12,
// ze 147, ze 2 000), not the others (z 5, z 9, z 1 000).
export function czechZe(n) {
  const ze = (digit) => [2, 3, 4, 6, 7].includes(digit);
  let group = Math.trunc(Math.abs(Number(n)));
  let thousands = false;
  while (group >= 1000) {
    group = Math.floor(group / 1000);
    thousands = true;
  }
  if (thousands && group === 1) return false; // tisíc, milion, miliarda
  if (group >= 100) return group < 200 || ze(Math.floor(group / 100));
  if (group >= 20) return ze(Math.floor(group / 10));
  return ze(group % 10); // the teens too: dvanáct, třináct, ..., sedmnáct
}

const FILTERS = { z: (lang, n) => `${czechZe(n) ? 'ze' : 'z'} ${numberText(lang, n)}` };

const PLACE = /\{([A-Za-z]+)(?:\|([a-z]+))?\}/g;

// The template of `key` in `lang`, as { text, plural }.
export function templateOf(lang, key) {
  const template = TABLES[lang]?.[key];
  if (template === undefined) throw new Error(`no text '${key}' in '${lang}'`);
  return typeof template === 'string' ? { text: template, plural: {} } : template;
}

// The text of `key` in `lang`, its places filled from `places`: a list of
// parts, strings and what the places held that is not text.
export function say(lang, key, places = {}) {
  const { text, plural } = templateOf(lang, key);
  return joined(filled(lang, key, text, places, plural));
}

// A text to be said later, in the language of the moment: its key and
// its places.
export const told = (key, places = {}) => ({ key, places });

// A text told by its key and places ({ key, places }), in `lang`.
export const sayTold = (lang, { key, places }) => say(lang, key, places);

// The text of `key` as one string, a word of the data as the page shows
// it, escapes and all.
export function sayText(lang, key, places = {}) {
  return say(lang, key, places).map((part) => (typeof part === 'string' ? part : wordText(part.word)))
    .join('');
}

function filled(lang, key, text, places, plural) {
  const parts = [];
  let at = 0;
  for (const match of text.matchAll(PLACE)) {
    const [whole, name, filter] = match;
    parts.push(text.slice(at, match.index));
    at = match.index + whole.length;
    if (!Object.hasOwn(places, name)) throw new Error(`'${key}' has no value for {${name}}`);
    const value = places[name];
    if (plural?.[name]) {
      const form = plural[name][rules(lang, 'plural').select(Number(value))];
      parts.push(...filled(lang, key, form, places, null));
    } else if (filter) {
      parts.push(FILTERS[filter](lang, value));
    } else if (typeof value === 'number' || typeof value === 'bigint') {
      parts.push(numberText(lang, value));
    } else if (Array.isArray(value)) {
      parts.push(...value);
    } else if (isTold(value)) {
      parts.push(...sayTold(lang, value));
    } else {
      parts.push(value);
    }
  }
  parts.push(text.slice(at));
  return parts;
}

const isTold = (value) => value !== null && typeof value === 'object' && Object.hasOwn(value, 'key') &&
  Object.hasOwn(value, 'places');

// Parts with strings next to each other joined, and none empty.
function joined(parts) {
  const out = [];
  for (const part of parts) {
    if (part === '') continue;
    if (typeof part === 'string' && typeof out.at(-1) === 'string') out[out.length - 1] += part;
    else out.push(part);
  }
  return out;
}
