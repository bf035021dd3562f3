// Runs whole programs on generated and real texts, alternating between
// them run by run, and reports the median wall time of each, its peak
// resident memory (measured once, under GNU time, so that the figure is
// the program's own and not this process's) and its time relative to the
// first program's.
//   e2e_bench [--named-only] RUNS WORKDIR PROGRAM... [-- NAME=TEXTFILE...]
// Each text is left in WORKDIR/NAME/neco.txt for profiling by hand. Last,
// the first program builds lists of 5,000 to 40,000 distinct words, to
// show how the cost grows. With --named-only, only the named texts are
// run: for measuring start-up on a small text.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "corpus.h"

namespace fs = std::filesystem;

namespace {

// Runs `program` in `dir` with its output discarded; returns the seconds
// it took.
double run_once(const std::string& program, const fs::path& dir) {
  std::fflush(nullptr);  // or the child would write this process's buffers again
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(dir.c_str()) != 0 || freopen("/dev/null", "w", stdout) == nullptr) {
      _exit(127);
    }
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "e2e_bench: %s failed\n", program.c_str());
    std::exit(1);
  }
  return spent.count();
}

// Shell output of `command` as a number, or -1.
long shell_number(const std::string& command) {
  std::fflush(nullptr);
  FILE* pipe = popen(command.c_str(), "r");
  long value = -1;
  if (pipe != nullptr) {
    if (std::fscanf(pipe, "%ld", &value) != 1) {
      value = -1;
    }
    pclose(pipe);
  }
  return value;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// How the cost of building the list grows with the number of distinct
// words: texts of distinct words only, one run each.
void print_growth(const std::string& program, const fs::path& work) {
  std::printf("\n%-8s %9s %9s\n", "distinct", "seconds", "ratio");
  double previous = 0;
  for (const std::size_t count : {5000, 10000, 20000, 40000}) {
    const fs::path dir = work / ("distinct-" + std::to_string(count));
    fs::create_directories(dir);
    std::ofstream(dir / "neco.txt", std::ios::binary) << make_distinct_text(count, count);
    const double seconds = run_once(program, dir);
    std::printf("%-8zu %9.3f", count, seconds);
    if (previous > 0) {
      std::printf(" %8.1fx", seconds / previous);
    }
    std::printf("\n");
    previous = seconds;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool named_only = argc > 1 && std::string(argv[1]) == "--named-only";
  if (named_only) {
    --argc;
    ++argv;
  }
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: e2e_bench [--named-only] RUNS WORKDIR PROGRAM... [-- NAME=TEXTFILE...]\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  const fs::path work = fs::absolute(argv[2]);
  std::vector<std::string> programs;
  int arg = 3;
  for (; arg < argc && std::string(argv[arg]) != "--"; ++arg) {
    programs.emplace_back(fs::absolute(argv[arg]).string());
  }
  // Lay out every text first, so that this process is small when it runs
  // the programs.
  std::vector<std::string> names;
  const std::pair<const char*, std::size_t> zipf[] = {
      {"zipf-1000", 1000}, {"zipf-5000", 5000}, {"zipf-20000", 20000}};
  for (const auto& [name, vocabulary] : zipf) {
    if (named_only) {
      break;
    }
    fs::create_directories(work / name);
    std::ofstream(work / name / "neco.txt", std::ios::binary)
        << make_zipf_text(vocabulary, 100000, vocabulary);
    names.emplace_back(name);
  }
  for (++arg; arg < argc; ++arg) {
    const std::string named = argv[arg];
    const auto equals = named.find('=');
    names.push_back(named.substr(0, equals));
    fs::create_directories(work / names.back());
    fs::copy_file(named.substr(equals + 1), work / names.back() / "neco.txt",
                  fs::copy_options::overwrite_existing);
  }

  std::printf("%-11s %7s %8s", "text", "KiB", "distinct");
  for (std::size_t p = 0; p < programs.size(); ++p) {
    std::printf(" | %9s %8s %6s", "median ms", "peak KiB", "ratio");
  }
  std::printf("\n");
  for (const auto& name : names) {
    const fs::path dir = work / name;
    std::vector<std::vector<double>> times(programs.size());
    for (int run = 0; run < runs; ++run) {
      for (std::size_t p = 0; p < programs.size(); ++p) {
        times[p].push_back(run_once(programs[p], dir));
      }
    }
    const std::string cd = "cd '" + dir.string() + "' && ";
    // The listing has one line per distinct word and a header.
    const long distinct = shell_number(cd + "'" + programs[0] + "' | wc -l") - 1;
    std::printf("%-11s %7ju %8ld", name.c_str(),
                static_cast<std::uintmax_t>(fs::file_size(dir / "neco.txt") / 1024), distinct);
    for (std::size_t p = 0; p < programs.size(); ++p) {
      const long peak = shell_number(cd + "/usr/bin/time -f %M '" + programs[p] +
                                     "' 2>&1 >/dev/null | tail -n 1");
      std::printf(" | %9.3f %8ld %5.2fx", 1000 * median(times[p]), peak,
                  median(times[p]) / median(times[0]));
    }
    std::printf("\n");
  }
  if (!named_only) {
    print_growth(programs[0], work);
  }
  return 0;
}
