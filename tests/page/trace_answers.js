// What a trace of wordlist-trace says each addition did, as the questions
// of Your turn ask it: for the Node and the browser tests, which hold the
// page's right answers to it rather than to its own model.

// For each addition of a trace (its lines, each byte one character): the
// questions it asks, in order, as [kind, truth], the truth written as
// #ask's data-truth writes it (an address, 'absent', 'head' or 'null'),
// and the list it found, its addresses in list order.
export function answersOfTrace(trace) {
  const list = [];
  const front = trace[0].endsWith(' front');
  const additions = [];
  for (const line of trace.slice(1)) {
    const counted = /^counted (\S+) /.exec(line);
    const inserted = /^inserted (\S+) (?:at head|after (\S+)) WORD: /.exec(line);
    const before = [...list];
    if (line.startsWith('not counted ')) additions.push({ questions: [], list: before });
    if (counted) additions.push({ questions: [['found', counted[1]]], list: before });
    if (!inserted) continue;
    const [, address, after] = inserted;
    const at = after === undefined ? 0 : list.indexOf(after) + 1;
    additions.push({
      questions: [['found', 'absent'], ...(front ? [] : [['place', after ?? 'head']]),
        ['next', list[at] ?? 'null'], ['slot', after ?? 'head']],
      list: before,
    });
    list.splice(at, 0, address);
  }
  return additions;
}
