// The page that counts a text of the user's with the WebAssembly module.
import { startTry } from './try_page.js';

startTry();
