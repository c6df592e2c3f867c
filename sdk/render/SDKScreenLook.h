#pragma once

#include <Foundation/Value.h>
#include <QuartzCore/CGGeometry.h>
#include <UIKit/UIViewController.h>

class SDKViewPainter;

// How a presented view controller is drawn over the page and described. The
// base look is the page sheet any controller slides up in: a card from near
// the top of the screen with the controller's title in its bar and its view
// below; kinds of controller with their own look derive from it.
class SDKScreenLook {
public:
    virtual ~SDKScreenLook() = default;

    // Whether this look is the one for the controller; the base look takes any.
    virtual bool matches(const UIViewController&) const { return true; }
    // Draws the controller's screen over what is below it; `screen` is the
    // part of the page the device's screen shows.
    virtual void draw(UIViewController& controller, SDKViewPainter& painter,
                      const CGRect& screen) const;
    // Adds what the screen shows to its description.
    virtual void describe(UIViewController& controller, Value::Dictionary& description) const;

protected:
    // The sheet's card within the screen.
    static CGRect sheetFrame(const CGRect& screen);
    // The card and its bar with the title; returns the area below the bar.
    static CGRect drawSheet(const UIViewController& controller, SDKViewPainter& painter,
                            const CGRect& screen);
    // Shades the page under a presented screen.
    static void dim(SDKViewPainter& painter, CGFloat alpha);

    static constexpr CGFloat kSheetTop = 54;
    static constexpr CGFloat kSheetRadius = 10;
    static constexpr CGFloat kBarHeight = 56;
};
