// The page's state in the address's fragment, so that a copied link
// shows the same: #view=memory&select=17&zoom=0.5&step=120&line=3, and
// on a page of two runs the run shown (&run=front); Play's speeds where
// they are not the usual (&speed=600&line-speed=20); the language where
// the reader chose it (&lang=cs); and Your turn, where it is on (&ask=1).
// Elements are named by their final position, 1-based.
import { LANGUAGES } from './language.js';
import { freeLength, planLength } from './run.js';
import { MAX_SCALE, MIN_SCALE, START } from './view.js';

// Play's speeds, unless a link says otherwise: additions a second, and
// line steps a second.
export const PLAY_SPEEDS = { speed: 60, lineSpeed: 2 };

export function writeFragment({
  view, selected, scale, step, line, free, speed = PLAY_SPEEDS.speed, lineSpeed = PLAY_SPEEDS.lineSpeed,
  lang = '', langKept = false, ask = false,
}, replay, run = '') {
  const parts = [`view=${view}`];
  if (run) parts.push(`run=${run}`);
  if (selected >= 0) parts.push(`select=${selected + 1}`);
  if (scale !== 1) parts.push(`zoom=${Number(scale.toPrecision(3))}`);
  if (replay) parts.push(`step=${step}`);
  if (line > 0) parts.push(`line=${line}`);
  if (free > 0) parts.push(`free=${free}`);
  if (replay && speed !== PLAY_SPEEDS.speed) parts.push(`speed=${speed}`);
  if (replay && lineSpeed !== PLAY_SPEEDS.lineSpeed) parts.push(`line-speed=${lineSpeed}`);
  if (replay && ask) parts.push('ask=1');
  if (langKept) parts.push(`lang=${lang}`);
  return `#${parts.join('&')}`;
}

// What `hash` asks for, each field checked against `limits`: `size`
// elements; `scales` [least, most]; `runs`, the names of a page's runs;
// `languages`, the languages it speaks;
// for a replay `total` additions, `lines(k)` line steps in addition k,
// `freeLines` in list_free, and the speeds Play offers, `speeds` in
// additions and `lineSpeeds` in lines a second. Absent or unusable fields
// are left out (for a replay: the last step, no line).
export function readFragment(hash, limits) {
  const fields = new URLSearchParams(hash.replace(/^#/, ''));

  const whole = (name) => {
    const value = Number(fields.get(name));
    return fields.has(name) && Number.isInteger(value) ? value : null;
  };
  const read = {};
  const run = (limits.runs ?? []).indexOf(fields.get('run'));
  if (run >= 0) read.run = run;
  const lang = fields.get('lang');
  if ((limits.languages ?? []).includes(lang)) read.lang = lang;
  const view = fields.get('view');
  if (view === 'list' || view === 'memory') read.view = view;
  const position = whole('select');
  read.selected = position !== null && position >= 1 && position <= limits.size ? position - 1 : -1;
  const scale = Number(fields.get('zoom'));
  if (fields.has('zoom') && scale >= limits.scales[0] && scale <= limits.scales[1]) read.scale = scale;
  if (limits.total !== undefined) {
    const step = whole('step');
    read.step = step === null ? limits.total : Math.max(0, Math.min(limits.total, step));
    const free = whole('free');
    const line = whole('line');
    read.free = free !== null && free >= 1 && read.step === limits.total
      ? Math.min(free, limits.freeLines) : 0;
    const lines = read.free === 0 && line !== null && line >= 1 ? limits.lines(read.step) : 0;
    read.line = lines > 0 ? Math.min(line, lines) : 0;
  }
  for (const [name, field, offered] of [['speed', 'speed', limits.speeds],
    ['lineSpeed', 'line-speed', limits.lineSpeeds]]) {
    const speed = whole(field);
    if (offered?.includes(speed)) read[name] = speed;
  }
  if (limits.total !== undefined && fields.get('ask') === '1') read.ask = true;
  return read;
}

// What opening the link `hash` changes in `state`, on a page of `runs`
// (`replayed` when they are traces) whose Play offers `speeds` and
// `lineSpeeds`: view, run, position, selection and zoom. A link without a
// zoom is at 1, from the picture's corner, whatever the view was before
// it, so that a link followed on the page shows what it shows opened; one
// without a language leaves the language shown; and one keeps what was
// answered only where Your turn was on already.
export function linkedChange(hash, {
  runs, state, replayed, speeds, lineSpeeds,
}) {
  const scales = [MIN_SCALE, MAX_SCALE];
  const asked = readFragment(hash, {
    size: runs[state.run].size, scales, runs: runs.map((r) => r.name), languages: LANGUAGES,
  });
  const target = runs[asked.run ?? state.run];
  const read = readFragment(hash, {
    size: target.size, scales, total: target.replay?.total,
    lines: (k) => planLength(target, k), freeLines: replayed ? freeLength(target) : 0, speeds, lineSpeeds,
  });
  const change = {
    run: asked.run ?? state.run, selected: read.selected, note: null, answer: null, question: null,
    scale: read.scale ?? 1, ...START,
  };
  if (read.view) change.view = read.view;
  if (asked.lang) Object.assign(change, { lang: asked.lang, langKept: true });
  if (replayed) {
    Object.assign(change, {
      step: read.step, line: read.line, free: read.free,
      speed: read.speed ?? PLAY_SPEEDS.speed, lineSpeed: read.lineSpeed ?? PLAY_SPEEDS.lineSpeed,
      ask: read.ask === true, answers: read.ask && state.ask ? state.answers : new Map(),
    });
  }
  return change;
}
