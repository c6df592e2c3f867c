#pragma once

#include <string>
#include <vector>

#include <Foundation/SDKEventLog.h>
#include <UIKit/UIWindow.h>

#include "HostedPage.h"
#include "KLPickerCell.h"
#include "KLPickerChoiceView.h"

// The picker row's test page: a row stored under "layout", its choice views,
// which of them show the mark, and a finger on a choice.
namespace PickerRow {

inline Value choice(const char* title, const char* image) {
    return Value(Value::Dictionary{{"title", title}, {"image", image}});
}
inline const Value kThree(Value::Array{choice("List", ":root:Library/list.png"),
                                       choice("Cards", ":root:Library/cards.png"),
                                       choice("Grid", ":root:Library/grid.png")});

// A picker row with these "choices" (none when nil).
inline Value::Dictionary row(const Value& choices, Value::Dictionary row = {}) {
    row.insert({{"cell", "PSTableCell"},
                {"cellClass", "KLPickerCell"},
                {"defaults", HostedPage::kDomain},
                {"key", "layout"},
                {"PostNotification", "com.example.test/changed"}});
    if (!choices.isNil()) {
        row["choices"] = choices;
    }
    return row;
}

inline std::vector<Ref<KLPickerChoiceView>> choices(const Ref<KLPickerCell>& cell) {
    std::vector<Ref<KLPickerChoiceView>> views;
    for (const Ref<UIView>& view : cell->stackView()->arrangedSubviews()) {
        views.push_back(objc_cast<KLPickerChoiceView>(view));
    }
    return views;
}

// The positions of the choices that show the mark, checking that each mark
// looks as it should: blue "checkmark.circle.fill" or gray "circle".
inline std::vector<int> marked(const Ref<KLPickerCell>& cell) {
    std::vector<int> positions;
    for (const auto& view : choices(cell)) {
        const Ref<UIImageView> check = view->checkImageView();
        const bool on = view->enabled();
        EXPECT_EQ(*check->image()->symbolName(), on ? "checkmark.circle.fill" : "circle");
        EXPECT_EQ(*check->tintColor()->CGColor(),
                  *(on ? UIColor::systemBlueColor() : UIColor::grayColor())->CGColor());
        if (on) {
            positions.push_back(static_cast<int>(view->tag()));
        }
    }
    return positions;
}

inline size_t notifications() {
    return SDKEventLog::records<SDKEvents::Notification>().size();
}

// A finger lands on the middle of the view and lifts, through the window.
inline void tap(const Ref<UIWindow>& window, const Ref<UIView>& view) {
    window->layoutIfNeeded();
    const CGRect frame = view->convertRectToView(view->bounds(), nullptr);
    Finger(window).tapInWindow(CGPointMake(CGRectGetMidX(frame), CGRectGetMidY(frame)));
}

} // namespace PickerRow
