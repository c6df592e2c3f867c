#pragma once

#include <QuartzCore/CGGeometry.h>
#include <objc/NSObject.h>

// The device's screen: its size in points and how many pixels make a point.
// The host chooses the main screen before a page is shown; every view that
// fills the screen reads its size from here.
class UIScreen : public NSObject {
public:
    Ref<UIScreen> initWithBounds(const CGRect& bounds, CGFloat scale);

    // The screen in use: the one the host set, else the standard screen.
    static Ref<UIScreen> mainScreen();
    // The host's choice of screen; nil goes back to the standard screen.
    static void setMainScreen(const Ref<UIScreen>& screen);
    // The screen of the phone the SDK stands in for.
    static Ref<UIScreen> standardScreen();

    CGRect bounds() const { return _bounds; }
    CGFloat scale() const { return _scale; }

private:
    CGRect _bounds = CGRectZero;
    CGFloat _scale = 1;
};
