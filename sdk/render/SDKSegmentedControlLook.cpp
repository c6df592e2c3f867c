#include <render/SDKSegmentedControlLook.h>

#include <UIKit/UIColor.h>
#include <UIKit/UISegmentedControl.h>
#include <render/SDKCanvas.h>
#include <render/SDKViewPainter.h>

namespace {

constexpr CGFloat kCornerRadius = 8;
constexpr CGFloat kPillRadius = 7;
constexpr CGFloat kDividerHeight = 16;

} // namespace

void SDKSegmentedControlLook::draw(const UISegmentedControl& control,
                                   SDKViewPainter& painter) const {
    SDKCanvas& canvas = painter.canvas();
    const CGRect bounds = control.bounds();
    if (bounds.size.width <= 0 || bounds.size.height <= 0) {
        return;
    }
    canvas.fillRoundedRect(bounds, kCornerRadius, *UIColor::tertiarySystemFillColor()->CGColor());
    const long selected = control.selectedSegmentIndex();
    for (size_t i = 1; i < control.numberOfSegments(); ++i) {
        if (static_cast<long>(i) == selected || static_cast<long>(i) - 1 == selected) {
            continue;
        }
        const CGRect segment = control.rectForSegmentAtIndex(i);
        canvas.fillRect(CGRectMake(segment.origin.x - 0.5,
                                   (bounds.size.height - kDividerHeight) / 2, 1, kDividerHeight),
                        *UIColor::separatorColor()->CGColor());
    }
    if (selected == UISegmentedControl::kNoSegment) {
        return;
    }
    const CGRect segment = control.rectForSegmentAtIndex(static_cast<size_t>(selected));
    const CGFloat inset = UISegmentedControl::kSelectionInset;
    const CGRect pill = CGRectMake(segment.origin.x + inset, segment.origin.y + inset,
                                   segment.size.width - 2 * inset, segment.size.height - 2 * inset);
    canvas.fillRoundedRect(
        CGRectMake(pill.origin.x, pill.origin.y + 1, pill.size.width, pill.size.height),
        kPillRadius, CGColor{0, 0, 0, 0.06});
    // The selected segment's pill is white in the light appearance, a gray in the dark.
    CGColor pillColor = UITraitCollection::currentTraitCollection()->userInterfaceStyle() ==
                                UIUserInterfaceStyleDark
                            ? CGColor{99 / 255.0, 99 / 255.0, 102 / 255.0, 1}
                            : CGColor{1, 1, 1, 1};
    pillColor.alpha = control.isEnabled() ? 1.0 : 0.5;
    canvas.fillRoundedRect(pill, kPillRadius, pillColor);
}

void SDKSegmentedControlLook::describeView(const UISegmentedControl& control,
                                           Value::Dictionary& description) const {
    description["selectedSegmentIndex"] =
        Value::numberWithInt(static_cast<int>(control.selectedSegmentIndex()));
    description["segments"] = Value::numberWithInt(static_cast<int>(control.numberOfSegments()));
    description["enabled"] = control.isEnabled();
}
