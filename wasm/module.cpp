// The WebAssembly module: wordlist's run and wordlist-trace's on a text
// that the host puts in the module's memory, and the data of the page
// that wordlist-graph --html makes of the two traces. A WASI reactor: the
// host calls _initialize once, then the functions below; the module
// writes through WASI's fd_write only, to descriptor 1 (the listing, the
// trace, the page data: byte for byte what the programs write) and 2 (one
// line per failure, as the programs write it).
//
// Pointers and sizes are 32-bit offsets and counts in the module's
// exported memory. One instance makes one run, or one page's data: the
// next gets a fresh instance, so that the same text gives the same
// addresses every time.
//
//   wordlist_alloc(size) -> pointer
//       Room for `size` bytes (and a terminating zero the module writes),
//       for the text or a trace; 0 when memory runs out (for the text:
//       the run ends as wordlist's does, with status 1 and nothing
//       written). The module releases it when it is done with it.
//   wordlist_start(text, size, run) -> length
//       Begins a run on the `size` bytes at `text`: run 0 as wordlist
//       makes it, 1 as wordlist-trace (list_add_sorted), 2 as
//       wordlist-trace --front. Writes a trace's first line and adds the
//       four fixed words. Returns the length of the text that will be
//       counted (up to its first zero byte); -1 for a run that cannot be
//       started (no text, an unknown run, a run already started).
//   wordlist_count(bytes) -> counted
//       Counts the words of at least `bytes` more bytes of the text (on to
//       the end of the word there); returns how many of its bytes have
//       been counted, `length` when all. The host calls it in chunks to
//       show progress and to be able to stop between them: to cancel, it
//       stops calling and drops the instance.
//   wordlist_finish() -> status
//       Counts what is left, writes the listing and releases the list and
//       the text. The status as the programs': 0; 2 when the output could
//       not be written; 3 when occurrences could not be counted (out of
//       memory or a count at its limit), said on descriptor 2 in the
//       programs' words.
//   wordlist_page_data(sorted, sorted_size, front, front_size) -> status
//       Checks the two traces (of list_add_sorted's run and of
//       list_add_front's, on one text) as wordlist-graph does, with the
//       same code, by replaying them, and writes the page's data, one
//       JSON object, on descriptor 1. Releases both. Status 0; 1 out of
//       memory (a trace the host could not place, or too large to
//       replay); 2 a trace that does not replay, or two traces that are
//       not the two runs of one text (the reason on descriptor 2, in
//       wordlist-graph's words, the traces named "sorted trace" and
//       "front trace"; nothing on 1).
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "html_writer.h"
#include "input_checks.h"
#include "program_status.h"
#include "run_steps.h"
#include "trace_reader.h"
#include "tracer.h"
#include "word_count.h"
#include "word_list.h"

#define WORDLIST_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace {

enum Run : std::int32_t { kListed = 0, kSorted = 1, kFront = 2 };

// The page's data is wordlist-graph's work, and its faults are reported
// in that program's name.
constexpr const char* kGraphProgram = "wordlist-graph";

// The one run of this instance.
struct Counting {
  char* text;
  std::size_t length;  // up to the first zero byte
  std::size_t counted;
  WordNode* head;
  Tracer tracer;
  bool traced;
  bool started;
  std::size_t dropped;
  const char* program;
};

Counting counting{};

// The C library's own buffer would cost a call to the host every kilobyte.
void buffer_output() {
  static char buffer[1U << 16U];
  static bool buffered = false;
  if (!buffered) {
    (void)std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    buffered = true;
  }
}

std::size_t add_words(char* words) {
  return add_text_words(&counting.head, words, counting.traced ? add_traced : nullptr,
                        counting.traced ? &counting.tracer : nullptr);
}

}  // namespace

WORDLIST_EXPORT(wordlist_alloc) char* wordlist_alloc(std::size_t size) {
  return size == SIZE_MAX ? nullptr : new (std::nothrow) char[size + 1];
}

WORDLIST_EXPORT(wordlist_start)
std::int32_t wordlist_start(char* text, std::size_t size, std::int32_t run) {
  if (text == nullptr || counting.started || run < kListed || run > kFront) {
    return -1;
  }
  buffer_output();
  text[size] = '\0';
  counting.text = text;
  counting.length = std::strlen(text);
  counting.traced = run != kListed;
  counting.started = true;
  counting.program = counting.traced ? "wordlist-trace" : "wordlist";
  errno = 0;  // for finish_output: what a failed write leaves
  if (counting.traced) {
    counting.tracer = tracer_make(counting.length, run == kFront);
    (void)std::fputs(run == kFront ? "wordlist-trace 1 front\n" : "wordlist-trace 1\n", stdout);
  }
  counting.dropped = add_fixed_words(&counting.head, counting.traced ? add_traced : nullptr,
                                     counting.traced ? &counting.tracer : nullptr);
  return static_cast<std::int32_t>(counting.length);
}

WORDLIST_EXPORT(wordlist_count) std::size_t wordlist_count(std::size_t bytes) {
  if (counting.text == nullptr || counting.counted >= counting.length) {
    return counting.length;
  }
  const std::size_t rest = counting.length - counting.counted;
  char* words = counting.text + counting.counted;
  std::size_t end = bytes < rest ? bytes : rest;
  end += std::strcspn(words + end, kWordDelimiters);
  if (end < rest) {
    words[end] = '\0';  // a delimiter: splitting would end the word there too
    ++end;
  }
  counting.dropped += add_words(words);
  counting.counted += end;
  return counting.counted;
}

WORDLIST_EXPORT(wordlist_finish) std::int32_t wordlist_finish() {
  if (counting.text == nullptr) {
    return kExitTrouble;
  }
  while (wordlist_count(counting.length) < counting.length) {
  }
  const int status = finish_run(counting.program, &counting.head, counting.dropped);
  delete[] counting.text;
  counting.text = nullptr;
  if (counting.traced) {
    tracer_release(&counting.tracer);
  }
  return status;
}

WORDLIST_EXPORT(wordlist_page_data)
std::int32_t wordlist_page_data(const char* sorted, std::size_t sorted_size, const char* front,
                                std::size_t front_size) {
  buffer_output();
  const NamedInput inputs[] = {{"sorted trace", sorted, sorted_size},
                               {"front trace", front, front_size}};
  ParsedTrace traces[2] = {};
  int status = kExitNoMemory;
  if (sorted == nullptr || front == nullptr) {
    report(kGraphProgram, inputs[sorted == nullptr ? 0 : 1].name, "out of memory");
  } else {
    status = read_two_runs(kGraphProgram, inputs, traces);
  }
  if (status == kExitSuccess) {
    errno = 0;
    html_write_runs_data(stdout, traces[0], traces[1], GraphView::kList);
    status = finish_output(kGraphProgram);
  }
  trace_release(&traces[0]);
  trace_release(&traces[1]);
  delete[] sorted;
  delete[] front;
  return status;
}
