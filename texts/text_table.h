#pragma once

#include <cstdint>
#include <string_view>

namespace texts {

// The German text of a text ID, UTF-8, with "\n" as line break. A text ID
// without a text gives an empty text (and so an empty message).
std::string_view text(int32_t id);

struct TextEntry {
  int32_t id;
  std::string_view text;
};

// The whole table, sorted by ID (for tests and tools).
const TextEntry* textTableBegin();
const TextEntry* textTableEnd();

}  // namespace texts
