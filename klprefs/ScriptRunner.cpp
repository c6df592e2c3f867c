#include "ScriptRunner.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include <Foundation/NSException.h>
#include <MessageUI/MFMailComposeViewController.h>
#include <Preferences/PSListItemsController.h>
#include <SafariServices/SFSafariViewController.h>
#include <UIKit/SDKMenuViewController.h>
#include <UIKit/UIActivityViewController.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UIColorPickerViewController.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UISegmentedControl.h>
#include <UIKit/UISlider.h>
#include <UIKit/UIStepper.h>
#include <UIKit/UISwitch.h>
#include <UIKit/UITextField.h>

#include "HostError.h"
#include "automation/ColorPickerProcess.h"
#include "automation/Finger.h"
#include "automation/Gestures.h"
#include "automation/Keyboard.h"
#include "automation/ViewFinder.h"

namespace {

[[noreturn]] void fail(const std::string& message) {
    throw HostError(HostError::Kind::Step, message);
}

bool isDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

double number(const std::string& text, const char* what) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value)) {
        fail(std::string(what) + " wants a number, not " + HostError::quoted(text));
    }
    return value;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    const size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

void arguments(const ScriptStep& step, size_t least, size_t most, const char* form) {
    if (step.arguments.size() < least || step.arguments.size() > most) {
        fail(step.command + " is written " + form);
    }
}

// A stored value as a script writes it: nil, true or false, a number, a text.
std::string scriptText(const Value& value) {
    if (value.isNil()) {
        return "nil";
    }
    if (value.type() == Value::Type::Boolean) {
        return value.boolValue() ? "true" : "false";
    }
    return PSTableCell::textForValue(value).value_or("(not a text or number)");
}

// What a row shows: its control's state, else its value text, else its title.
std::string shownText(const PageHost::Row& row) {
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

} // namespace

Ref<UIColor> ScriptRunner::parseColor(const std::string& text) {
    const char* form = "pick wants a colour as #RRGGBB, #RRGGBBAA or rgba(R, G, B, A), not ";
    if (text.rfind("rgba(", 0) == 0) {
        if (text.back() != ')') {
            fail(form + HostError::quoted(text));
        }
        // Exact components, past 0 to 1 too, so that a row's rounding and
        // clamping can be tried.
        std::vector<double> components;
        std::string rest = text.substr(5, text.size() - 6);
        size_t start = 0;
        for (;;) {
            const size_t comma = rest.find(',', start);
            components.push_back(number(
                trimmed(rest.substr(start, comma == std::string::npos ? comma : comma - start)),
                "a component of rgba()"));
            if (comma == std::string::npos) {
                break;
            }
            start = comma + 1;
        }
        if (components.size() != 4) {
            fail("rgba() wants four components, not " + std::to_string(components.size()));
        }
        return UIColor::colorWithRed(components[0], components[1], components[2], components[3]);
    }
    const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    const bool hex =
        std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c); });
    if (!hex || (digits.size() != 6 && digits.size() != 8)) {
        fail(form + HostError::quoted(text));
    }
    auto byte = [&](size_t index) {
        return std::strtol(digits.substr(index * 2, 2).c_str(), nullptr, 16) / 255.0;
    };
    return UIColor::colorWithRed(byte(0), byte(1), byte(2), digits.size() == 8 ? byte(3) : 1.0);
}

ScriptRunner::ScriptRunner(PageHost& host, Warning warning)
    : _host(host), _warning(std::move(warning)) {}

const std::map<std::string, ScriptRunner::Handler>& ScriptRunner::handlers() {
    static const std::map<std::string, Handler> table = {
        {"tap", &ScriptRunner::tap},         {"pick", &ScriptRunner::pick},
        {"drag", &ScriptRunner::drag},       {"press", &ScriptRunner::press},
        {"type", &ScriptRunner::type},       {"button", &ScriptRunner::button},
        {"dismiss", &ScriptRunner::dismiss}, {"bar", &ScriptRunner::bar},
        {"toggle", &ScriptRunner::toggle},   {"segment", &ScriptRunner::segment},
        {"enter", &ScriptRunner::enter},     {"choose", &ScriptRunner::choose},
        {"back", &ScriptRunner::back},       {"expect", &ScriptRunner::expect},
    };
    return table;
}

void ScriptRunner::run(const std::vector<ScriptStep>& steps) {
    _host.takeLoggedErrors();
    for (const ScriptStep& step : steps) {
        auto handler = handlers().find(step.command);
        try {
            if (handler == handlers().end()) {
                fail("unknown step " + HostError::quoted(step.command) +
                     " (tap, pick, drag, press, type, button, choose, dismiss, bar, toggle, "
                     "segment, enter, back or expect)");
            }
            (this->*handler->second)(step);
            _host.settle();
            _host.relaunchIfRestarted();
        } catch (const HostError& error) {
            throw HostError(HostError::Kind::Step, error.what(), step.line);
        } catch (const NSException& exception) {
            // The platform would end the app here; the host reports it instead.
            throw HostError(HostError::Kind::Step,
                            std::string("the page raised ") + exception.what(), step.line);
        }
        for (const std::string& message : _host.takeLoggedErrors()) {
            _warning(step.line, message);
        }
    }
}

void ScriptRunner::tap(const ScriptStep& step) {
    arguments(step, 1, 2, "tap ROW, tap ROW VIEW or tap header VIEW");
    ViewFinder finder(_host);
    finder.requirePageOnTop();
    Finger finger(_host.window());
    if (step.arguments[0] == "header" && step.arguments.size() == 2) {
        finger.tap(finder.headerView(step.arguments[1]));
        return;
    }
    const PageHost::Row row = finder.row(step.arguments[0]);
    if (step.arguments.size() == 1) {
        finger.tapRow(row.cell);
        return;
    }
    finger.tap(finder.view(row, step.arguments[1]));
}

void ScriptRunner::pick(const ScriptStep& step) {
    if (step.arguments.empty()) {
        fail("pick is written pick #RRGGBB, pick #RRGGBBAA or pick rgba(R, G, B, A)");
    }
    std::string text;
    for (const std::string& argument : step.arguments) {
        text += (text.empty() ? "" : " ") + argument;
    }
    if (text.rfind("rgba(", 0) != 0) {
        arguments(step, 1, 1, "pick #RRGGBB, pick #RRGGBBAA or pick rgba(R, G, B, A)");
    }
    Ref<UIColor> color = parseColor(text);
    ColorPickerProcess::reportPick(
        ViewFinder(_host).presented<UIColorPickerViewController>("colour picker"), color);
}

void ScriptRunner::drag(const ScriptStep& step) {
    arguments(step, 3, 3, "drag ROW to VALUE");
    if (step.arguments[1] != "to") {
        fail("drag is written drag ROW to VALUE");
    }
    const double value = number(step.arguments[2], "drag");
    ViewFinder finder(_host);
    finder.requirePageOnTop();
    const PageHost::Row row = finder.row(step.arguments[0]);
    Ref<UISlider> slider = finder.control<UISlider>(row, "slider");
    if (!slider->isEnabled()) {
        fail("the slider of " + ViewFinder::describeRow(row) + " is disabled");
    }
    Finger finger(_host.window());
    Gestures::dragSlider(finger, slider, static_cast<float>(value));
}

void ScriptRunner::press(const ScriptStep& step) {
    arguments(step, 2, 4, "press ROW minus|plus [hold N]");
    const std::string& which = step.arguments[1];
    if (which != "minus" && which != "plus") {
        fail("press wants minus or plus, not " + HostError::quoted(which));
    }
    size_t repeats = 0;
    if (step.arguments.size() > 2) {
        if (step.arguments.size() != 4 || step.arguments[2] != "hold" ||
            !isDigits(step.arguments[3])) {
            fail("press is written press ROW minus|plus [hold N], N a count of repeats");
        }
        const std::string& count = step.arguments[3];
        if (count.size() > 9 || std::stoul(count) > kMaximumHoldRepeats) {
            fail("hold " + count +
                 " is longer than a person holds a button: a minute's hold "
                 "repeats the step at most " +
                 std::to_string(kMaximumHoldRepeats) + " times");
        }
        repeats = std::stoul(count);
    }
    ViewFinder finder(_host);
    finder.requirePageOnTop();
    const PageHost::Row row = finder.row(step.arguments[0]);
    Ref<UIStepper> stepper = finder.control<UIStepper>(row, "stepper");
    const UIStepper::Button button =
        which == "plus" ? UIStepper::Button::Increment : UIStepper::Button::Decrement;
    if (!stepper->isButtonEnabled(button)) {
        fail("the " + which + " button of " + ViewFinder::describeRow(row) + " is disabled");
    }
    Finger finger(_host.window());
    Gestures::pressStepper(finger, stepper, which == "plus", repeats);
}

void ScriptRunner::type(const ScriptStep& step) {
    arguments(step, 1, 1, "type TEXT");
    Ref<UIAlertController> alert = ViewFinder(_host).presented<UIAlertController>("alert");
    if (alert->textFields().empty()) {
        fail("the presented alert has no text field");
    }
    // The finger puts the caret in the first field; the keyboard empties it and types.
    Finger(_host.window()).tap(alert->textFields().front());
    Keyboard keyboard(_host.window());
    keyboard.deleteAll();
    keyboard.type(step.arguments[0]);
}

void ScriptRunner::button(const ScriptStep& step) {
    arguments(step, 1, 1, "button TITLE");
    Ref<UIViewController> top = ViewFinder(_host).presented<UIViewController>("screen");
    auto alert = objc_cast<UIAlertController>(top);
    if (!alert) {
        // Any other screen (a menu, the browser, the mail composer): the button
        // showing the title.
        Ref<UIButton> button = ViewFinder::buttonTitled(top->view(), step.arguments[0]);
        if (!button || button->isHidden() || !button->isEnabled()) {
            fail("the presented " + top->className() + " has no button " +
                 HostError::quoted(step.arguments[0]));
        }
        Finger(_host.window()).tap(button);
        return;
    }
    for (size_t i = 0; i < alert->actions().size(); ++i) {
        const Ref<UIAlertAction>& action = alert->actions()[i];
        if (action->title() == step.arguments[0] && action->isEnabled()) {
            Finger(_host.window()).tap(alert->actionButtons().at(i));
            return;
        }
    }
    std::string titles;
    for (const Ref<UIAlertAction>& action : alert->actions()) {
        if (action->isEnabled()) {
            titles +=
                (titles.empty() ? "" : ", ") + HostError::quoted(action->title().value_or(""));
        }
    }
    fail("the alert has no button " + HostError::quoted(step.arguments[0]) +
         (titles.empty() ? "" : " (its buttons: " + titles + ")"));
}

void ScriptRunner::dismiss(const ScriptStep& step) {
    arguments(step, 0, 0, "dismiss, alone");
    Ref<UIViewController> top = ViewFinder(_host).presented<UIViewController>("screen");
    if (objc_cast<UIAlertController>(top)) {
        fail("an alert closes with one of its buttons; use button TITLE");
    }
    Finger finger(_host.window());
    if (auto picker = objc_cast<UIColorPickerViewController>(top)) {
        finger.tap(picker->closeButton());
        return;
    }
    if (objc_cast<SFSafariViewController>(top)) {
        if (Ref<UIButton> done = ViewFinder::buttonTitled(top->view(), "Done")) {
            finger.tap(done);
            return;
        }
    }
    if (auto sheet = objc_cast<UIActivityViewController>(top)) {
        finger.tap(sheet->closeButton());
        return;
    }
    if (objc_cast<MFMailComposeViewController>(top)) {
        fail("the mail composer closes with its buttons: button Send, or button Cancel then "
             "button \"Delete Draft\" or button \"Save Draft\"");
    }
    if (auto menu = objc_cast<SDKMenuViewController>(top)) {
        // A touch beside the menu closes it.
        const CGRect panel = menu->panel()->convertRectToView(menu->panel()->bounds(), nullptr);
        const CGRect screen = _host.window()->screenRect();
        const CGFloat y = panel.origin.y > screen.size.height / 2 ? 8 : screen.size.height - 8;
        finger.tapInWindow(CGPointMake(8, y));
        return;
    }
    // Any other sheet is swiped away, which the system carries out.
    top->dismissViewControllerAnimated(true, nullptr);
}

void ScriptRunner::bar(const ScriptStep& step) {
    arguments(step, 1, 1, "bar left or bar right");
    ViewFinder(_host).requirePageOnTop();
    const std::string& which = step.arguments[0];
    Ref<UINavigationBar> navigationBar = _host.navigationController()->navigationBar();
    Ref<UIView> button;
    if (which == "left") {
        button = navigationBar->leftButton();
    } else if (which == "right") {
        button = navigationBar->rightButton();
    } else {
        fail("bar wants left or right, not " + HostError::quoted(which));
    }
    if (!button) {
        fail("the navigation bar has no " + which + " button");
    }
    Finger(_host.window()).tap(button);
}

void ScriptRunner::choose(const ScriptStep& step) {
    arguments(step, 1, 1, "choose TITLE");
    ViewFinder finder(_host);
    // A list of choices a list link opened: the entry is tapped, stored and
    // the list closes.
    if (!finder.topScreen() && objc_cast<PSListItemsController>(_host.shownController())) {
        Finger(_host.window()).tapRow(finder.row(step.arguments[0]).cell);
        return;
    }
    auto menu = finder.presented<SDKMenuViewController>("menu");
    std::string titles;
    for (const auto& [action, row] : menu->rows()) {
        if (action->title() == step.arguments[0]) {
            Finger(_host.window()).tap(row);
            return;
        }
        titles += (titles.empty() ? "" : ", ") + HostError::quoted(action->title());
    }
    fail("the menu has no item " + HostError::quoted(step.arguments[0]) +
         (titles.empty() ? "" : " (its items: " + titles + ")"));
}

void ScriptRunner::toggle(const ScriptStep& step) {
    arguments(step, 1, 1, "toggle ROW");
    ViewFinder finder(_host);
    finder.requirePageOnTop();
    Ref<UISwitch> control = finder.control<UISwitch>(finder.row(step.arguments[0]), "switch");
    Finger(_host.window()).tap(control);
}

void ScriptRunner::segment(const ScriptStep& step) {
    arguments(step, 2, 2, "segment ROW TITLE");
    ViewFinder finder(_host);
    finder.requirePageOnTop();
    const PageHost::Row row = finder.row(step.arguments[0]);
    Ref<UISegmentedControl> control = finder.control<UISegmentedControl>(row, "segmented control");
    std::string titles;
    for (size_t i = 0; i < control->numberOfSegments(); ++i) {
        const std::string title = control->titleForSegmentAtIndex(i).value_or("");
        if (title == step.arguments[1]) {
            const CGRect rect = control->rectForSegmentAtIndex(i);
            Finger(_host.window())
                .tapAt(control, CGPointMake(CGRectGetMidX(rect), CGRectGetMidY(rect)));
            return;
        }
        titles += (titles.empty() ? "" : ", ") + HostError::quoted(title);
    }
    fail(ViewFinder::describeRow(row) + " has no segment " + HostError::quoted(step.arguments[1]) +
         " (its segments: " + titles + ")");
}

void ScriptRunner::enter(const ScriptStep& step) {
    arguments(step, 2, 2, "enter ROW TEXT");
    ViewFinder finder(_host);
    finder.requirePageOnTop();
    Ref<UITextField> field =
        finder.control<UITextField>(finder.row(step.arguments[0]), "text field");
    // The finger puts the caret in the field; the keyboard replaces its text
    // and its return key ends the editing.
    Finger(_host.window()).tap(field);
    Keyboard keyboard(_host.window());
    keyboard.deleteAll();
    keyboard.type(step.arguments[1]);
    keyboard.pressReturn();
}

void ScriptRunner::back(const ScriptStep& step) {
    arguments(step, 0, 0, "back, alone");
    ViewFinder finder(_host);
    finder.requirePageOnTop();
    if (_host.shownController() == _host.controller()) {
        fail("the bundle's own page is shown; there is no page to go back from");
    }
    Finger(_host.window()).tap(_host.navigationController()->navigationBar()->backButton());
}

void ScriptRunner::expect(const ScriptStep& step) {
    if (step.arguments.size() != 3 && !step.arguments.empty() && step.arguments[0] == "image") {
        if (!_pictures) {
            fail("expect image compares with reference pictures, which klprefs test keeps");
        }
        _pictures->expect(_host, {step.arguments.begin() + 1, step.arguments.end()});
        return;
    }
    arguments(step, 3, 3, "expect ROW stored|shown VALUE or expect image NAME [row ROW]");
    const std::string& what = step.arguments[1];
    if (what != "stored" && what != "shown") {
        fail("expect compares what is stored or shown, not " + HostError::quoted(what));
    }
    const PageHost::Row row = ViewFinder(_host).row(step.arguments[0]);
    const std::string actual =
        what == "stored" ? scriptText(row.specifier->performGetter()) : shownText(row);
    if (actual != step.arguments[2]) {
        fail("expected " + ViewFinder::describeRow(row) + " to have " +
             HostError::quoted(step.arguments[2]) + " " + what + ", found " +
             HostError::quoted(actual));
    }
}
