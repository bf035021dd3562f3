// Runs whole programs on generated and real texts, alternating between
// them run by run, and reports the median wall time and the peak resident
// memory of each. Usage: e2e_bench RUNS PROGRAM... [-- NAME=TEXTFILE...]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "corpus.h"

namespace fs = std::filesystem;

namespace {

struct Sample {
  double seconds;
  long peak_kib;
};

// Runs `program` in `dir` with its output discarded.
Sample run_once(const std::string& program, const fs::path& dir) {
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
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "e2e_bench: %s failed\n", program.c_str());
    std::exit(1);
  }
  return {spent.count(), usage.ru_maxrss};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: e2e_bench RUNS PROGRAM... [-- NAME=TEXTFILE...]\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  std::vector<std::string> programs;
  std::vector<std::pair<std::string, std::string>> texts = {
      {"zipf-1000", make_zipf_text(1000, 100000, 1)},
      {"zipf-5000", make_zipf_text(5000, 100000, 2)},
      {"zipf-20000", make_zipf_text(20000, 100000, 3)},
  };
  int arg = 2;
  for (; arg < argc && std::string(argv[arg]) != "--"; ++arg) {
    programs.emplace_back(fs::absolute(argv[arg]).string());
  }
  for (++arg; arg < argc; ++arg) {
    const std::string spec = argv[arg];
    const auto equals = spec.find('=');
    texts.emplace_back(spec.substr(0, equals), read_file(spec.substr(equals + 1)));
  }
  const fs::path dir = fs::temp_directory_path() / ("wordlist-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::printf("%-12s %9s %8s", "text", "bytes", "distinct");
  for (std::size_t p = 0; p < programs.size(); ++p) {
    std::printf(" | %10s %9s", "median s", "peak KiB");
  }
  std::printf("%s\n", programs.size() > 1 ? " | first/second" : "");
  for (const auto& [name, text] : texts) {
    std::ofstream(dir / "neco.txt", std::ios::binary) << text;
    std::vector<std::vector<double>> times(programs.size());
    std::vector<long> peaks(programs.size(), 0);
    for (int run = 0; run < runs; ++run) {
      for (std::size_t p = 0; p < programs.size(); ++p) {
        const Sample sample = run_once(programs[p], dir);
        times[p].push_back(sample.seconds);
        peaks[p] = std::max(peaks[p], sample.peak_kib);
      }
    }
    // The number of distinct words is the listing's length, less its header.
    const std::string count_command = "cd '" + dir.string() + "' && '" + programs[0] + "' | wc -l";
    FILE* pipe = popen(count_command.c_str(), "r");
    long lines = 0;
    if (pipe == nullptr || std::fscanf(pipe, "%ld", &lines) != 1) {
      lines = 1;
    }
    if (pipe != nullptr) {
      pclose(pipe);
    }
    std::printf("%-12s %9zu %8ld", name.c_str(), text.size(), lines - 1);
    for (std::size_t p = 0; p < programs.size(); ++p) {
      std::printf(" | %10.4f %9ld", median(times[p]), peaks[p]);
    }
    if (programs.size() > 1) {
      std::printf(" | %.2fx", median(times[0]) / median(times[1]));
    }
    std::printf("\n");
  }
  fs::remove_all(dir);
  return 0;
}
