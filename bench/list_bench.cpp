// Cost per element visited of list_add_sorted, beside the bare walk that
// only follows the links and touches each word's first byte: the least any
// walk of this list can cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "corpus.h"
#include "word_list.h"

namespace {

using Clock = std::chrono::steady_clock;

// A sorted list of `words` whose elements were allocated in the order the
// words were drawn, element then word, as a real run allocates them.
WordNode* build_list(const std::vector<std::string>& words) {
  std::vector<WordNode*> nodes;
  for (const auto& word : words) {
    auto* node = new WordNode{new char[word.size() + 1], 1, nullptr};
    std::memcpy(node->word, word.c_str(), word.size() + 1);
    nodes.push_back(node);
  }
  std::sort(nodes.begin(), nodes.end(),
            [](const WordNode* a, const WordNode* b) { return std::strcmp(a->word, b->word) < 0; });
  for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
    nodes[i]->next = nodes[i + 1];
  }
  return nodes.front();
}

unsigned bare_walk(const WordNode* node) {
  unsigned sum = 0;
  for (; node != nullptr; node = node->next) {
    sum += static_cast<unsigned char>(node->word[0]);
  }
  return sum;
}

// Nanoseconds per element of the bare walk over the whole list, the best
// of several walks.
double bare_ns_per_visit(const WordNode* head, std::size_t length) {
  double best = 1e30;
  for (int round = 0; round < 20; ++round) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(bare_walk(head));
    const std::chrono::duration<double, std::nano> spent = Clock::now() - start;
    best = std::min(best, spent.count() / static_cast<double>(length));
  }
  return best;
}

void report(benchmark::State& state, double nanoseconds, double visits, double bare) {
  state.counters["ns_per_visit"] = nanoseconds / visits;
  state.counters["bare_ns"] = bare;
  state.counters["x_bare"] = nanoseconds / visits / bare;
}

// A repeated word found at a random position: one walk up to it.
void BM_AddRepeat(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const auto words = make_vocabulary(n, 7);
  WordNode* head = build_list(words);
  auto sorted = words;
  std::sort(sorted.begin(), sorted.end());
  std::mt19937_64 random(11);
  std::vector<const char*> queries;
  double visits_per_round = 0;
  for (int i = 0; i < 1024; ++i) {
    const std::string& word = words[random() % n];
    queries.push_back(word.c_str());
    visits_per_round += static_cast<double>(std::lower_bound(sorted.begin(), sorted.end(), word) -
                                            sorted.begin() + 1);
  }
  const double bare = bare_ns_per_visit(head, n);
  double rounds = 0;
  const auto start = Clock::now();
  for (auto _ : state) {
    for (const char* word : queries) {
      benchmark::DoNotOptimize(list_add_sorted(&head, word));
    }
    rounds += 1;
  }
  const std::chrono::duration<double, std::nano> spent = Clock::now() - start;
  report(state, spent.count(), rounds * visits_per_round, bare);
  state.SetItemsProcessed(static_cast<std::int64_t>(rounds) * 1024);
  list_free(&head);
}

// Removes the elements holding `words` from the list.
void remove_words(WordNode** head, const std::vector<std::string>& words) {
  for (WordNode** slot = head; *slot != nullptr;) {
    WordNode* node = *slot;
    if (std::find(words.begin(), words.end(), node->word) == words.end()) {
      slot = &node->next;
      continue;
    }
    *slot = node->next;
    delete[] node->word;
    delete node;
  }
}

// New words: a full walk for equality, then a walk to the place. Each
// batch of new words is removed again, untimed, so the list keeps its size.
void BM_AddNew(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  auto words = make_vocabulary(n + 64, 7);
  const std::vector<std::string> fresh(words.begin() + static_cast<std::ptrdiff_t>(n), words.end());
  words.resize(n);
  WordNode* head = build_list(words);
  // Elements visited by one batch: the whole list for equality, and the
  // walk to the place, which stops at the first word not smaller.
  auto sorted = words;
  std::sort(sorted.begin(), sorted.end());
  double visits_per_batch = 0;
  for (const auto& word : fresh) {
    const auto place = std::lower_bound(sorted.begin(), sorted.end(), word);
    const auto before = static_cast<double>(place - sorted.begin());
    visits_per_batch += static_cast<double>(sorted.size()) +
                        std::min(before + 1, static_cast<double>(sorted.size()));
    sorted.insert(place, word);
  }
  const double bare = bare_ns_per_visit(head, n);
  double batches = 0;
  double spent = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    for (const auto& word : fresh) {
      benchmark::DoNotOptimize(list_add_sorted(&head, word.c_str()));
    }
    spent += std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    batches += 1;
    state.PauseTiming();
    remove_words(&head, fresh);
    state.ResumeTiming();
  }
  report(state, spent, batches * visits_per_batch, bare);
  state.SetItemsProcessed(static_cast<std::int64_t>(batches) * 64);
  list_free(&head);
}

// The bare walk alone, for the table.
void BM_BareWalk(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  WordNode* head = build_list(make_vocabulary(n, 7));
  const auto start = Clock::now();
  for (auto _ : state) {
    benchmark::DoNotOptimize(bare_walk(head));
  }
  const std::chrono::duration<double, std::nano> spent = Clock::now() - start;
  state.counters["ns_per_visit"] =
      spent.count() / static_cast<double>(state.iterations()) / static_cast<double>(n);
  list_free(&head);
}

void sizes(benchmark::internal::Benchmark* bench) {
  for (const int n : {1000, 5000, 20000, 50000}) {
    bench->Arg(n);
  }
}

BENCHMARK(BM_AddRepeat)->Apply(sizes)->MinTime(0.5);
BENCHMARK(BM_AddNew)->Apply(sizes)->MinTime(0.5);
BENCHMARK(BM_BareWalk)->Apply(sizes)->MinTime(0.5);

}  // namespace

BENCHMARK_MAIN();
