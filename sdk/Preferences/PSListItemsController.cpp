#include <Preferences/PSListItemsController.h>

#include <Preferences/PSSpecifier.h>
#include <Preferences/PSTableCell.h>
#include <QuartzCore/CAShapeLayer.h>
#include <UIKit/UIColor.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITableViewCell.h>

namespace {

// The checkmark at the right of the chosen row, as a stroked path.
Ref<UIView> checkmark() {
    Ref<UIView> view = alloc<UIView>()->initWithFrame(CGRectMake(0, 0, 14, 12));
    view->setUserInteractionEnabled(false);
    auto path = std::make_shared<CGPath>();
    path->moveTo({1.5, 6.5});
    path->lineTo({5, 10.5});
    path->lineTo({12.5, 1.5});
    Ref<CAShapeLayer> layer = CAShapeLayer::layer();
    layer->setPath(path);
    layer->setFillColor(nullptr);
    layer->setStrokeColor(UIColor::systemBlueColor()->CGColor());
    layer->setLineWidth(2);
    view->layer()->addSublayer(layer);
    return view;
}

} // namespace

const std::vector<Ref<PSSpecifier>>& PSListItemsController::specifiers() {
    if (_made) {
        return PSListController::specifiers();
    }
    _made = true;
    std::vector<Ref<PSSpecifier>> rows;
    Ref<PSSpecifier> link = specifier();
    const Value::Array* values = link ? link->propertyForKey("validValues").array() : nullptr;
    const Value::Array* titles = link ? link->propertyForKey("validTitles").array() : nullptr;
    Value::Dictionary group{{"cell", "PSGroupCell"}};
    if (link && link->propertyForKey("staticTextMessage").isString()) {
        group["footerText"] = link->propertyForKey("staticTextMessage");
    }
    rows.push_back(alloc<PSSpecifier>()->initWithProperties(std::move(group)));
    for (size_t i = 0; values && i < values->size(); ++i) {
        std::optional<std::string> title =
            titles && i < titles->size() ? (*titles)[i].optionalString() : std::nullopt;
        if (!title) {
            title = PSTableCell::textForValue((*values)[i]);
        }
        Ref<PSSpecifier> row = alloc<PSSpecifier>()->initWithProperties(
            {{"cell", "PSListItemCell"}, {"value", (*values)[i]}});
        row->setName(title.value_or(""));
        row->setTarget(self<PSListController>());
        rows.push_back(row);
    }
    setSpecifiers(std::move(rows));
    return PSListController::specifiers();
}

void PSListItemsController::loadView() {
    // The rows are made before the table, which reads them.
    specifiers();
    PSListController::loadView();
}

void PSListItemsController::tableViewWillDisplayCell(const Ref<UITableView>& tableView,
                                                     const Ref<UITableViewCell>& cell,
                                                     const Ref<NSIndexPath>& indexPath) {
    PSListController::tableViewWillDisplayCell(tableView, cell, indexPath);
    Ref<PSTableCell> row = objc_cast<PSTableCell>(cell);
    if (row && row->specifier() && row->specifier() == checkedSpecifier()) {
        row->setAccessoryView(checkmark());
    }
}

Ref<PSSpecifier> PSListItemsController::checkedSpecifier() {
    Ref<PSSpecifier> link = specifier();
    const Value stored = PSTableCell::shownValue(link);
    std::optional<size_t> index = PSTableCell::indexOfValidValue(link, stored);
    if (!index) {
        return nullptr;
    }
    const auto& rows = specifiers();
    // The first row is the group that holds the choices.
    return *index + 1 < rows.size() ? rows[*index + 1] : nullptr;
}

void PSListItemsController::showCheckmark() {
    Ref<PSSpecifier> checked = checkedSpecifier();
    for (const Ref<UITableViewCell>& shown : table()->visibleCells()) {
        if (Ref<PSTableCell> cell = objc_cast<PSTableCell>(shown)) {
            cell->setAccessoryView(cell->specifier() && cell->specifier() == checked ? checkmark()
                                                                                     : nullptr);
        }
    }
}

void PSListItemsController::tableViewDidSelectRowAtIndexPath(const Ref<UITableView>& tableView,
                                                             const Ref<NSIndexPath>& indexPath) {
    Ref<UITableViewCell> cell = tableView ? tableView->cellForRowAtIndexPath(indexPath) : nullptr;
    Ref<PSTableCell> row = objc_cast<PSTableCell>(cell);
    Ref<PSSpecifier> link = specifier();
    if (!row || !row->specifier() || !link) {
        return;
    }
    cell->setSelected(false, true);
    link->performSetterWithValue(row->specifier()->propertyForKey("value"));
    showCheckmark();
    if (Ref<PSListController> parent = link->target()) {
        parent->reloadSpecifier(link);
    }
    if (Ref<UINavigationController> navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}
