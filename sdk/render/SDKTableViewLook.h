#pragma once

#include <UIKit/UITableView.h>
#include <render/SDKTypedViewLook.h>

// A table as the Settings app shows it: in the grouped styles each section's
// rows sit on a card (rounded in the inset style) over the grouped
// background, with a hairline between rows inset from the leading edge, the
// header text above the card in small capitals and the footer text below.
// Rows outside what is being drawn are skipped, as a table only makes the
// cells on screen.
class SDKTableViewLook : public SDKTypedViewLook<UITableView> {
public:
    void drawSublayers(const UIView& view, SDKViewPainter& painter) const override;

protected:
    void draw(const UITableView&, SDKViewPainter&) const override {}
    void describeView(const UITableView& table, Value::Dictionary& description) const override;
};
