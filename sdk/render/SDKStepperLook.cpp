#include <render/SDKStepperLook.h>

#include <algorithm>

#include <UIKit/UIColor.h>
#include <UIKit/UIStepper.h>
#include <render/SDKCanvas.h>
#include <render/SDKViewPainter.h>

namespace {

constexpr CGFloat kCornerRadius = 8;
constexpr CGFloat kGlyphLength = 14;
constexpr CGFloat kGlyphWeight = 2;

void drawGlyph(SDKCanvas& canvas, const CGRect& button, bool plus, const CGColor& color) {
    const CGFloat x = CGRectGetMidX(button), y = CGRectGetMidY(button);
    const CGFloat length = std::min(kGlyphLength, button.size.width * 0.6);
    canvas.fillRoundedRect(CGRectMake(x - length / 2, y - kGlyphWeight / 2, length, kGlyphWeight),
                           1, color);
    if (plus) {
        canvas.fillRoundedRect(
            CGRectMake(x - kGlyphWeight / 2, y - length / 2, kGlyphWeight, length), 1, color);
    }
}

} // namespace

void SDKStepperLook::draw(const UIStepper& stepper, SDKViewPainter& painter) const {
    SDKCanvas& canvas = painter.canvas();
    const CGRect bounds = stepper.bounds();
    if (bounds.size.width <= 0 || bounds.size.height <= 0) {
        return;
    }
    SDKCanvas::State state(canvas);
    canvas.clipToRoundedRect(bounds, kCornerRadius);
    canvas.fillRect(bounds, *UIColor::tertiarySystemFillColor()->CGColor());
    for (UIStepper::Button button : {UIStepper::Button::Decrement, UIStepper::Button::Increment}) {
        const CGRect rect = stepper.rectForButton(button);
        if (stepper.pressedButton() == button) {
            canvas.fillRect(rect, *UIColor::systemFillColor()->CGColor());
        }
        const Ref<UIColor> color =
            stepper.isButtonEnabled(button) ? UIColor::labelColor() : UIColor::tertiaryLabelColor();
        drawGlyph(canvas, rect, button == UIStepper::Button::Increment, *color->CGColor());
    }
    const CGFloat divider = std::min(18.0, bounds.size.height - 14);
    canvas.fillRect(
        CGRectMake(CGRectGetMidX(bounds) - 0.5, CGRectGetMidY(bounds) - divider / 2, 1, divider),
        *UIColor::separatorColor()->CGColor());
}

void SDKStepperLook::describeView(const UIStepper& stepper, Value::Dictionary& description) const {
    description["value"] = stepper.value();
    description["minimumValue"] = stepper.minimumValue();
    description["maximumValue"] = stepper.maximumValue();
    description["stepValue"] = stepper.stepValue();
    description["wraps"] = stepper.wraps();
    description["minusEnabled"] = stepper.isButtonEnabled(UIStepper::Button::Decrement);
    description["plusEnabled"] = stepper.isButtonEnabled(UIStepper::Button::Increment);
}
