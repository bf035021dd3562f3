// The build's join of the page's modules into one script: it must refuse
// what one shared scope would silently get wrong. Needs cmake; skipped,
// saying so, without it.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import {
  appendFileSync, cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync,
} from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';

const root = fileURLToPath(new URL('../../', import.meta.url));
const hasCmake = !spawnSync('cmake', ['--version']).error;

// Joins a copy of the page's modules, changed by `change(folder)`;
// returns cmake's status and what it said.
function joined(change) {
  const folder = mkdtempSync(join(tmpdir(), 'wordlist-join-'));
  try {
    cpSync(join(root, 'graph/page'), join(folder, 'page'), { recursive: true });
    change(join(folder, 'page'));
    const result = spawnSync('cmake', [`-DPAGE_DIR=${join(folder, 'page')}`,
      `-DLIST_SOURCE=${join(root, 'src/word_list.cpp')}`, `-DOUTPUT=${join(folder, 'page.cpp')}`,
      '-P', join(root, 'cmake/embed_page.cmake')], { encoding: 'utf8' });
    return { status: result.status, said: result.stderr };
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

test('the join refuses a name declared twice, a module not in its list, and a cycle', { skip: !hasCmake && 'cmake is not installed' }, () => {
  const cases = [
    ['as they are', () => {}, null],
    ['a function declared again',
      (page) => appendFileSync(join(page, 'plot.js'), '\nfunction pieces() {}\n'),
      /plot\.js and words\.js both declare pieces|words\.js and plot\.js both declare pieces/],
    ['an import of a module not listed', (page) => {
      writeFileSync(join(page, 'extra.js'), 'export const extra = 1;\n');
      const file = join(page, 'plot.js');
      writeFileSync(file, `import { extra } from './extra.js';\n${readFileSync(file, 'utf8')}`);
    }, /plot\.js: imports .*extra\.js, which is not\s+among/],
    ['modules that import each other', (page) => {
      const file = join(page, 'words.js');
      writeFileSync(file, `import { openRun } from './run.js';\n${readFileSync(file, 'utf8')}`);
    }, /in a cycle/],
    ['an import that renames', (page) => {
      const file = join(page, 'plot.js');
      writeFileSync(file, `import { pieces as parts } from './words.js';\n${readFileSync(file, 'utf8')}`);
    }, /renames/],
  ];
  for (const [what, change, refusal] of cases) {
    const { status, said } = joined(change);
    if (refusal) {
      assert.notEqual(status, 0, what);
      assert.match(said, refusal, what);
    } else {
      assert.equal(status, 0, `${what}: ${said}`);
    }
  }
});
