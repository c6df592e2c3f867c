#pragma once

#include <UIKit/UISegmentedControl.h>
#include <render/SDKTypedViewLook.h>

// A segmented control as the platform draws it: a light grey rounded bar
// with thin dividers between unselected segments and a white, shadowed pill
// under the selected one; its titles are its labels.
class SDKSegmentedControlLook : public SDKTypedViewLook<UISegmentedControl> {
protected:
    void draw(const UISegmentedControl& control, SDKViewPainter& painter) const override;
    void describeView(const UISegmentedControl& control,
                      Value::Dictionary& description) const override;
};
