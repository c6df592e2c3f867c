#include "GestureSteps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <Preferences/PSListItemsController.h>
#include <UIKit/SDKMenuViewController.h>
#include <UIKit/UIAction.h>
#include <UIKit/UIActivityViewController.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIColorPickerViewController.h>
#include <UIKit/UIControl.h>
#include <UIKit/UINavigationBar.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UISegmentedControl.h>
#include <UIKit/UISlider.h>
#include <UIKit/UIStepper.h>
#include <UIKit/UISwitch.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITextField.h>
#include <UIKit/UIWindow.h>

#include "ScriptRecorder.h"
#include "automation/ViewFinder.h"

namespace {

bool within(const Ref<UIView>& view, const Ref<UIView>& container) {
    return view && container && (view == container || view->isDescendantOfView(container.get()));
}

// The view under the finger that takes touches of its own (a control, a
// view with a gesture), below `root`; nil when none does.
Ref<UIView> touchTaker(Ref<UIView> view, const Ref<UIView>& root) {
    for (; view && view != root; view = view->superview()) {
        if (objc_cast<UIControl>(view) || !view->gestureRecognizers().empty()) {
            return view;
        }
    }
    return nullptr;
}

// The subview indices that lead from `root` to `view`, as "path:I.J.K".
std::string pathFrom(const Ref<UIView>& root, Ref<UIView> view) {
    std::string path;
    for (; view && view != root; view = view->superview()) {
        const auto& siblings = view->superview()->subviews();
        const size_t index = static_cast<size_t>(std::find(siblings.begin(), siblings.end(), view) -
                                                 siblings.begin());
        path = std::to_string(index) + (path.empty() ? "" : "." + path);
    }
    return "path:" + path;
}

std::string step(const std::string& command, const std::string& text) {
    if (std::optional<std::string> argument = ScriptRecorder::argument(text)) {
        return command + " " + *argument;
    }
    return "";
}

GestureSteps::Action stepAction(const std::string& line) {
    GestureSteps::Action action;
    if (!line.empty()) {
        action.step = line;
    }
    return action;
}

// The title of the segment under a point of the window; nil between segments.
std::optional<std::string> segmentTitleAt(const PageHost& host,
                                          const Ref<UISegmentedControl>& control, CGPoint point) {
    const CGPoint inside = host.window()->convertPointToView(point, control);
    for (size_t i = 0; i < control->numberOfSegments(); ++i) {
        if (CGRectContainsPoint(control->rectForSegmentAtIndex(i), inside)) {
            return control->titleForSegmentAtIndex(i).value_or("");
        }
    }
    return std::nullopt;
}

// The value text of a slider's thumb moved by `dx` points: enough digits
// for a thousandth of its range.
std::string sliderValueAfter(const Ref<UISlider>& slider, CGFloat dx) {
    const CGRect bounds = slider->bounds();
    const CGRect track = slider->trackRectForBounds(bounds);
    const CGRect thumb = slider->thumbRectForBounds(bounds, track, slider->value());
    const CGFloat radius = UISlider::kThumbDiameter / 2;
    const CGFloat travel = std::max(1.0, track.size.width - 2 * radius);
    const double minimum = slider->minimumValue(), maximum = slider->maximumValue();
    double fraction =
        std::clamp((CGRectGetMidX(thumb) + dx - track.origin.x - radius) / travel, 0.0, 1.0);
    if (slider->effectiveUserInterfaceLayoutDirection() ==
        UIUserInterfaceLayoutDirectionRightToLeft) {
        fraction = std::clamp((CGRectGetMaxX(track) - radius - CGRectGetMidX(thumb) - dx) / travel,
                              0.0, 1.0);
    }
    const double value = minimum + fraction * (maximum - minimum);
    const double range = std::max(maximum - minimum, 1e-9);
    const int decimals = std::clamp(3 - static_cast<int>(std::floor(std::log10(range))), 0, 9);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

} // namespace

GestureSteps::Action GestureSteps::click(const PageHost& host, CGPoint point) {
    Ref<UIView> hit = host.window()->hitTest(point);
    if (!hit) {
        return {};
    }
    if (Ref<UIViewController> screen = ViewFinder(host).topScreen()) {
        return onPresentedScreen(host, screen, hit, point);
    }
    return onPage(host, hit, point);
}

GestureSteps::Action GestureSteps::drag(const PageHost& host, CGPoint from, CGPoint to) {
    if (std::hypot(to.x - from.x, to.y - from.y) < kClickDistance) {
        return click(host, from);
    }
    Ref<UIView> hit = host.window()->hitTest(from);
    ViewFinder finder(host);
    if (Ref<UIViewController> screen = finder.topScreen()) {
        // The colour picker's content follows the finger itself.
        if (auto picker = objc_cast<UIColorPickerViewController>(screen);
            picker && within(hit, picker->view())) {
            Action action;
            action.pickerTouch = true;
            return action;
        }
        return {};
    }
    for (const PageHost::Row& row : host.rows()) {
        if (!within(hit, row.cell)) {
            continue;
        }
        auto slider = objc_cast<UISlider>(touchTaker(hit, row.cell));
        if (!slider || !slider->isEnabled()) {
            return {};
        }
        // Only the thumb drags; a drag that starts elsewhere on the track does nothing.
        const CGRect bounds = slider->bounds();
        const CGRect thumb =
            slider->thumbRectForBounds(bounds, slider->trackRectForBounds(bounds), slider->value());
        if (!CGRectContainsPoint(thumb, host.window()->convertPointToView(from, slider))) {
            return {};
        }
        return stepAction("drag " + ScriptRecorder::rowSelector(host, row) + " to " +
                          sliderValueAfter(slider, to.x - from.x));
    }
    return {};
}

GestureSteps::Action GestureSteps::onPresentedScreen(const PageHost& host,
                                                     const Ref<UIViewController>& screen,
                                                     const Ref<UIView>& hit, CGPoint point) {
    if (auto alert = objc_cast<UIAlertController>(screen)) {
        for (const Ref<UITextField>& field : alert->textFields()) {
            if (within(hit, field)) {
                Action action;
                action.focus = field;
                return action;
            }
        }
    }
    if (auto picker = objc_cast<UIColorPickerViewController>(screen)) {
        if (within(hit, ViewFinder::closeButton(picker->view()))) {
            return stepAction("dismiss");
        }
        // A way of picking: the segment's title, as a script presses it.
        if (auto ways = objc_cast<UISegmentedControl>(touchTaker(hit, picker->view()))) {
            const std::optional<std::string> title = segmentTitleAt(host, ways, point);
            return title ? stepAction(step("button", *title)) : Action{};
        }
        // The grid, the spectrum, a slider or the opacity track picks what
        // lies under the finger.
        Action action;
        action.pickerTouch = within(hit, picker->view());
        return action;
    }
    if (auto menu = objc_cast<SDKMenuViewController>(screen)) {
        for (const auto& [item, row] : menu->rows()) {
            if (within(hit, row)) {
                return stepAction(step("choose", item->title()));
            }
        }
        // Outside the menu's panel a touch dismisses it.
        return within(hit, menu->view()->subviews().front()) ? Action{} : stepAction("dismiss");
    }
    if (auto sheet = objc_cast<UIActivityViewController>(screen)) {
        if (within(hit, ViewFinder::closeButton(sheet->view()))) {
            return stepAction("dismiss");
        }
    }
    // An alert's buttons and any other screen's (the browser, the mail
    // composer): by title.
    if (auto button = objc_cast<UIButton>(touchTaker(hit, screen->view()))) {
        if (std::optional<std::string> title = button->currentTitle()) {
            return stepAction(step("button", *title));
        }
    }
    return {};
}

GestureSteps::Action GestureSteps::onPage(const PageHost& host, const Ref<UIView>& hit,
                                          CGPoint point) {
    Ref<UINavigationBar> bar = host.navigationController()->navigationBar();
    if (within(hit, bar)) {
        if (within(hit, ViewFinder::barButton(bar, ViewFinder::BarItem::Back)) &&
            host.shownController() != host.controller()) {
            return stepAction("back");
        }
        if (within(hit, ViewFinder::barButton(bar, ViewFinder::BarItem::Left))) {
            return stepAction("bar left");
        }
        if (within(hit, ViewFinder::barButton(bar, ViewFinder::BarItem::Right))) {
            return stepAction("bar right");
        }
        return {};
    }
    if (host.shownController() == host.controller()) {
        Ref<UIView> header = host.controller()->table()->tableHeaderView();
        if (within(hit, header)) {
            Ref<UIView> taker = touchTaker(hit, header);
            return taker ? stepAction("tap header " + pathFrom(header, taker)) : Action{};
        }
    }
    for (const PageHost::Row& row : host.rows()) {
        if (within(hit, row.cell)) {
            return onRow(host, row, hit, point);
        }
    }
    return {};
}

GestureSteps::Action GestureSteps::onRow(const PageHost& host, const PageHost::Row& row,
                                         const Ref<UIView>& hit, CGPoint point) {
    const std::string name = ScriptRecorder::rowSelector(host, row);
    // An entry of a list of choices is chosen.
    if (objc_cast<PSListItemsController>(host.shownController())) {
        return stepAction("choose " + name);
    }
    Ref<UIView> taker = touchTaker(hit, row.cell);
    if (!taker) {
        return stepAction("tap " + name);
    }
    if (objc_cast<UISwitch>(taker)) {
        return stepAction("toggle " + name);
    }
    if (auto control = objc_cast<UISegmentedControl>(taker)) {
        const std::optional<std::string> title = segmentTitleAt(host, control, point);
        return title ? stepAction(step("segment " + name, *title)) : Action{};
    }
    if (auto stepper = objc_cast<UIStepper>(taker)) {
        const CGPoint inside = host.window()->convertPointToView(point, stepper);
        return stepAction("press " + name +
                          (inside.x < stepper->bounds().size.width / 2 ? " minus" : " plus"));
    }
    if (objc_cast<UISlider>(taker)) {
        // A click on a slider moves nothing; its thumb is dragged.
        return {};
    }
    if (auto field = objc_cast<UITextField>(taker)) {
        Action action;
        action.focus = field;
        action.focusRow = name;
        return action;
    }
    return stepAction("tap " + name + " " + pathFrom(row.cell, taker));
}
