// The page that wordlist-graph --html writes, made at build time from the
// files in graph/page: everything before the listing's data, and after it.
#ifndef WORDLIST_GRAPH_PAGE_TEMPLATE_H
#define WORDLIST_GRAPH_PAGE_TEMPLATE_H

#include <cstddef>

extern const unsigned char kPageHead[];
extern const std::size_t kPageHeadSize;
extern const unsigned char kPageTail[];
extern const std::size_t kPageTailSize;

#endif  // WORDLIST_GRAPH_PAGE_TEMPLATE_H
