#pragma once

#include <optional>

#include <QuartzCore/CGGeometry.h>
#include <UIKit/NSIndexPath.h>

class UITableView;
class UITableViewCell;

// Hears what the user does with a table's rows.
class UITableViewDelegate {
public:
    virtual ~UITableViewDelegate() = default;
    // A finger lifted on a row that it landed on; the row is selected.
    virtual void tableViewDidSelectRowAtIndexPath(const Ref<UITableView>& tableView,
                                                  const Ref<NSIndexPath>& indexPath) = 0;
    // The row's height, asked for again once its cell is made (a cell may
    // set its own row's height); nil keeps the height the row was given.
    virtual std::optional<CGFloat> tableViewHeightForRowAtIndexPath(const Ref<UITableView>&,
                                                                    const Ref<NSIndexPath>&) {
        return std::nullopt;
    }
    // The row's cell has come into the table and is about to be shown.
    virtual void tableViewWillDisplayCell(const Ref<UITableView>&, const Ref<UITableViewCell>&,
                                          const Ref<NSIndexPath>&) {}
};
