#pragma once

#include <QuartzCore/CGGeometry.h>
#include <QuartzCore/Forward.h>
#include <UIKit/Forward.h>
#include <UIKit/UITraitCollection.h>
#include <objc/Forward.h>

// The device's screen: its size in points, how many pixels make a point and
// the device's traits (appearance, text size, idiom, size classes), which
// every window on it inherits. The host chooses the main screen before a page
// is shown; every view that fills the screen reads its size from here.
class UIScreen : public NSObject {
public:
    // A phone's screen in the light appearance at the default text size.
    Ref<UIScreen> initWithBounds(const CGRect& bounds, CGFloat scale);
    // `traits` over those defaults; the scale is the screen's. The safe area
    // is what the device's status bar, sensor housing and home indicator
    // leave of the screen.
    Ref<UIScreen> initWithBounds(const CGRect& bounds, CGFloat scale,
                                 const Ref<UITraitCollection>& traits,
                                 UIEdgeInsets safeAreaInsets = {});

    // The screen in use: the one the host set, else the standard screen.
    static Ref<UIScreen> mainScreen();
    // The host's choice of screen; nil goes back to the standard screen.
    static void setMainScreen(const Ref<UIScreen>& screen);
    // The screen of the phone the SDK stands in for.
    static Ref<UIScreen> standardScreen();

    CGRect bounds() const { return _bounds; }
    CGFloat scale() const { return _scale; }
    Ref<UITraitCollection> traitCollection() const { return _traitCollection; }
    UIEdgeInsets safeAreaInsets() const { return _safeAreaInsets; }

private:
    CGRect _bounds = CGRectZero;
    CGFloat _scale = 1;
    Ref<UITraitCollection> _traitCollection;
    UIEdgeInsets _safeAreaInsets{};
};
