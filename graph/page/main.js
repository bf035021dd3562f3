// The page of wordlist-graph --html: its data and the list's source are in
// the page itself.
import { startPage } from './page.js';

startPage(JSON.parse(document.getElementById('listing').textContent),
  document.getElementById('source').textContent);
