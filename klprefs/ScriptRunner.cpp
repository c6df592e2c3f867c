#include "ScriptRunner.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include <Foundation/NSException.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UIColorPickerViewController.h>
#include <UIKit/UISlider.h>
#include <UIKit/UIStepper.h>
#include <render/SDKViewInspector.h>

#include "HostError.h"

namespace {

[[noreturn]] void fail(const std::string& message) {
    throw HostError(HostError::Kind::Step, message);
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

bool isIndex(const std::string& text) {
    return !text.empty() && text.size() < 10 &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

double number(const std::string& text, const char* what) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value)) {
        fail(std::string(what) + " wants a number, not " + quoted(text));
    }
    return value;
}

// "#RRGGBB" or "#RRGGBBAA", the "#" optional.
Ref<UIColor> parseColor(const std::string& text) {
    const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    const bool hex =
        std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c); });
    if (!hex || (digits.size() != 6 && digits.size() != 8)) {
        fail("pick wants a colour as #RRGGBB or #RRGGBBAA, not " + quoted(text));
    }
    auto byte = [&](size_t index) {
        return std::strtol(digits.substr(index * 2, 2).c_str(), nullptr, 16) / 255.0;
    };
    return UIColor::colorWithRed(byte(0), byte(1), byte(2), digits.size() == 8 ? byte(3) : 1.0);
}

void arguments(const ScriptStep& step, size_t least, size_t most, const char* form) {
    if (step.arguments.size() < least || step.arguments.size() > most) {
        fail(step.command + " is written " + form);
    }
}

template <class V> void collect(const Ref<UIView>& view, std::vector<Ref<V>>& found) {
    if (Ref<V> match = objc_cast<V>(view)) {
        found.push_back(match);
    }
    for (const Ref<UIView>& subview : view->subviews()) {
        collect(subview, found);
    }
}

void collectAll(const Ref<UIView>& view, std::vector<Ref<UIView>>& found) {
    found.push_back(view);
    for (const Ref<UIView>& subview : view->subviews()) {
        collectAll(subview, found);
    }
}

// What a row is called on screen: its label, or the "title" that rows
// without one show instead.
std::optional<std::string> rowName(const PageHost::Row& row) {
    if (std::optional<std::string> name = row.specifier->name()) {
        return name;
    }
    return row.specifier->propertyForKey("title").optionalString();
}

std::string describeRow(const PageHost::Row& row) {
    const std::optional<std::string> name = rowName(row);
    return "row " + std::to_string(row.index) + (name ? " (" + quoted(*name) + ")" : "");
}

} // namespace

ScriptRunner::ScriptRunner(PageHost& host, Warning warning)
    : _host(host), _warning(std::move(warning)) {}

const std::map<std::string, ScriptRunner::Handler>& ScriptRunner::handlers() {
    static const std::map<std::string, Handler> table = {
        {"tap", &ScriptRunner::tap},         {"pick", &ScriptRunner::pick},
        {"drag", &ScriptRunner::drag},       {"press", &ScriptRunner::press},
        {"type", &ScriptRunner::type},       {"button", &ScriptRunner::button},
        {"dismiss", &ScriptRunner::dismiss},
    };
    return table;
}

void ScriptRunner::run(const std::vector<ScriptStep>& steps) {
    _host.takeLoggedErrors();
    for (const ScriptStep& step : steps) {
        auto handler = handlers().find(step.command);
        try {
            if (handler == handlers().end()) {
                fail("unknown step " + quoted(step.command) +
                     " (tap, pick, drag, press, type, button or dismiss)");
            }
            (this->*handler->second)(step);
            _host.settle();
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

PageHost::Row ScriptRunner::findRow(const std::string& selector) const {
    const std::vector<PageHost::Row> rows = _host.rows();
    if (isIndex(selector)) {
        const size_t index = std::stoul(selector);
        if (index >= rows.size()) {
            fail("no row " + selector + ": the page has " + std::to_string(rows.size()) +
                 " rows, numbered from 0");
        }
        return rows[index];
    }
    const bool byKey = selector.rfind("key:", 0) == 0;
    const std::string wanted = byKey                              ? selector.substr(4)
                               : selector.rfind("label:", 0) == 0 ? selector.substr(6)
                                                                  : selector;
    std::vector<PageHost::Row> matches;
    for (const PageHost::Row& row : rows) {
        const std::optional<std::string> text =
            byKey ? row.specifier->propertyForKey("key").optionalString() : rowName(row);
        if (text == wanted) {
            matches.push_back(row);
        }
    }
    const char* by = byKey ? "key" : "label";
    if (matches.empty()) {
        fail(std::string("no row with the ") + by + " " + quoted(wanted));
    }
    if (matches.size() > 1) {
        fail(std::string("the ") + by + " " + quoted(wanted) + " names " +
             std::to_string(matches.size()) + " rows; use the row's index");
    }
    if (!matches.front().cell) {
        fail(describeRow(matches.front()) + " has no cell");
    }
    return matches.front();
}

Ref<UIView> ScriptRunner::findView(const PageHost::Row& row, const std::string& selector) const {
    Ref<UIView> cell = row.cell;
    if (selector.rfind("path:", 0) == 0) {
        Ref<UIView> view = cell;
        const std::string path = selector.substr(5);
        size_t start = 0;
        while (start < path.size()) {
            const size_t dot = path.find('.', start);
            const std::string part =
                path.substr(start, dot == std::string::npos ? dot : dot - start);
            if (!isIndex(part) || std::stoul(part) >= view->subviews().size()) {
                fail(describeRow(row) + " has no view at path " + quoted(path));
            }
            view = view->subviews()[std::stoul(part)];
            start = dot == std::string::npos ? path.size() : dot + 1;
        }
        return view;
    }
    std::vector<Ref<UIView>> views;
    collectAll(cell, views);
    if (selector.rfind("class:", 0) == 0) {
        std::string name = selector.substr(6);
        size_t wantedIndex = 0;
        if (const size_t colon = name.find(':'); colon != std::string::npos) {
            if (!isIndex(name.substr(colon + 1))) {
                fail("class:NAME:N wants a number N, not " + quoted(name.substr(colon + 1)));
            }
            wantedIndex = std::stoul(name.substr(colon + 1));
            name = name.substr(0, colon);
        }
        size_t seen = 0;
        for (const Ref<UIView>& view : views) {
            if (view->className() == name && seen++ == wantedIndex) {
                return view;
            }
        }
        fail(describeRow(row) + " has " + std::to_string(seen) + " views of class " + name +
             (seen > 0 ? ", none numbered " + std::to_string(wantedIndex) : ""));
    }
    if (selector.rfind("text:", 0) == 0) {
        const Value wanted(selector.substr(5));
        SDKViewInspector inspector;
        for (const Ref<UIView>& view : views) {
            if (inspector.describeView(*view)["text"] == wanted) {
                return view;
            }
        }
        fail(describeRow(row) + " shows no text " + quoted(selector.substr(5)));
    }
    fail("a view is named path:I.J.K, class:NAME[:N] or text:TEXT, not " + quoted(selector));
}

template <class V>
Ref<V> ScriptRunner::findControl(const PageHost::Row& row, const char* what) const {
    std::vector<Ref<V>> found;
    collect<V>(row.cell, found);
    if (found.empty()) {
        fail(describeRow(row) + " has no " + what);
    }
    return found.front();
}

template <class V> Ref<V> ScriptRunner::presented(const char* what) const {
    Ref<UIViewController> top = _host.window()->topViewController();
    if (top == _host.window()->rootViewController()) {
        fail(std::string("no ") + what + " is presented");
    }
    Ref<V> screen = objc_cast<V>(top);
    if (!screen) {
        fail(std::string("the presented screen is a ") + top->className() + ", not a " + what);
    }
    return screen;
}

void ScriptRunner::requirePageOnTop() const {
    Ref<UIViewController> top = _host.window()->topViewController();
    if (top != _host.window()->rootViewController()) {
        fail("a " + top->className() + " is presented over the page; close it first");
    }
}

void ScriptRunner::tap(const ScriptStep& step) {
    arguments(step, 1, 2, "tap ROW or tap ROW VIEW");
    requirePageOnTop();
    const PageHost::Row row = findRow(step.arguments[0]);
    if (step.arguments.size() == 1) {
        _host.controller()->selectRowForSpecifier(row.specifier);
        return;
    }
    Ref<UIView> view = findView(row, step.arguments[1]);
    if (view->isHidden() || view->bounds().size.width <= 0 || view->bounds().size.height <= 0) {
        fail("the view " + quoted(step.arguments[1]) + " of " + describeRow(row) +
             " is not on screen");
    }
    const CGRect frame = view->convertRectToView(view->bounds(), nullptr);
    if (!_host.window()->tapAtPoint(CGPointMake(CGRectGetMidX(frame), CGRectGetMidY(frame)))) {
        fail("the tap on " + quoted(step.arguments[1]) + " landed on nothing");
    }
}

void ScriptRunner::pick(const ScriptStep& step) {
    arguments(step, 1, 1, "pick #RRGGBB or pick #RRGGBBAA");
    Ref<UIColor> color = parseColor(step.arguments[0]);
    presented<UIColorPickerViewController>("colour picker")->selectColor(color);
}

void ScriptRunner::drag(const ScriptStep& step) {
    arguments(step, 3, 3, "drag ROW to VALUE");
    if (step.arguments[1] != "to") {
        fail("drag is written drag ROW to VALUE");
    }
    const double value = number(step.arguments[2], "drag");
    requirePageOnTop();
    const PageHost::Row row = findRow(step.arguments[0]);
    Ref<UISlider> slider = findControl<UISlider>(row, "slider");
    if (!slider->isEnabled()) {
        fail("the slider of " + describeRow(row) + " is disabled");
    }
    if (!slider->dragToValue(static_cast<float>(value))) {
        fail("the slider of " + describeRow(row) +
             " could not be dragged: the finger landed elsewhere");
    }
}

void ScriptRunner::press(const ScriptStep& step) {
    arguments(step, 2, 4, "press ROW minus|plus [hold N]");
    const std::string& which = step.arguments[1];
    if (which != "minus" && which != "plus") {
        fail("press wants minus or plus, not " + quoted(which));
    }
    long repeats = 0;
    if (step.arguments.size() > 2) {
        if (step.arguments.size() != 4 || step.arguments[2] != "hold" ||
            !isIndex(step.arguments[3])) {
            fail("press is written press ROW minus|plus [hold N], N a count of repeats");
        }
        repeats = std::stol(step.arguments[3]);
    }
    requirePageOnTop();
    const PageHost::Row row = findRow(step.arguments[0]);
    Ref<UIStepper> stepper = findControl<UIStepper>(row, "stepper");
    const UIStepper::Button button =
        which == "plus" ? UIStepper::Button::Increment : UIStepper::Button::Decrement;
    if (!stepper->isButtonEnabled(button)) {
        fail("the " + which + " button of " + describeRow(row) + " is disabled");
    }
    if (!stepper->pressAndHold(button, repeats)) {
        fail("the stepper of " + describeRow(row) +
             " could not be pressed: the finger landed elsewhere");
    }
}

void ScriptRunner::type(const ScriptStep& step) {
    arguments(step, 1, 1, "type TEXT");
    Ref<UIAlertController> alert = presented<UIAlertController>("alert");
    if (alert->textFields().empty()) {
        fail("the presented alert has no text field");
    }
    const Ref<UITextField>& field = alert->textFields().front();
    field->clearText();
    field->typeText(step.arguments[0]);
}

void ScriptRunner::button(const ScriptStep& step) {
    arguments(step, 1, 1, "button TITLE");
    Ref<UIAlertController> alert = presented<UIAlertController>("alert");
    if (alert->tapActionWithTitle(step.arguments[0])) {
        return;
    }
    std::string titles;
    for (const Ref<UIAlertAction>& action : alert->actions()) {
        if (action->isEnabled()) {
            titles += (titles.empty() ? "" : ", ") + quoted(action->title().value_or(""));
        }
    }
    fail("the alert has no button " + quoted(step.arguments[0]) +
         (titles.empty() ? "" : " (its buttons: " + titles + ")"));
}

void ScriptRunner::dismiss(const ScriptStep& step) {
    arguments(step, 0, 0, "dismiss, alone");
    Ref<UIViewController> top = presented<UIViewController>("screen");
    if (objc_cast<UIAlertController>(top)) {
        fail("an alert closes with one of its buttons; use button TITLE");
    }
    if (auto picker = objc_cast<UIColorPickerViewController>(top)) {
        // The picker's close button: it dismisses itself and tells its delegate.
        picker->finish();
        return;
    }
    top->dismissViewControllerAnimated(true, nullptr);
}
