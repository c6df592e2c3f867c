#pragma once

#include <UIKit/UISwitch.h>
#include <render/SDKTypedViewLook.h>

// A switch as the platform draws it: a capsule, green while on and light
// grey while off, with a white, faintly shadowed thumb at the state's end.
// A disabled switch is drawn at half strength.
class SDKSwitchLook : public SDKTypedViewLook<UISwitch> {
protected:
    void draw(const UISwitch& control, SDKViewPainter& painter) const override;
    void describeView(const UISwitch& control, Value::Dictionary& description) const override;
};
