#pragma once

#include <Preferences/PSListController.h>

// The list of choices a list link opens: a row for each of its link row's
// "validTitles", a checkmark on the one whose "validValues" entry is stored
// (its "default" while nothing is stored; none for a value it does not
// list). A tap on a row stores that entry through the link row, shows the
// new title on it and goes back.
class PSListItemsController : public PSListController {
public:
    Ref<PSListItemsController> init() {
        PSListController::init();
        return self<PSListItemsController>();
    }

    const std::vector<Ref<PSSpecifier>>& specifiers() override;
    void loadView() override;
    void tableViewDidSelectRowAtIndexPath(const Ref<UITableView>& tableView,
                                          const Ref<NSIndexPath>& indexPath) override;
    // A row's cell shows the checkmark when it is the chosen one.
    void tableViewWillDisplayCell(const Ref<UITableView>& tableView,
                                  const Ref<UITableViewCell>& cell,
                                  const Ref<NSIndexPath>& indexPath) override;

    // The row carrying the checkmark; nil when none does.
    Ref<PSSpecifier> checkedSpecifier();

private:
    void showCheckmark();

    bool _made = false;
};
