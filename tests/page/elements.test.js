// The page's elements, found by id: an id the page lacks fails loudly,
// and the replay page and try.html hold every id their code asks for.
import assert from 'node:assert/strict';
import { readdirSync, readFileSync } from 'node:fs';
import { test } from 'node:test';

import { PLAY_SPEEDS } from '../../graph/page/fragment.js';
import { $, PAGE_ELEMENTS, findElements } from '../../graph/page/panels.js';
import { TRY_ELEMENTS } from '../../wasm/page/try_page.js';

const read = (path) => readFileSync(new URL(`../../${path}`, import.meta.url), 'utf8');

test('an id the page lacks throws, naming it, from $ and from the check at start', () => {
  const note = { id: 'note' };
  globalThis.document = { getElementById: (id) => (id === 'note' ? note : null) };
  try {
    assert.equal($('note'), note);
    assert.throws(() => $('nope'), { message: 'the page has no element #nope' });
    assert.throws(() => findElements(['note', 'said', 'nope']), /#said$/);
    assert.doesNotThrow(() => findElements(['note']));
  } finally {
    delete globalThis.document;
  }
});

// The ids that the modules of `folder` ask $ for, each by its literal
// name: a name made at run time could not be checked here.
function idsAsked(folder) {
  const ids = new Set();
  for (const name of readdirSync(new URL(`../../${folder}`, import.meta.url)).filter((n) => n.endsWith('.js'))) {
    const text = read(`${folder}/${name}`).replace('export function $(id)', '');
    const made = text.split('\n').filter((line) => /\$\((?!')/.test(line));
    assert.deepEqual(made, [], `${name}: $ of a name made at run time`);
    for (const [, id] of text.matchAll(/\$\('([^']*)'\)/g)) ids.add(id);
  }
  return [...ids].sort();
}

const idsIn = (html) => [...html.matchAll(/ id="([^"]*)"/g)].map(([, id]) => id);

test('the replay page and try.html hold every id their code asks for, each once', () => {
  assert.deepEqual(idsAsked('graph/page'), [...PAGE_ELEMENTS].sort());
  assert.deepEqual(idsAsked('wasm/page'), [...TRY_ELEMENTS].sort());
  // try.html holds page.html's replay, from its header to its footer.
  const page = read('graph/page/page.html');
  const replay = page.slice(page.indexOf('<header>'), page.indexOf('</footer>'));
  const template = read('wasm/page/try.html');
  assert.ok(template.includes('@REPLAY@'));
  const pages = [
    ['page.html', idsIn(page), PAGE_ELEMENTS],
    // The switch of languages stands outside the replay: try.html has its own.
    ['the replay in try.html', idsIn(replay), PAGE_ELEMENTS.filter((id) => id !== 'lang')],
    ['try.html', [...idsIn(template), ...idsIn(replay)], [...TRY_ELEMENTS, ...PAGE_ELEMENTS]],
  ];
  for (const [where, held, asked] of pages) {
    assert.deepEqual(asked.filter((id) => !held.includes(id)), [], `${where} lacks them`);
    // A second element of an id would never be found.
    assert.deepEqual(held.filter((id, at) => held.indexOf(id) !== at), [], `${where} holds them twice`);
  }
});

test('Play\'s selects offer its usual speeds, and show them before the page starts', () => {
  const page = read('graph/page/page.html');
  for (const [id, usual] of [['speed', PLAY_SPEEDS.speed], ['line-speed', PLAY_SPEEDS.lineSpeed]]) {
    const options = new RegExp(`<select id="${id}"[^>]*>(.*?)</select>`).exec(page)[1];
    assert.deepEqual([...options.matchAll(/value="(\d+)" selected/g)].map(([, value]) => Number(value)), [usual], id);
  }
});
