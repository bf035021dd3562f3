// Every text Your turn writes, in English: templates with named places,
// as {word}, filled by askText. A template that counts something has a
// form for each plural category Intl.PluralRules names, chosen by its
// place {count}. A word of the data goes into its place as { word }, for
// the page to show its escapes.
import { pieces } from './words.js';

export const ASK_LOCALE = 'en';

export const ASK_TEXTS = {
  toggle: 'Your turn (y)',
  turnedOn: 'Your turn: stepping forward with ], . or Space stops before each decisive line and asks what it will do.',
  turnedOff: 'Your turn is off: the stepper runs every line again without asking.',
  idle: 'Step forward with ] or . to the next question.',
  answerAbsent: 'Not in the list (n)',
  answerHead: 'The head (h)',
  answerNull: 'NULL (n)',

  questionFound: 'Before line {line} runs: is "{word}" in the list? Click the element that holds it, or select it ' +
    'and press Enter; press n if it is not in the list.',
  questionPlace: 'Before line {line} runs: "{word}" is not in the list, so where does it go? Click the element it ' +
    'goes after, or select it and press Enter; press h if it goes at the head.',
  questionNext: 'Before line {line} runs: what will the new element\'s NEXT point at? Click that element, or ' +
    'select it and press Enter; press n for NULL.',
  questionSlot: 'Before line {line} runs: which pointer will point at the new element? Click the element whose ' +
    'NEXT it is, or select it and press Enter; press h for the head.',

  right: 'Right.',
  wrongElement: 'Not so: you answered "{word}", at {address}.',
  wrongNextOf: 'Not so: you answered the NEXT of "{word}", at {address}.',
  wrongAbsent: 'Not so: you answered that it is not in the list.',
  wrongHead: 'Not so: you answered the head.',
  wrongNull: 'Not so: you answered NULL.',

  foundAt: '"{word}" is in the list: find_equal compares it with each element from the head, and element ' +
    '{position}, at {address}, holds it, so its count goes up by one.',
  foundAbsent: {
    one: 'find_equal compares "{word}" with the only element of the list, and it is not equal: the word is ' +
      'not in the list, so a new element is made for it.',
    other: 'find_equal compares "{word}" with all {count} elements of the list, and none is equal: the word is ' +
      'not in the list, so a new element is made for it.',
  },
  foundEmpty: '"{word}" is not in the list: the list is empty, so find_equal has nothing to compare, and a new ' +
    'element is made for it.',
  placeAfter: '"{word}" goes after "{after}": list_find_predecessor walks past every word that sorts before it, ' +
    'and in byte order "{after}" < "{word}" < "{next}".',
  placeEnd: '"{word}" goes after "{after}", at the end: every word of the list sorts before it in byte order, ' +
    '"{after}" last.',
  placeHead: '"{word}" goes at the head: in byte order it sorts before "{next}", the first word of the list.',
  placeEmpty: '"{word}" goes at the head: the list is empty.',
  reasonCapitals: 'In byte order capitals come before small letters, so "{less}" < "{more}".',
  reasonPrefix: 'A word comes before the longer words that begin with it, so "{less}" < "{more}".',
  reasonBytes: 'A letter outside ASCII is bytes above 127 in UTF-8, after every ASCII character, so "{less}" < ' +
    '"{more}".',
  nextHead: 'NEXT takes what *slot held: slot is &head, and the head held the address of the first element, ' +
    '"{next}", {address}.',
  nextHeadNull: 'NEXT takes what *slot held: slot is &head, and the head held NULL, for the list is empty.',
  nextAfter: 'NEXT takes what *slot held: slot is the NEXT of "{after}", which held the address of "{next}", ' +
    '{address}.',
  nextAfterNull: 'NEXT takes what *slot held: slot is the NEXT of "{after}", the last element, which held NULL.',
  slotHead: 'slot is &head, for "{word}" goes at the head: *slot = node makes the head point at the new element.',
  slotFront: 'slot is &head, for list_add_front links every new element at the head: *slot = node makes the ' +
    'head point at it.',
  slotAfter: 'slot is &{address}->next, the NEXT of "{after}", for "{word}" goes after it: *slot = node makes ' +
    'that NEXT point at the new element.',

  status: 'Step {step} of {total}: "{word}"; line {line} is about to run, and it is your turn.',
  statusNamed: '{run}: Step {step} of {total}: "{word}"; line {line} is about to run, and it is your turn.',
  notInsertedYet: '"{word}" is not in the list yet.',
  hiddenValue: '?',
  wait: 'Answer the question first; then ] runs line {line}.',
  findWaits: 'Answer the question first: Find would tell.',
  selectFirst: 'Select an element first, with Home, End, \u2190 and \u2192, or click one.',
  noHead: 'The head does not answer this question: choose an element, or press n.',
  noNull: 'n does not answer this question: choose an element, or press h for the head.',
  score: 'Score: right {right} of {asked}.',
  scoreAddition: 'Score: right {right} of {asked}. This addition: right {additionRight} of {additionAsked}.',
  markTruth: 'right answer',
  markGiven: 'your answer',
  nullTarget: 'NULL',
  pointedHead: 'the head',
  pointedNull: 'NULL',
};

const plurals = new Intl.PluralRules(ASK_LOCALE);

// The text `key` with its places filled from `places`: a list of parts,
// strings and { word }. A key or a place the table lacks is the page's
// own mistake, and throws.
export function askText(key, places = {}) {
  const entry = ASK_TEXTS[key];
  if (entry === undefined) throw new Error(`Your turn has no text ${key}`);
  const template = typeof entry === 'string' ? entry : entry[plurals.select(places.count)] ?? entry.other;
  const parts = [];
  let at = 0;
  for (const match of template.matchAll(/\{(\w+)\}/g)) {
    if (!(match[1] in places)) throw new Error(`the text ${key} has no value for {${match[1]}}`);
    const value = places[match[1]];
    parts.push(template.slice(at, match.index), typeof value === 'object' ? value : String(value));
    at = match.index + match[0].length;
  }
  parts.push(template.slice(at));
  return parts.filter((part) => part !== '');
}

// The same as one string, each word with its escapes as the page writes
// them.
export const askString = (key, places) => askText(key, places).map((part) => (typeof part === 'string' ? part
  : pieces(part.word).map((piece) => piece.text).join(''))).join('');
