// The cost of a replay: elements looked at per addition (bars), the
// running total of each run of the page (lines, on the larger's scale),
// and how far the run has gone.
const RUN_COLOURS = ['#1F5FBF', '#C2185B'];
const BAR = '#F6C59A';
const MARK = '#B00020';

// The most elements any addition up to `upTo` looked at, per column of a
// plot `width` columns wide.
export function plotMaxima(replay, width, upTo = replay.total) {
  const maxima = new Float64Array(width);
  for (let k = 1; k <= upTo; k += 1) {
    const x = Math.min(width - 1, Math.floor(((k - 1) / replay.total) * width));
    maxima[x] = Math.max(maxima[x], replay.first[k] + replay.second[k]);
  }
  return maxima;
}

// Draws run `shown` of `runs` (each with its replay) with `pen` on a plot
// `width` by `height`, marked at `progress` additions (a line step inside
// one lies between it and the one before); `maxima` are the shown run's
// plotMaxima. The running totals go as far as addition `upTo`: while a
// question is open, the additions from its own on are not drawn.
export function drawPlot(pen, {
  runs, shown, progress, width, height, maxima, upTo = Infinity,
}) {
  pen.clearRect(0, 0, width, height);
  const { total } = runs[shown].replay;
  if (total === 0) return;
  const highest = Math.max(1, ...maxima);
  pen.fillStyle = BAR;
  maxima.forEach((value, x) => {
    const bar = (value / highest) * (height - 2);
    pen.fillRect(x, height - bar, 1, bar);
  });
  const most = Math.max(...runs.map(({ replay }) => replay.cumulative[replay.total]), 1);
  runs.forEach(({ replay }, index) => {
    pen.strokeStyle = RUN_COLOURS[index];
    pen.lineWidth = index === shown ? 2 : 1.2;
    pen.beginPath();
    for (let x = 0; x < width; x += 1) {
      const k = Math.min(replay.total, Math.round(((x + 1) / width) * replay.total));
      if (k > upTo) break;
      const y = height - 1 - (replay.cumulative[k] / most) * (height - 2);
      if (x === 0) pen.moveTo(x, y);
      else pen.lineTo(x, y);
    }
    pen.stroke();
  });
  pen.lineWidth = 1;
  pen.fillStyle = MARK;
  pen.fillRect((progress / total) * (width - 1) - 1, 0, 2, height);
}
