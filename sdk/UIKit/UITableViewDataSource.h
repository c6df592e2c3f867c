#pragma once

#include <UIKit/Forward.h>

class UITableView;
class UITableViewCell;

// Makes the cells of a table's rows, when the table needs them: a row's cell
// is made when the row comes on screen or is asked for.
class UITableViewDataSource {
public:
    virtual ~UITableViewDataSource() = default;
    virtual Ref<UITableViewCell>
    tableViewCellForRowAtIndexPath(const Ref<UITableView>& tableView,
                                   const Ref<NSIndexPath>& indexPath) = 0;
};
