#include <UIKit/UIFont.h>

Ref<UIFont> UIFont::initWithSize(CGFloat size, Weight weight) {
    _pointSize = size;
    _weight = weight;
    return self<UIFont>();
}

Ref<UIFont> UIFont::systemFontOfSize(CGFloat size) {
    return alloc<UIFont>()->initWithSize(size, Weight::Regular);
}

Ref<UIFont> UIFont::boldSystemFontOfSize(CGFloat size) {
    return alloc<UIFont>()->initWithSize(size, Weight::Bold);
}

Ref<UIFont> UIFont::fontWithSize(CGFloat size) const {
    return alloc<UIFont>()->initWithSize(size, _weight);
}

// Inter's ascender and descender (0.96875 and 0.2421875 of the em) make its line.
CGFloat UIFont::lineHeight() const {
    return _pointSize * 1.2109375;
}
