// Differential fuzz target: any bytes as the file's content, counted by the
// program's own path and by a plain model, must give the same listing. A
// second list built by adding at the front must count the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "list_test_util.h"
#include "model.h"
#include "word_count.h"
#include "word_list.h"

namespace {

void require(bool condition, const char* what) {
  if (!condition) {
    (void)std::fprintf(stderr, "divergence: %s\n", what);
    std::abort();
  }
}

// Checks the list the program built against the model of the same text.
void check_sorted(const WordNode* head, const std::string& text) {
  require(contents(head) == model_listing(text), "words or counts differ from the model");
  long total = 0;
  for (const WordNode* node = head; node != nullptr; node = node->next) {
    require(node->count >= 1, "count below 1");
    require(node->next == nullptr || std::strcmp(node->word, node->next->word) < 0,
            "not strictly ascending");
    total += node->count;
  }
  require(total == static_cast<long>(model_words(text).size() + fixed_words().size()),
          "total count is not the number of words");
}

// Counts the same words with list_add_front: order aside, the counts must
// agree with the model.
void check_front(const std::string& text) {
  WordNode* head = nullptr;
  for (const auto& word : fixed_words()) {
    list_add_front(&head, word.c_str());
  }
  for (const auto& word : model_words(text)) {
    list_add_front(&head, word.c_str());
  }
  Listing counted = contents(head);
  std::sort(counted.begin(), counted.end());
  require(counted == model_listing(text), "front list counts differ from the model");
  list_free(&head);
  require(head == nullptr, "head not null after free");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string buffer = text;  // split in place, zero-terminated like the program's
  WordNode* head = nullptr;
  const std::size_t dropped = add_fixed_words(&head) + add_text_words(&head, buffer.data());
  require(dropped == 0, "an occurrence was reported as not counted");
  check_sorted(head, text);
  list_free(&head);
  check_front(text);
  return 0;
}
