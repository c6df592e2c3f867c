#pragma once

namespace cassowary::strength {

// A strength is a weight: three tiers of up to a thousand each, so a strong
// preference outweighs a thousand medium ones. Required is above every weight
// and means the constraint must hold.
double create(double strong, double medium, double weak, double weight = 1.0);

inline constexpr double required = 1001001000.0;
inline constexpr double strong = 1000000.0;
inline constexpr double medium = 1000.0;
inline constexpr double weak = 1.0;

// The strength kept within [0, required].
double clip(double value);

// A layout priority (1 to 1000) as a strength: 1000 is required; below, each
// step of priority multiplies the weight by the same factor, from weak at
// priority 1 through medium near 500 to just under strong at 999, so a higher
// priority wins over many violations of a lower one. Weights stay within the
// strong tier so that rounding in the objective stays far below its tolerance.
double fromPriority(double priority);

} // namespace cassowary::strength
