// Lints the page's script as the browser runs it, and the scripts that
// drive the browser for the tests and the benchmark as Node runs them.
import js from '@eslint/js';
import globals from 'globals';

export default [
  { ignores: ['build/', 'node_modules/'] },
  js.configs.recommended,
  {
    rules: {
      eqeqeq: 'error',
      'no-var': 'error',
      'prefer-const': 'error',
      'no-unused-vars': ['error', { args: 'after-used' }],
      'no-implicit-coercion': 'error',
      'no-shadow': 'error',
      curly: ['error', 'multi-line'],
    },
  },
  {
    // The page's modules: joined into one script at build time, and
    // imported one by one by their tests in Node.
    files: ['graph/page/**/*.js'],
    languageOptions: { sourceType: 'module', globals: globals.browser },
    rules: { 'no-restricted-properties': ['error',
      { property: 'innerHTML', message: 'Words are data: build text nodes instead.' },
      { property: 'outerHTML', message: 'Words are data: build text nodes instead.' },
      { property: 'insertAdjacentHTML', message: 'Words are data: build text nodes instead.' }] },
  },
  {
    // The WebAssembly module's loader, for a page, a Worker and Node alike.
    files: ['wasm/**/*.js'],
    languageOptions: { sourceType: 'module', globals: globals.worker },
  },
  {
    // try.html's own modules: joined with the page's at build time.
    files: ['wasm/page/**/*.js'],
    ignores: ['wasm/page/count_worker.js'],
    languageOptions: { sourceType: 'module', globals: globals.browser },
  },
  {
    // Node scripts, whose callbacks to page.evaluate run in the browser.
    files: ['tests/**/*.js', 'bench/**/*.js', 'eslint.config.js'],
    languageOptions: { sourceType: 'module', globals: { ...globals.node, ...globals.browser } },
  },
];
