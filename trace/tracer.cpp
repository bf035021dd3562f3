#include "tracer.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#elif !defined(__wasi__)
#include <sys/mman.h>
#endif

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "address_text.h"

namespace {

// The most slots an index is made with at first.
constexpr std::size_t kMostSlots = std::size_t{1} << 20U;
constexpr std::size_t kFewestSlots = 1024;

// The index's slots come from memory of their own, never from the heap
// that the list's elements come from: the heap then holds the same blocks
// in the same order as in wordlist's run, and so the elements lie at the
// same offsets from each other. A mapping of its own on Windows and POSIX
// systems; in WebAssembly, which has one memory and no mappings, a static
// area made once, whole.
#ifdef __wasi__
constexpr bool kGrows = false;
const WordNode* area[kMostSlots];
bool area_taken = false;
#else
constexpr bool kGrows = true;
#endif

// The bytes of one slot: an element's address, as wide as any object's.
constexpr std::size_t kSlotBytes = sizeof(void*);

// Zeroed room for `count` slots, off the heap; null when there is none.
const WordNode** slots_allocate(std::size_t count) {
  if (count > SIZE_MAX / kSlotBytes) {
    return nullptr;
  }
  const std::size_t bytes = count * kSlotBytes;
#if defined(_WIN32)
  return static_cast<const WordNode**>(
      VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
#elif defined(__wasi__)
  if (area_taken || count > kMostSlots) {
    return nullptr;
  }
  area_taken = true;
  std::memset(static_cast<void*>(area), 0, bytes);  // a run before this one may have used it
  return area;
#else
  void* slots = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return slots == MAP_FAILED ? nullptr : static_cast<const WordNode**>(slots);
#endif
}

void slots_release(const WordNode** slots, std::size_t count) {
#if defined(_WIN32)
  (void)count;
  (void)VirtualFree(static_cast<void*>(slots), 0, MEM_RELEASE);
#elif defined(__wasi__)
  (void)slots;
  (void)count;
  area_taken = false;
#else
  (void)munmap(static_cast<void*>(slots), count * kSlotBytes);
#endif
}

std::size_t hash_word(const char* word) {
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (; *word != '\0'; ++word) {
    hash = (hash ^ static_cast<unsigned char>(*word)) * 1099511628211ULL;
  }
  return static_cast<std::size_t>(hash ^ (hash >> 32U));
}

// The slot holding `word`'s element, or the empty slot where it belongs.
const WordNode** slot_of(const WordIndex& index, const char* word) {
  std::size_t at = hash_word(word) & (index.capacity - 1);
  while (index.slots[at] != nullptr && std::strcmp(index.slots[at]->word, word) != 0) {
    at = (at + 1) & (index.capacity - 1);
  }
  return &index.slots[at];
}

constexpr WordIndex kGivenUp{nullptr, 0, 0, true};

void give_up(WordIndex* index) {
  if (!index->given_up) {
    slots_release(index->slots, index->capacity);
  }
  *index = kGivenUp;
}

bool grow(WordIndex* index) {
  if (!kGrows || index->capacity > SIZE_MAX / 2) {
    return false;
  }
  const std::size_t capacity = 2 * index->capacity;
  const WordNode** slots = slots_allocate(capacity);
  if (slots == nullptr) {
    return false;
  }
  WordIndex larger{slots, capacity, index->size, false};
  for (std::size_t i = 0; i < index->capacity; ++i) {
    if (index->slots[i] != nullptr) {
      *slot_of(larger, index->slots[i]->word) = index->slots[i];
    }
  }
  slots_release(index->slots, index->capacity);
  *index = larger;
  return true;
}

// An index with room for the distinct words of a text of `bytes` bytes
// (each word and its delimiter take at least two), given up when even
// that cannot be had. An index that cannot grow is made whole at once.
WordIndex index_for(std::uint64_t bytes) {
  const std::uint64_t words = bytes / 2 + 1 + 4;
  std::size_t capacity = kGrows ? kFewestSlots : kMostSlots;
  while (capacity < 2 * words && capacity < kMostSlots) {
    capacity *= 2;
  }
  const WordNode** slots = slots_allocate(capacity);
  return slots == nullptr ? kGivenUp : WordIndex{slots, capacity, 0, false};
}

// The element holding `word`, known from the index, or found by a walk
// of the list's records once the index is given up; null for none.
const WordNode* find_counted(const WordIndex& index, WordNode* const* head, const char* word) {
  if (!index.given_up) {
    return *slot_of(index, word);
  }
  for (const WordNode* node = *head; node != nullptr; node = node->next) {
    if (std::strcmp(node->word, word) == 0) {
      return node;
    }
  }
  return nullptr;
}

void remember(WordIndex* index, const WordNode* node) {
  if (index->given_up) {
    return;
  }
  if (2 * (index->size + 1) > index->capacity && !grow(index)) {
    give_up(index);
    return;
  }
  *slot_of(*index, node->word) = node;
  ++index->size;
}

}  // namespace

Tracer tracer_make(std::uint64_t text_bytes, bool front) {
  return Tracer{front, index_for(text_bytes)};
}

void tracer_release(Tracer* tracer) { give_up(&tracer->index); }

// A word the index knows was counted in its element; otherwise it is new,
// and its element follows the last one that sorts before it (for a run
// that adds at the front: it is the head).
bool add_traced(WordNode** head, const char* word, void* context) {
  auto* tracer = static_cast<Tracer*>(context);
  if (!(tracer->front ? list_add_front(head, word) : list_add_sorted(head, word))) {
    std::printf("not counted WORD: %s\n", word);
    return false;
  }
  // An element that holds the word with a count above 1 was counted now;
  // with a count of 1 it was inserted now.
  const WordNode* node = find_counted(tracer->index, head, word);
  if (node != nullptr && node->count > 1) {
    std::printf("counted %s COUNT: %" PRId32 " WORD: %s\n", format_address(node).digits,
                node->count, word);
    return true;
  }
  const WordNode* before = tracer->front ? nullptr : list_find_predecessor(head, word);
  node = before == nullptr ? *head : before->next;
  if (before == nullptr) {
    std::printf("inserted %s at head WORD: %s\n", format_address(node).digits, word);
  } else {
    std::printf("inserted %s after %s WORD: %s\n", format_address(node).digits,
                format_address(before).digits, word);
  }
  remember(&tracer->index, node);
  return true;
}
