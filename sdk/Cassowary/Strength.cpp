#include <Cassowary/Strength.h>

#include <algorithm>
#include <cmath>

namespace cassowary::strength {

double create(double strongTier, double mediumTier, double weakTier, double weight) {
    auto tier = [weight](double amount) { return std::clamp(amount * weight, 0.0, 1000.0); };
    return tier(strongTier) * 1000000.0 + tier(mediumTier) * 1000.0 + tier(weakTier);
}

double clip(double value) {
    return std::clamp(value, 0.0, required);
}

double fromPriority(double priority) {
    constexpr double kRequiredPriority = 1000.0;
    if (priority >= kRequiredPriority) {
        return required;
    }
    double level = std::max(priority, 1.0) - 1.0;
    return std::pow(10.0, 6.0 * level / (kRequiredPriority - 1.0));
}

} // namespace cassowary::strength
