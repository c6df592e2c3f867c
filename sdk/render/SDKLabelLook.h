#pragma once

#include <UIKit/UILabel.h>
#include <render/Forward.h>
#include <render/SDKTypedViewLook.h>

// A label's text in its font and colour (the highlighted colour while
// highlighted), aligned and centred vertically in its bounds, shrunk to fit
// when the label adjusts its font size, and truncated with an ellipsis.
class SDKLabelLook : public SDKTypedViewLook<UILabel> {
public:
    static SDKTextStyle textStyle(const UILabel& label);

protected:
    void draw(const UILabel& label, SDKViewPainter& painter) const override;
    void describeView(const UILabel& label, Value::Dictionary& description) const override;
};
