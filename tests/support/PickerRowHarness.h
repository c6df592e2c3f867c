#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <Foundation/SDKEventLog.h>
#include <Foundation/Value.h>
#include <UIKit/UIWindow.h>

#include "HostedPage.h"
#include "KLPickerCell.h"
#include "KLPickerChoiceView.h"

// What the picker row's tests share: its specifier, its choice views, what
// their check marks show and a finger on a choice.
namespace PickerRow {

inline Value choice(const char* title, const char* image) {
    return Value(Value::Dictionary{{"title", title}, {"image", image}});
}

// A picker row stored under "layout" with the given "choices" (none when nil).
inline Value::Dictionary row(const Value& choices, Value::Dictionary extra = {}) {
    Value::Dictionary row{{"cell", "PSTableCell"},
                          {"cellClass", "KLPickerCell"},
                          {"defaults", HostedPage::kDomain},
                          {"key", "layout"},
                          {"PostNotification", "com.example.test/changed"}};
    if (!choices.isNil()) {
        row["choices"] = choices;
    }
    for (auto& [key, value] : extra) {
        row[key] = value;
    }
    return row;
}

inline Value threeChoices() {
    return Value(Value::Array{choice("List", ":root:Library/list.png"),
                              choice("Cards", ":root:Library/cards.png"),
                              choice("Grid", ":root:Library/grid.png")});
}

// The bytes of one of the example bundle's pictures ("list", "cards" or
// "grid"), a 180 by 360 PNG.
inline std::string examplePicture(const std::string& name) {
    std::ifstream in(std::string(KL_SOURCE_DIR) +
                         "/examples/device-root/var/jb/Library/PreferenceBundles/Demo.bundle/"
                         "layout-" +
                         name + ".png",
                     std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<Ref<KLPickerChoiceView>> choices(const Ref<KLPickerCell>& cell) {
    std::vector<Ref<KLPickerChoiceView>> views;
    for (const Ref<UIView>& view : cell->stackView()->arrangedSubviews()) {
        views.push_back(objc_cast<KLPickerChoiceView>(view));
    }
    return views;
}

// The positions of the choices that show the mark.
inline std::vector<int> marked(const Ref<KLPickerCell>& cell) {
    std::vector<int> positions;
    const auto views = choices(cell);
    for (size_t i = 0; i < views.size(); ++i) {
        if (views[i]->enabled()) {
            positions.push_back(static_cast<int>(i));
        }
    }
    return positions;
}

// The check mark's symbol and tint, as "circle gray".
inline std::string checkLook(const Ref<KLPickerChoiceView>& view) {
    const Ref<UIImage> image = view->checkImageView()->image();
    const std::string symbol = image && image->symbolName() ? *image->symbolName() : "none";
    const CGColor tint = *view->checkImageView()->tintColor()->CGColor();
    const char* colour = tint == *UIColor::grayColor()->CGColor()         ? "gray"
                         : tint == *UIColor::systemBlueColor()->CGColor() ? "blue"
                                                                          : "other";
    return symbol + " " + colour;
}

inline size_t notifications() {
    return SDKEventLog::eventsOfKind("notification").size();
}

// A finger lands on the middle of the view and lifts, through the window.
inline void tap(const Ref<UIWindow>& window, const Ref<UIView>& view) {
    window->layoutIfNeeded();
    const CGRect frame = view->convertRectToView(view->bounds(), nullptr);
    window->tapAtPoint(CGPointMake(CGRectGetMidX(frame), CGRectGetMidY(frame)));
}

} // namespace PickerRow
