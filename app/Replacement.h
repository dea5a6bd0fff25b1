// Replacing text in the body: by hand (one search text, all occurrences)
// and automatically (nine question-type words wrapped in 【】).
#pragma once

#include <string>

namespace qx::app {

// Every occurrence of search (case-sensitive, on character boundaries,
// not rescanning what was inserted) replaced; an empty search changes
// nothing, an empty replacement deletes.
std::string ManualReplace(const std::string& body, const std::string& search,
                          const std::string& replacement);

// The nine fixed words, each a full pass of its own, in table order.
std::string AutoReplace(const std::string& body);

struct AutoReplacement {
  const char* search;
  const char* replacement;
};
extern const AutoReplacement kAutoReplacements[9];

}  // namespace qx::app
