#include <render/SDKActivityIndicatorLook.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include <UIKit/UIActivityIndicatorView.h>
#include <UIKit/UIColor.h>
#include <render/SDKCanvas.h>
#include <render/SDKViewPainter.h>

namespace {

constexpr int kSpokes = 8;
// In parts of the spinner's radius.
constexpr CGFloat kSpokeInner = 0.45;
constexpr CGFloat kSpokeWidth = 0.24;
// The faintest spoke's share of the colour's strength.
constexpr CGFloat kFaintest = 0.2;

} // namespace

void SDKActivityIndicatorLook::draw(const UIActivityIndicatorView& view,
                                    SDKViewPainter& painter) const {
    SDKCanvas& canvas = painter.canvas();
    const CGRect bounds = view.bounds();
    const CGFloat radius = std::min(bounds.size.width, bounds.size.height) / 2;
    if (radius <= 0 || !view.color()) {
        return;
    }
    const CGColor color = *view.color()->CGColor();
    const CGFloat width = radius * kSpokeWidth;
    const CGRect spoke = CGRectMake(-width / 2, -radius, width, radius * (1 - kSpokeInner));
    cairo_t* cairo = canvas.cairo();
    for (int i = 0; i < kSpokes; ++i) {
        SDKCanvas::State state(canvas);
        cairo_translate(cairo, CGRectGetMidX(bounds), CGRectGetMidY(bounds));
        cairo_rotate(cairo, 2 * std::numbers::pi * i / kSpokes);
        CGColor shade = color;
        shade.alpha *= 1 - (1 - kFaintest) * i / (kSpokes - 1);
        canvas.fillRoundedRect(spoke, width / 2, shade);
    }
}

void SDKActivityIndicatorLook::describeView(const UIActivityIndicatorView& view,
                                            Value::Dictionary& description) const {
    description["animating"] = view.isAnimating();
}
