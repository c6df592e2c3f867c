#pragma once

#include <UIKit/UITableViewCell.h>
#include <render/SDKTypedViewLook.h>

// A table row: the grey of a selected or highlighted row under its content.
class SDKTableViewCellLook : public SDKTypedViewLook<UITableViewCell> {
protected:
    void draw(const UITableViewCell& cell, SDKViewPainter& painter) const override;
    void describeView(const UITableViewCell& cell, Value::Dictionary& description) const override;
};
