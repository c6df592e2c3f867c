#pragma once

#include <string>

#include <Foundation/SDKEventLog.h>
#include <Foundation/Value.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIWindow.h>

#include "HostedPage.h"

// What the slider and stepper rows' tests share: the row's specifier, a real
// tap on its value label and the typing into the alert that the tap opens.
namespace NumericRow {

// A row of the given cell class stored under "level", with its bounds.
inline Value::Dictionary row(const char* cellClass, Value::Dictionary extra = {}) {
    Value::Dictionary row{{"cell", "PSTableCell"},
                          {"cellClass", cellClass},
                          {"defaults", HostedPage::kDomain},
                          {"key", "level"},
                          {"PostNotification", "com.example.test/changed"}};
    for (auto& [key, value] : extra) {
        row[key] = value;
    }
    return row;
}

// How many notifications the rows have posted since the log was cleared.
inline size_t notifications() {
    return SDKEventLog::records<SDKEvents::Notification>().size();
}

// Where the centre of a view is on the page's screen, after a layout pass.
inline CGPoint centreInWindow(HostedPage& page, const Ref<UIView>& view) {
    page.window->layoutIfNeeded();
    const CGRect b = view->bounds();
    return view->convertPointToView(CGPointMake(CGRectGetMidX(b), CGRectGetMidY(b)), page.window);
}

// A finger taps the centre of the value label; answers the alert on screen.
inline Ref<UIAlertController> tapValueLabel(HostedPage& page, const Ref<UILabel>& label) {
    page.finger().tapInWindow(centreInWindow(page, label));
    page.host->settle();
    return objc_cast<UIAlertController>(page.controller->presentedViewController());
}

// The user empties the alert's field, types `text` and taps a button.
inline void typeAndTap(HostedPage& page, const Ref<UIAlertController>& alert,
                       const std::string& text, const std::string& button = "OK") {
    page.typeInto(alert, text);
    page.tapButton(alert, button);
}

// A typed text, the bounds it is clamped to and the number it gives.
struct TypedCase {
    const char* text;
    double minimum, maximum;
    double expected;
};

// Foundation reads the leading decimal number and the row clamps it, lower
// bound first.
inline constexpr TypedCase kTypedCases[] = {
    {"abc", 1, 10, 1},    {"", 1, 10, 1},          {",5", 1, 10, 1},      {"0,5", 0, 10, 0},
    {"  7", 0, 10, 7},    {"12abc", 0, 100, 12},   {"1e2", 0, 1000, 100}, {"-5", 0, 10, 0},
    {"250", 0, 100, 100}, {"inf", 0, 10, 0},       {"0x1F", 0, 10, 0},    {"1e999", 0, 50, 50},
    {".5", 0, 10, 0.5},   {"-2.5", -10, 10, -2.5},
};

} // namespace NumericRow
