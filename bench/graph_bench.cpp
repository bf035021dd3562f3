// What wordlist-graph spends on a long listing: reading and checking it,
// and writing its graph with the default limit and with every element.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "corpus.h"
#include "dot_writer.h"
#include "listing_reader.h"

namespace {

// A listing of `size` distinct words as a 64-bit build prints it, the
// elements scattered over the heap as a real run scatters them.
std::string make_listing(std::size_t size) {
  std::vector<std::string> words = make_vocabulary(size, size);
  std::sort(words.begin(), words.end());
  std::vector<unsigned long long> addresses(size);
  std::iota(addresses.begin(), addresses.end(), 0);
  std::shuffle(addresses.begin(), addresses.end(), std::mt19937_64(size));
  for (auto& address : addresses) {
    address = 0x555555550000ULL + address * 64;
  }
  char line[256];
  std::snprintf(line, sizeof line, "Seznam - adresa prvniho prvku: %016llX\n", addresses[0]);
  std::string text = line;
  for (std::size_t i = 0; i < size; ++i) {
    std::snprintf(line, sizeof line, "%3zu ADR: %016llX NEXT: %016llX COUNT: %3zu WORD: %s\n",
                  i + 1, addresses[i], i + 1 < size ? addresses[i + 1] : 0, i % 7 + 1,
                  words[i].c_str());
    text += line;
  }
  return text;
}

const std::string& listing_text() {
  static const std::string text = make_listing(50000);
  return text;
}

void BM_ReadListing(benchmark::State& state) {
  const std::string& text = listing_text();
  for (auto _ : state) {
    ParsedListing listing{};
    ListingError error{};
    if (listing_read(text.data(), text.size(), &listing, &error) != ReadResult::kRead) {
      state.SkipWithError("the listing was not read");
      break;
    }
    benchmark::DoNotOptimize(listing.elements);
    listing_release(&listing);
  }
  state.SetItemsProcessed(state.iterations() * 50000);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadListing)->Unit(benchmark::kMillisecond);

// Writes the graph of the listing with a limit of state.range(0) elements.
void BM_WriteGraph(benchmark::State& state) {
  const std::string& text = listing_text();
  ParsedListing listing{};
  ListingError error{};
  listing_read(text.data(), text.size(), &listing, &error);
  std::FILE* sink = std::fopen("/dev/null", "w");
  for (auto _ : state) {
    dot_write(sink, listing, GraphView::kMemory, static_cast<std::size_t>(state.range(0)));
  }
  std::fclose(sink);
  listing_release(&listing);
}
BENCHMARK(BM_WriteGraph)->Arg(200)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
