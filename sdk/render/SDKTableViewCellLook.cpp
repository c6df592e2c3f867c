#include <render/SDKTableViewCellLook.h>

#include <UIKit/UIColor.h>
#include <UIKit/UITableViewCell.h>
#include <render/SDKCanvas.h>
#include <render/SDKViewPainter.h>

void SDKTableViewCellLook::draw(const UITableViewCell& cell, SDKViewPainter& painter) const {
    if (cell.isSelected() || cell.isHighlighted()) {
        painter.canvas().fillRect(cell.bounds(), *UIColor::systemGray4Color()->CGColor());
    }
}

void SDKTableViewCellLook::describeView(const UITableViewCell& cell,
                                        Value::Dictionary& description) const {
    description["selected"] = cell.isSelected();
    if (cell.isHighlighted()) {
        description["highlighted"] = true;
    }
}
