#include <UIKit/UIScreen.h>

#include <mutex>

namespace {

// Each state below is never destroyed: a worker may still use it while the
// process exits.
std::mutex& screenLock() {
    static std::mutex& lock = *new std::mutex;
    return lock;
}

Ref<UIScreen>& chosenScreen() {
    static Ref<UIScreen>& screen = *new Ref<UIScreen>;
    return screen;
}

} // namespace

Ref<UIScreen> UIScreen::initWithBounds(const CGRect& bounds, CGFloat scale) {
    return initWithBounds(bounds, scale, nullptr);
}

Ref<UIScreen> UIScreen::initWithBounds(const CGRect& bounds, CGFloat scale,
                                       const Ref<UITraitCollection>& traits,
                                       UIEdgeInsets safeAreaInsets) {
    _bounds = bounds;
    _scale = scale;
    _safeAreaInsets = safeAreaInsets;
    using T = UITraitCollection;
    _traitCollection = T::traitCollectionWithTraitsFromCollections({
        T::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyleLight),
        T::traitCollectionWithPreferredContentSizeCategory(UIContentSizeCategory::Large),
        T::traitCollectionWithUserInterfaceIdiom(UIUserInterfaceIdiomPhone),
        T::traitCollectionWithHorizontalSizeClass(UIUserInterfaceSizeClassCompact),
        T::traitCollectionWithVerticalSizeClass(UIUserInterfaceSizeClassRegular),
        T::traitCollectionWithLayoutDirection(UITraitEnvironmentLayoutDirectionLeftToRight),
        traits,
        T::traitCollectionWithDisplayScale(scale),
    });
    return self<UIScreen>();
}

Ref<UIScreen> UIScreen::standardScreen() {
    // An iPhone 14's screen: 390 by 844 points, three pixels to the point.
    static const Ref<UIScreen> standard =
        alloc<UIScreen>()->initWithBounds(CGRectMake(0, 0, 390, 844), 3);
    return standard;
}

Ref<UIScreen> UIScreen::mainScreen() {
    std::lock_guard guard(screenLock());
    return chosenScreen() ? chosenScreen() : standardScreen();
}

void UIScreen::setMainScreen(const Ref<UIScreen>& screen) {
    std::lock_guard guard(screenLock());
    chosenScreen() = screen;
}
