#pragma once

#include <cstdint>

namespace cassowary {

// A column of the tableau, as an index into the tableau's per-symbol tables;
// 0 names none. Ids of symbols the tableau has released are handed out again.
using Symbol = uint32_t;
inline constexpr Symbol kNoSymbol = 0;

// External symbols stand for the user's variables and take any value. Slack
// and error symbols are at least zero; errors carry a weight in the objective.
// Dummy symbols mark required equalities and stay at zero.
enum class SymbolKind : uint8_t { External, Slack, Error, Dummy };

} // namespace cassowary
