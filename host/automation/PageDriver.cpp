#include "PageDriver.h"

#include <algorithm>
#include <cmath>

#include <MessageUI/MFMailComposeViewController.h>
#include <Preferences/PSListItemsController.h>
#include <SafariServices/SFSafariViewController.h>
#include <UIKit/SDKMenuViewController.h>
#include <UIKit/UIActivityViewController.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIColorPickerViewController.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UISegmentedControl.h>
#include <UIKit/UISlider.h>
#include <UIKit/UISwitch.h>
#include <UIKit/UITextField.h>

#include "ColorPickerProcess.h"
#include "Gestures.h"
#include "HostError.h"
#include "Keyboard.h"

namespace {

// The views under `root` that show a button titled `title`, shown and enabled.
std::vector<Ref<UIButton>> buttonsTitled(const Ref<UIView>& root, const std::string& title) {
    std::vector<Ref<UIButton>> found;
    for (const Ref<UIView>& view : ViewFinder::allViews(root)) {
        auto button = objc_cast<UIButton>(view);
        if (button && button->currentTitle() == title && !button->isHidden() &&
            button->isEnabled()) {
            found.push_back(button);
        }
    }
    return found;
}

// The titles of the enabled buttons under `root`, quoted, for a message.
std::string buttonTitles(const Ref<UIView>& root) {
    std::string titles;
    for (const Ref<UIView>& view : ViewFinder::allViews(root)) {
        if (auto button = objc_cast<UIButton>(view); button && button->isEnabled()) {
            titles += (titles.empty() ? "" : ", ") +
                      HostError::quoted(button->currentTitle().value_or(""));
        }
    }
    return titles;
}

} // namespace

void PageDriver::tap(const Ref<UIView>& view) {
    finger().tap(view);
    settle();
}

void PageDriver::tapAt(const Ref<UIView>& view, CGPoint point) {
    finger().tapAt(view, point);
    settle();
}

void PageDriver::tapRow(const Ref<UITableViewCell>& cell) {
    finger().tapRow(cell);
    settle();
}

void PageDriver::drag(const Ref<UISlider>& slider, float value, size_t movements) {
    Finger touch = finger();
    Gestures::dragSlider(touch, slider, value, movements);
    settle();
}

void PageDriver::press(const Ref<UIStepper>& stepper, UIStepper::Button button, size_t repeats) {
    Finger touch = finger();
    Gestures::pressStepper(touch, stepper, button == UIStepper::Button::Increment, repeats);
    settle();
}

void PageDriver::replaceText(const Ref<UITextField>& field, const std::string& text) {
    // The finger puts the caret in the field; the keyboard empties it and types.
    finger().tap(field);
    Keyboard keyboard(_host.window());
    keyboard.deleteAll();
    keyboard.type(text);
    settle();
}

void PageDriver::tapRow(const std::string& row) {
    const ViewFinder find = finder();
    find.requirePageOnTop();
    tapRow(find.row(row).cell);
}

void PageDriver::tapInRow(const std::string& row, const std::string& view) {
    const ViewFinder find = finder();
    find.requirePageOnTop();
    tap(find.view(find.row(row), view));
}

void PageDriver::tapInHeader(const std::string& view) {
    const ViewFinder find = finder();
    find.requirePageOnTop();
    tap(find.headerView(view));
}

void PageDriver::dragSlider(const std::string& rowName, float value) {
    const ViewFinder find = finder();
    find.requirePageOnTop();
    const PageHost::Row row = find.row(rowName);
    Ref<UISlider> slider = find.control<UISlider>(row, "slider");
    if (!slider->isEnabled()) {
        HostError::throwStep("the slider of " + ViewFinder::describeRow(row) + " is disabled");
    }
    drag(slider, value);
}

void PageDriver::pressStepper(const std::string& rowName, UIStepper::Button button,
                              size_t repeats) {
    const ViewFinder find = finder();
    find.requirePageOnTop();
    const PageHost::Row row = find.row(rowName);
    Ref<UIStepper> stepper = find.control<UIStepper>(row, "stepper");
    if (!stepper->isButtonEnabled(button)) {
        HostError::throwStep(std::string("the ") +
                             (button == UIStepper::Button::Increment ? "plus" : "minus") +
                             " button of " + ViewFinder::describeRow(row) + " is disabled");
    }
    press(stepper, button, repeats);
}

void PageDriver::toggle(const std::string& row) {
    const ViewFinder find = finder();
    find.requirePageOnTop();
    tap(find.control<UISwitch>(find.row(row), "switch"));
}

void PageDriver::chooseSegment(const std::string& rowName, const std::string& title) {
    const ViewFinder find = finder();
    find.requirePageOnTop();
    const PageHost::Row row = find.row(rowName);
    Ref<UISegmentedControl> control = find.control<UISegmentedControl>(row, "segmented control");
    if (!tapSegment(control, title)) {
        std::string titles;
        for (size_t i = 0; i < control->numberOfSegments(); ++i) {
            titles += (titles.empty() ? "" : ", ") +
                      HostError::quoted(control->titleForSegmentAtIndex(i).value_or(""));
        }
        HostError::throwStep(ViewFinder::describeRow(row) + " has no segment " +
                             HostError::quoted(title) + " (its segments: " + titles + ")");
    }
}

bool PageDriver::tapSegment(const Ref<UISegmentedControl>& control, const std::string& title) {
    for (size_t i = 0; i < control->numberOfSegments(); ++i) {
        if (control->titleForSegmentAtIndex(i) == title) {
            const CGRect rect = control->rectForSegmentAtIndex(i);
            tapAt(control, CGPointMake(CGRectGetMidX(rect), CGRectGetMidY(rect)));
            return true;
        }
    }
    return false;
}

void PageDriver::enterText(const std::string& row, const std::string& text) {
    const ViewFinder find = finder();
    find.requirePageOnTop();
    Ref<UITextField> field = find.control<UITextField>(find.row(row), "text field");
    // The return key ends the editing, which stores the text.
    finger().tap(field);
    Keyboard keyboard(_host.window());
    keyboard.deleteAll();
    keyboard.type(text);
    keyboard.pressReturn();
    settle();
}

void PageDriver::typeIntoAlert(const std::string& text) {
    Ref<UIAlertController> alert = finder().presented<UIAlertController>("alert");
    if (alert->textFields().empty()) {
        HostError::throwStep("the presented alert has no text field");
    }
    replaceText(alert->textFields().front(), text);
}

void PageDriver::pickColor(const Ref<UIColor>& color) {
    ColorPickerProcess::reportPick(finder().presented<UIColorPickerViewController>("colour picker"),
                                   color);
    settle();
}

void PageDriver::pressButton(const std::string& title) {
    Ref<UIViewController> top = finder().presented<UIViewController>("screen");
    _host.window()->layoutIfNeeded();
    const std::vector<Ref<UIButton>> buttons = buttonsTitled(top->view(), title);
    if (!buttons.empty()) {
        tap(buttons.front());
        return;
    }
    // A segment of a choice the screen offers (the colour picker's ways of picking).
    for (const Ref<UIView>& view : ViewFinder::allViews(top->view())) {
        auto control = objc_cast<UISegmentedControl>(view);
        if (control && !control->isHidden() && control->isEnabled() && tapSegment(control, title)) {
            return;
        }
    }
    if (objc_cast<UIAlertController>(top)) {
        const std::string titles = buttonTitles(top->view());
        HostError::throwStep("the alert has no button " + HostError::quoted(title) +
                             (titles.empty() ? "" : " (its buttons: " + titles + ")"));
    }
    HostError::throwStep("the presented " + top->className() + " has no button " +
                         HostError::quoted(title));
}

void PageDriver::chooseItem(const std::string& title) {
    const ViewFinder find = finder();
    // A list of choices a list link opened: the entry is tapped, stored and
    // the list closes.
    if (!find.topScreen() && objc_cast<PSListItemsController>(_host.shownController())) {
        tapRow(find.row(title).cell);
        return;
    }
    auto menu = find.presented<SDKMenuViewController>("menu");
    _host.window()->layoutIfNeeded();
    std::string titles;
    for (const Ref<UIView>& view : ViewFinder::allViews(menu->view())) {
        auto item = objc_cast<UIButton>(view);
        if (!item || item == menu->view()) {
            continue;
        }
        const std::string itemTitle = item->currentTitle().value_or("");
        if (itemTitle == title) {
            tap(item);
            return;
        }
        titles += (titles.empty() ? "" : ", ") + HostError::quoted(itemTitle);
    }
    HostError::throwStep("the menu has no item " + HostError::quoted(title) +
                         (titles.empty() ? "" : " (its items: " + titles + ")"));
}

void PageDriver::dismiss() {
    Ref<UIViewController> top = finder().presented<UIViewController>("screen");
    if (objc_cast<UIAlertController>(top)) {
        HostError::throwStep("an alert closes with one of its buttons; use button TITLE");
    }
    if (objc_cast<UIColorPickerViewController>(top) || objc_cast<UIActivityViewController>(top)) {
        Ref<UIButton> close = ViewFinder::closeButton(top->view());
        if (!close) {
            HostError::throwStep("the presented " + top->className() + " shows no close button");
        }
        tap(close);
        return;
    }
    if (objc_cast<SFSafariViewController>(top)) {
        _host.window()->layoutIfNeeded();
        if (const std::vector<Ref<UIButton>> done = buttonsTitled(top->view(), "Done");
            !done.empty()) {
            tap(done.front());
            return;
        }
    }
    if (objc_cast<MFMailComposeViewController>(top)) {
        HostError::throwStep(
            "the mail composer closes with its buttons: button Send, or button Cancel then "
            "button \"Delete Draft\" or button \"Save Draft\"");
    }
    if (objc_cast<SDKMenuViewController>(top)) {
        // A touch beside the menu's panel closes it: at the screen's top when
        // the panel lies in its lower half, else at its bottom.
        _host.window()->layoutIfNeeded();
        CGFloat panelTop = INFINITY;
        for (const Ref<UIView>& part : top->view()->subviews()) {
            panelTop =
                std::min(panelTop, part->convertRectToView(part->bounds(), nullptr).origin.y);
        }
        const CGFloat screen = std::min(_host.window()->bounds().size.height,
                                        UIScreen::mainScreen()->bounds().size.height);
        finger().tapInWindow(CGPointMake(8, panelTop > screen / 2 ? 8 : screen - 8));
        settle();
        return;
    }
    // Any other sheet is swiped away, which the system carries out.
    top->dismissViewControllerAnimated(true, nullptr);
    settle();
}

void PageDriver::tapBarButton(ViewFinder::BarItem item) {
    finder().requirePageOnTop();
    Ref<UIView> button = ViewFinder::barButton(_host.navigationController()->navigationBar(), item);
    if (!button) {
        HostError::throwStep(std::string("the navigation bar has no ") +
                             (item == ViewFinder::BarItem::Left ? "left" : "right") + " button");
    }
    tap(button);
}

void PageDriver::goBack() {
    finder().requirePageOnTop();
    if (_host.shownController() == _host.controller()) {
        HostError::throwStep("the bundle's own page is shown; there is no page to go back from");
    }
    Ref<UIView> back = ViewFinder::barButton(_host.navigationController()->navigationBar(),
                                             ViewFinder::BarItem::Back);
    if (!back) {
        HostError::throwStep("the shown page has no back button");
    }
    tap(back);
}

Value PageDriver::stored(const PageHost::Row& row) {
    return row.specifier->performGetter();
}

std::string PageDriver::shown(const PageHost::Row& row) {
    for (const Ref<UIView>& view : ViewFinder::allViews(row.cell)) {
        if (auto control = objc_cast<UISwitch>(view)) {
            return control->isOn() ? "on" : "off";
        }
        if (auto control = objc_cast<UISegmentedControl>(view)) {
            const long index = control->selectedSegmentIndex();
            return index < 0
                       ? "none"
                       : control->titleForSegmentAtIndex(static_cast<size_t>(index)).value_or("");
        }
        if (auto control = objc_cast<UISlider>(view)) {
            return PSTableCell::textForValue(Value(static_cast<double>(control->value())))
                .value_or("");
        }
        if (auto control = objc_cast<UITextField>(view)) {
            return control->text();
        }
    }
    if (Ref<UILabel> detail = row.cell->detailTextLabel()) {
        return detail->text().value_or("");
    }
    return row.cell->textLabel()->text().value_or("");
}
