#pragma once

#include <UIKit/NSIndexPath.h>

class UITableView;

// Hears what the user does with a table's rows.
class UITableViewDelegate {
public:
    virtual ~UITableViewDelegate() = default;
    // A finger lifted on a row that it landed on; the row is selected.
    virtual void tableViewDidSelectRowAtIndexPath(const Ref<UITableView>& tableView,
                                                  const Ref<NSIndexPath>& indexPath) = 0;
};
