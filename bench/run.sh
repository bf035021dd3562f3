#!/usr/bin/env bash
# Builds the benchmarks and runs them all: wordlist-graph reading and
# drawing a listing of 50,000 elements; the list walk against the bare
# walk, for this build and for the baseline with one library string
# comparison per element visited; start-up on the bundled sample, against
# the dynamically linked build and a static empty program; then the whole
# program against the baseline and the dynamically linked build on
# generated texts and, where Debian's bible-kjv is installed, on Genesis
# and on Genesis to Deuteronomy.
#   bench/run.sh [RUNS]   (RUNS: end-to-end runs per program and text, default 11)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-11}

cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
dir=build/bench/bench

echo "== wordlist-graph on a listing of 50,000 elements"
"$dir/graph_bench" 2>/dev/null

for variant in list_bench list_bench_strcmp; do
  echo "== $variant"
  "$dir/$variant" --benchmark_counters_tabular=true 2>/dev/null
done

texts=()
if command -v bible >/dev/null; then
  bible gen1:1-gen50:26 >build/bench/genesis.txt
  bible gen1:1-deu34:12 >build/bench/pentateuch.txt
  texts=(genesis=build/bench/genesis.txt pentateuch=build/bench/pentateuch.txt)
fi
echo "== start-up on the bundled sample: this build (static), linked dynamically, a static empty program"
"$dir/e2e_bench" --named-only "$((runs * 30))" build/bench/texts build/bench/wordlist \
  "$dir/wordlist_dynamic" "$dir/startup_floor" -- sample=neco.txt
echo "== whole program: this build, the baseline, this build linked dynamically (ratio: time / this build's)"
"$dir/e2e_bench" "$runs" build/bench/texts build/bench/wordlist "$dir/wordlist_strcmp" \
  "$dir/wordlist_dynamic" -- "${texts[@]}"
if command -v node >/dev/null && command -v bible >/dev/null; then
  echo "== the WebAssembly module in Node against this build, on Genesis (ratio: module / native)"
  cmake --preset wasm >/dev/null
  cmake --build --preset wasm >/dev/null
  node bench/wasm_bench.js build/wasm/wordlist.wasm build/bench "$runs"
fi
