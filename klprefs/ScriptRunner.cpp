#include "ScriptRunner.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include <Foundation/NSException.h>
#include <UIKit/UIColor.h>

#include "HostError.h"

namespace {

bool isDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

double number(const std::string& text, const char* what) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value)) {
        HostError::throwStep(std::string(what) + " wants a number, not " + HostError::quoted(text));
    }
    return value;
}

std::string withoutBlanksAround(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    const size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

void arguments(const ScriptStep& step, size_t least, size_t most, const char* form) {
    if (step.arguments.size() < least || step.arguments.size() > most) {
        HostError::throwStep(step.command + " is written " + form);
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

} // namespace

std::string ScriptRunner::expectedText(const PageHost::Row& row, bool stored) {
    return stored ? scriptText(PageDriver::stored(row)) : PageDriver::shown(row);
}

Ref<UIColor> ScriptRunner::parseColor(const std::string& text) {
    const char* form = "pick wants a colour as #RRGGBB, #RRGGBBAA or rgba(R, G, B, A), not ";
    if (text.rfind("rgba(", 0) == 0) {
        if (text.back() != ')') {
            HostError::throwStep(form + HostError::quoted(text));
        }
        // Exact components, past 0 to 1 too, so that a row's rounding and
        // clamping can be tried.
        std::vector<double> components;
        std::string rest = text.substr(5, text.size() - 6);
        size_t start = 0;
        for (;;) {
            const size_t comma = rest.find(',', start);
            components.push_back(
                number(withoutBlanksAround(
                           rest.substr(start, comma == std::string::npos ? comma : comma - start)),
                       "a component of rgba()"));
            if (comma == std::string::npos) {
                break;
            }
            start = comma + 1;
        }
        if (components.size() != 4) {
            HostError::throwStep("rgba() wants four components, not " +
                                 std::to_string(components.size()));
        }
        return UIColor::colorWithRed(components[0], components[1], components[2], components[3]);
    }
    const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    const bool hex =
        std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c); });
    if (!hex || (digits.size() != 6 && digits.size() != 8)) {
        HostError::throwStep(form + HostError::quoted(text));
    }
    auto byte = [&](size_t index) {
        return std::strtol(digits.substr(index * 2, 2).c_str(), nullptr, 16) / 255.0;
    };
    return UIColor::colorWithRed(byte(0), byte(1), byte(2), digits.size() == 8 ? byte(3) : 1.0);
}

ScriptRunner::ScriptRunner(PageHost& host, Warning warning)
    : _host(host), _driver(host), _warning(std::move(warning)) {}

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
                HostError::throwStep(
                    "unknown step " + HostError::quoted(step.command) +
                    " (tap, pick, drag, press, type, button, choose, dismiss, bar, toggle, "
                    "segment, enter, back or expect)");
            }
            (this->*handler->second)(step);
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
    if (step.arguments[0] == "header" && step.arguments.size() == 2) {
        _driver.tapInHeader(step.arguments[1]);
    } else if (step.arguments.size() == 1) {
        _driver.tapRow(step.arguments[0]);
    } else {
        _driver.tapInRow(step.arguments[0], step.arguments[1]);
    }
}

void ScriptRunner::pick(const ScriptStep& step) {
    if (step.arguments.empty()) {
        HostError::throwStep(
            "pick is written pick #RRGGBB, pick #RRGGBBAA or pick rgba(R, G, B, A)");
    }
    std::string text;
    for (const std::string& argument : step.arguments) {
        text += (text.empty() ? "" : " ") + argument;
    }
    if (text.rfind("rgba(", 0) != 0) {
        arguments(step, 1, 1, "pick #RRGGBB, pick #RRGGBBAA or pick rgba(R, G, B, A)");
    }
    _driver.pickColor(parseColor(text));
}

void ScriptRunner::drag(const ScriptStep& step) {
    arguments(step, 3, 3, "drag ROW to VALUE");
    if (step.arguments[1] != "to") {
        HostError::throwStep("drag is written drag ROW to VALUE");
    }
    const double value = number(step.arguments[2], "drag");
    _driver.dragSlider(step.arguments[0], static_cast<float>(value));
}

void ScriptRunner::press(const ScriptStep& step) {
    arguments(step, 2, 4, "press ROW minus|plus [hold N]");
    const std::string& which = step.arguments[1];
    if (which != "minus" && which != "plus") {
        HostError::throwStep("press wants minus or plus, not " + HostError::quoted(which));
    }
    size_t repeats = 0;
    if (step.arguments.size() > 2) {
        if (step.arguments.size() != 4 || step.arguments[2] != "hold" ||
            !isDigits(step.arguments[3])) {
            HostError::throwStep(
                "press is written press ROW minus|plus [hold N], N a count of repeats");
        }
        const std::string& count = step.arguments[3];
        if (count.size() > 9 || std::stoul(count) > kMaximumHoldRepeats) {
            HostError::throwStep("hold " + count +
                                 " is longer than a person holds a button: a minute's hold "
                                 "repeats the step at most " +
                                 std::to_string(kMaximumHoldRepeats) + " times");
        }
        repeats = std::stoul(count);
    }
    _driver.pressStepper(
        step.arguments[0],
        which == "plus" ? UIStepper::Button::Increment : UIStepper::Button::Decrement, repeats);
}

void ScriptRunner::type(const ScriptStep& step) {
    arguments(step, 1, 1, "type TEXT");
    _driver.typeIntoAlert(step.arguments[0]);
}

void ScriptRunner::button(const ScriptStep& step) {
    arguments(step, 1, 1, "button TITLE");
    _driver.pressButton(step.arguments[0]);
}

void ScriptRunner::dismiss(const ScriptStep& step) {
    arguments(step, 0, 0, "dismiss, alone");
    _driver.dismiss();
}

void ScriptRunner::bar(const ScriptStep& step) {
    arguments(step, 1, 1, "bar left or bar right");
    const std::string& which = step.arguments[0];
    if (which != "left" && which != "right") {
        // The page must be on top before the side is read, as for every bar step.
        _driver.finder().requirePageOnTop();
        HostError::throwStep("bar wants left or right, not " + HostError::quoted(which));
    }
    _driver.tapBarButton(which == "left" ? ViewFinder::BarItem::Left : ViewFinder::BarItem::Right);
}

void ScriptRunner::choose(const ScriptStep& step) {
    arguments(step, 1, 1, "choose TITLE");
    _driver.chooseItem(step.arguments[0]);
}

void ScriptRunner::toggle(const ScriptStep& step) {
    arguments(step, 1, 1, "toggle ROW");
    _driver.toggle(step.arguments[0]);
}

void ScriptRunner::segment(const ScriptStep& step) {
    arguments(step, 2, 2, "segment ROW TITLE");
    _driver.chooseSegment(step.arguments[0], step.arguments[1]);
}

void ScriptRunner::enter(const ScriptStep& step) {
    arguments(step, 2, 2, "enter ROW TEXT");
    _driver.enterText(step.arguments[0], step.arguments[1]);
}

void ScriptRunner::back(const ScriptStep& step) {
    arguments(step, 0, 0, "back, alone");
    _driver.goBack();
}

void ScriptRunner::expect(const ScriptStep& step) {
    if (step.arguments.size() != 3 && !step.arguments.empty() && step.arguments[0] == "image") {
        if (!_pictures) {
            HostError::throwStep(
                "expect image compares with reference pictures, which klprefs test keeps");
        }
        _pictures->expect(_host, {step.arguments.begin() + 1, step.arguments.end()});
        return;
    }
    arguments(step, 3, 3, "expect ROW stored|shown VALUE or expect image NAME [row ROW]");
    const std::string& what = step.arguments[1];
    if (what != "stored" && what != "shown") {
        HostError::throwStep("expect compares what is stored or shown, not " +
                             HostError::quoted(what));
    }
    const PageHost::Row row = _driver.finder().row(step.arguments[0]);
    const std::string actual = expectedText(row, what == "stored");
    if (actual != step.arguments[2]) {
        HostError::throwStep("expected " + ViewFinder::describeRow(row) + " to have " +
                             HostError::quoted(step.arguments[2]) + " " + what + ", found " +
                             HostError::quoted(actual));
    }
}
