#pragma once

#include <string>

#include <QuartzCore/CGGeometry.h>
#include <objc/NSObject.h>

// A font of the system family at a size and weight. Inter stands in for the
// system font.
class UIFont : public NSObject {
public:
    enum class Weight { Regular, Bold };

    static Ref<UIFont> systemFontOfSize(CGFloat size);
    static Ref<UIFont> boldSystemFontOfSize(CGFloat size);
    Ref<UIFont> initWithSize(CGFloat size, Weight weight);

    CGFloat pointSize() const { return _pointSize; }
    Weight weight() const { return _weight; }
    std::string familyName() const { return "Inter"; }
    // The same face at another size, as fonts are scaled to fit.
    Ref<UIFont> fontWithSize(CGFloat size) const;
    // Distance from one baseline to the next for a single line, in points.
    CGFloat lineHeight() const;

    bool isEqual(const UIFont& other) const {
        return _pointSize == other._pointSize && _weight == other._weight;
    }

private:
    CGFloat _pointSize = 17;
    Weight _weight = Weight::Regular;
};
