// The pages' two languages in Node: the tables agree with each other and
// with what the code and the HTML ask for, plurals and numbers are
// written by the language's rules, and the language is chosen as the
// reader's browser and links ask.
import assert from 'node:assert/strict';
import { readdirSync, readFileSync } from 'node:fs';
import { test } from 'node:test';

import {
  LANGUAGES, TABLES, czechZe, languageOf, linkedLanguage, numberText, say, sayText, templateOf,
} from '../../graph/page/language.js';
import { expectedTime } from '../../wasm/page/counted.js';

const read = (path) => readFileSync(new URL(`../../${path}`, import.meta.url), 'utf8');
const placesIn = (text) => [...text.matchAll(/\{([A-Za-z]+)(?:\|[a-z]+)?\}/g)].map(([, name]) => name);

// The places of a template: those of its text and of its plural forms.
function placesOf(lang, key) {
  const { text, plural } = templateOf(lang, key);
  const forms = Object.values(plural).flatMap((categories) => Object.values(categories));
  return [...new Set([text, ...forms].flatMap(placesIn))].sort();
}

test('both tables hold the same keys, each with the same places, and every plural every category', () => {
  const [cs, en] = [TABLES.cs, TABLES.en].map((table) => Object.keys(table).sort());
  assert.deepEqual(cs.filter((key) => !en.includes(key)), [], 'in Czech only');
  assert.deepEqual(en.filter((key) => !cs.includes(key)), [], 'in English only');
  for (const key of en) {
    assert.deepEqual(placesOf('cs', key), placesOf('en', key), key);
    for (const lang of LANGUAGES) {
      const { text, plural } = templateOf(lang, key);
      const categories = new Intl.PluralRules(lang).resolvedOptions().pluralCategories.sort();
      for (const [name, forms] of Object.entries(plural)) {
        assert.ok(placesIn(text).includes(name), `${lang} ${key}: {${name}} counted but not in the text`);
        assert.deepEqual(Object.keys(forms).sort(), categories, `${lang} ${key}: the forms of {${name}}`);
        for (const [category, form] of Object.entries(forms)) {
          assert.ok(placesIn(form).includes(name), `${lang} ${key}: its ${category} form has no {${name}}`);
        }
      }
    }
  }
});

test('Czech prose quotes are Czech; a C string comes from the code', () => {
  for (const key of Object.keys(TABLES.cs)) {
    const { text, plural } = templateOf('cs', key);
    const texts = [text, ...Object.values(plural).flatMap((forms) => Object.values(forms))];
    for (const written of texts) {
      assert.doesNotMatch(written, /"/, `cs ${key}`);
      // Opened with „ and closed with “, in pairs.
      assert.equal((written.match(/\u201E/g) ?? []).length, (written.match(/\u201C/g) ?? []).length, `cs ${key}`);
    }
  }
});

// The keys the pages' code and HTML ask for: every string in the code
// shaped as a key (group.name), and every data-text, data-label,
// data-title and data-placeholder of the HTML.
function keysAsked() {
  const asked = new Set();
  for (const folder of ['graph/page', 'wasm/page']) {
    for (const name of readdirSync(new URL(`../../${folder}`, import.meta.url))) {
      if (!name.endsWith('.js') || name.startsWith('texts_')) continue;
      for (const [, key] of read(`${folder}/${name}`).matchAll(/'([a-z]+(?:\.[a-zA-Z]+)+)'/g)) asked.add(key);
    }
  }
  for (const page of ['graph/page/page.html', 'wasm/page/try.html']) {
    for (const [, key] of read(page).matchAll(/ data-(?:text|label|title|placeholder)="([^"]*)"/g)) asked.add(key);
  }
  return asked;
}

test('every key the pages ask for is in the tables, and every key of the tables is asked for', () => {
  const asked = keysAsked();
  assert.deepEqual([...asked].filter((key) => !Object.hasOwn(TABLES.en, key)), [], 'asked for, not in the tables');
  // A key made at run time would be missing from what is asked for.
  assert.deepEqual(Object.keys(TABLES.en).filter((key) => !asked.has(key)), [], 'in the tables, never asked for');
});

test('the HTML carries keys, not texts: no words outside a keyed element', () => {
  for (const page of ['graph/page/page.html', 'wasm/page/try.html']) {
    // The title is the program's name until the page names what it shows.
    assert.match(read(page), /<title>wordlist<\/title>/, page);
    const body = read(page).replace(/^[\s\S]*<body>/, '')
      .replace(/<script[\s\S]*?<\/script>/g, '').replace(/<!--[\s\S]*?-->/g, '')
      // The switch, named in both languages; numbers to choose from.
      .replace(/<select id="lang"[\s\S]*?<\/select>/, '').replace(/<option[^>]*>\d+<\/option>/g, '');
    const words = body.replace(/<[^>]*>/g, ' ').replace(/&[a-z]+;|&#\d+;/g, ' ').match(/\p{L}{2,}/gu) ?? [];
    assert.deepEqual(words.filter((word) => word !== 'SAMPLE' && word !== 'REPLAY'), [], page);
  }
});

test('a count takes the form of its plural category, in both languages', () => {
  const cases = [
    // [language, key, counts 1, 2, 5 and 21]
    ['en', 'title.all', ['1 element', '2 elements', '5 elements', '21 elements']],
    ['cs', 'title.all', ['1 prvek', '2 prvky', '5 prvků', '21 prvků']],
    ['en', 'try.counted', ['Counted 1 byte.', 'Counted 2 bytes.', 'Counted 5 bytes.', 'Counted 21 bytes.']],
    ['cs', 'try.counted', ['Spočítán 1 bajt.', 'Spočítány 2 bajty.', 'Spočítáno 5 bajtů.', 'Spočítáno 21 bajtů.']],
    ['cs', 'try.counting', ['Počítá se 1 bajt\u2026', 'Počítají se 2 bajty\u2026', 'Počítá se 5 bajtů\u2026',
      'Počítá se 21 bajtů\u2026']],
    ['en', 'scene.more', ['and 1 more box', 'and 2 more boxes', 'and 5 more boxes', 'and 21 more boxes']],
    ['cs', 'scene.more', ['a 1 další rámeček', 'a 2 další rámečky', 'a 5 dalších rámečků', 'a 21 dalších rámečků']],
    ['cs', 'canvas.more', ['\u2026 a 1 další', '\u2026 a 2 další', '\u2026 a 5 dalších', '\u2026 a 21 dalších']],
    ['cs', 'note.notDrawn', [1, 2, 5, 21].map((left) => `NEXT prvku 200 vede na ${left} ${
      { 1: 'nenakreslený prvek', 2: 'nenakreslené prvky' }[left] ?? 'nenakreslených prvků'}.`)],
  ];
  const placesFor = (n) => ({ size: n, bytes: n, more: n, left: n, position: 200 });
  for (const [lang, key, expected] of cases) {
    assert.deepEqual([1, 2, 5, 21].map((n) => sayText(lang, key, placesFor(n))), expected, `${lang} ${key}`);
  }
  // Three counts in one sentence, each in its own form; a fraction is
  // Czech's "many".
  assert.equal(sayText('cs', 'totals.one', { looked: 21, additions: 2, words: 1 }),
    'prohlédnuto 21 prvků při 2 přidáních 1 různého slova');
  assert.equal(sayText('cs', 'totals.one', { looked: 3, additions: 1, words: 5 }),
    'prohlédnuty 3 prvky při 1 přidání 5 různých slov');
  assert.equal(sayText('en', 'totals.one', { looked: 1, additions: 1, words: 1 }),
    '1 element looked at for 1 addition of 1 distinct word');
  assert.equal(sayText('cs', 'try.counted', { bytes: 1.5 }), 'Spočítáno 1,5 bajtu.');
  // Every plural of both tables, at each count, names its count.
  for (const lang of LANGUAGES) {
    for (const key of Object.keys(TABLES[lang])) {
      const { plural } = templateOf(lang, key);
      if (Object.keys(plural).length === 0) continue;
      const places = Object.fromEntries(placesOf(lang, key).map((name) => [name, name]));
      for (const n of [1, 2, 5, 21]) {
        for (const name of Object.keys(plural)) places[name] = n;
        assert.match(sayText(lang, key, places), new RegExp(`\\b${n}\\b`), `${lang} ${key} ${n}`);
      }
    }
  }
});

test('numbers in running text as each language writes them; in a listing line as the program does', () => {
  const cases = [
    // [language, number, digits after the point, written]
    ['cs', 47652071, undefined, '47\u00A0652\u00A0071'],
    ['en', 47652071, undefined, '47,652,071'],
    ['cs', 1234, undefined, '1\u00A0234'],
    ['cs', 0.6, 2, '0,60'],
    ['en', 0.6, 2, '0.60'],
    ['cs', 4.05, 1, '4,1'],
    ['cs', 2n ** 40n, undefined, '1\u00A0099\u00A0511\u00A0627\u00A0776'],
  ];
  for (const [lang, value, digits, written] of cases) assert.equal(numberText(lang, value, digits), written);
  // Below a thousand, whole numbers are written without NumberFormat: as it would.
  for (const lang of LANGUAGES) {
    const format = new Intl.NumberFormat(lang);
    const differ = Array.from({ length: 1001 }, (_, n) => n).filter((n) => numberText(lang, n) !== format.format(n));
    assert.deepEqual(differ, [], lang);
    assert.equal(numberText(lang, 999n), format.format(999n));
  }
  assert.equal(sayText('cs', 'status.empty', { step: 0, total: 38523 }), 'Krok 0 ze 38\u00A0523: seznam je prázdný');
  assert.equal(sayText('en', 'status.empty', { step: 0, total: 38523 }), 'Step 0 of 38,523: the list is empty');
  assert.equal(sayText('cs', 'canvas.up', { bytes: 4096n }), '+4\u00A0096 B k dalšímu výše');
  // A word of the data stays a part of its own, escapes and all.
  assert.deepEqual(say('cs', 'details.later', { word: { word: 'a\u0001' }, step: 1234 }),
    ['Slovo „', { word: 'a\u0001' }, '“ v seznamu ještě není: vloží se v kroku 1\u00A0234.']);
  assert.throws(() => say('cs', 'details.later', { step: 1 }), /'details\.later' has no value for \{word\}/);
  assert.throws(() => say('cs', 'no.such'), /no text 'no\.such' in 'cs'/);
});

test('Czech writes "ze" before a number read from dva, tři, čtyři, šest, sedm or sto', () => {
  const ze = [2, 3, 4, 6, 7, 12, 13, 14, 16, 17, 21, 37, 47, 63, 74, 100, 147, 199, 200, 300, 700, 2000,
    38523, 100000, 147000];
  const z = [0, 1, 5, 8, 9, 10, 11, 15, 18, 19, 50, 58, 85, 99, 500, 800, 1000, 1234, 5000, 1000000, 1999999];
  assert.deepEqual(ze.filter((n) => !czechZe(n)), [], 'ze');
  assert.deepEqual(z.filter((n) => czechZe(n)), [], 'z');
  assert.equal(sayText('cs', 'line.inAddition', { at: 3, length: 37 }), 'krok 3 ze 37 v tomto přidání');
  assert.equal(sayText('cs', 'line.inAddition', { at: 3, length: 9 }), 'krok 3 z 9 v tomto přidání');
});

test('the language: the first of the reader\'s that the page speaks, else English; a link\'s lang= first', () => {
  const cases = [
    [['cs-CZ', 'en-US'], 'cs'],
    [['de-DE', 'cs'], 'cs'],
    [['en-GB', 'cs-CZ'], 'en'],
    [['CS'], 'cs'],
    [['sk-SK', 'de'], 'en'],
    [[], 'en'],
    [undefined, 'en'],
  ];
  for (const [preferred, lang] of cases) assert.equal(languageOf(preferred), lang, JSON.stringify(preferred));
  assert.equal(linkedLanguage('#step=3&lang=cs&text=abc'), 'cs');
  assert.equal(linkedLanguage('#lang=en'), 'en');
  assert.equal(linkedLanguage('#lang=de'), null);
  assert.equal(linkedLanguage('#step=3'), null);
});

test('how long a count takes, said in either language', () => {
  const cases = [
    [65000 * 30, 'about 30 s', 'asi 30 s'],
    [65000 * 600, 'about 10 min', 'asi 10 min'],
  ];
  for (const [size, en, cs] of cases) {
    const { key, places } = expectedTime(size);
    assert.deepEqual([sayText('en', key, places), sayText('cs', key, places)], [en, cs]);
  }
  assert.equal(sayText('cs', 'try.ask', { size: numberText('cs', 4.5, 1), time: expectedTime(65000 * 70) }),
    'Tento text má 4,5 MB: jeho spočítání potrvá asi 70 s a mezitím ho můžete zrušit. Spočítat ho?');
});
