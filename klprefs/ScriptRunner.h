#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UIStepper.h>

#include "PageHost.h"
#include "ReferencePictures.h"
#include "ScriptStep.h"
#include "automation/PageDriver.h"

// Reads each script step as one call of the page driver (host/automation),
// which acts on the page as a person would: taps rows and views, drags
// sliders, presses steppers, flips switches, chooses segments and list
// entries, types into alerts and text rows, presses buttons, goes back,
// closes what is presented, picks colours; an expect step compares what a
// row stores or shows with a value. A step that names no row or cannot apply
// changes nothing; a step that restarted the user interface (a respring)
// leaves the page built anew.
class ScriptRunner {
public:
    // Receives what the platform logged while a step ran, with its line.
    using Warning = std::function<void(size_t line, const std::string& message)>;

    ScriptRunner(PageHost& host, Warning warning);

    // The most repeats a held stepper button makes in a minute, the longest
    // hold a script may ask for.
    static constexpr size_t kMaximumHoldRepeats = static_cast<size_t>(
        (60 - UIStepper::kAutorepeatDelay) / UIStepper::kAutorepeatInterval + 1);

    // What an expect step compares for a row: the text of what it stores
    // (nil, true, false, a number or a text), or what it shows.
    static std::string expectedText(const PageHost::Row& row, bool stored);

    // Throws a step HostError with the line of the first step that fails.
    void run(const std::vector<ScriptStep>& steps);
    // Where `expect image` steps find their reference pictures; without,
    // such a step fails.
    void comparePicturesWith(ReferencePictures* pictures) { _pictures = pictures; }

private:
    using Handler = void (ScriptRunner::*)(const ScriptStep&);
    static const std::map<std::string, Handler>& handlers();

    void tap(const ScriptStep& step);
    void pick(const ScriptStep& step);
    void drag(const ScriptStep& step);
    void press(const ScriptStep& step);
    void type(const ScriptStep& step);
    void button(const ScriptStep& step);
    void choose(const ScriptStep& step);
    void dismiss(const ScriptStep& step);
    void bar(const ScriptStep& step);
    void toggle(const ScriptStep& step);
    void segment(const ScriptStep& step);
    void enter(const ScriptStep& step);
    void back(const ScriptStep& step);
    void expect(const ScriptStep& step);

    // The colour a pick names: #RRGGBB, #RRGGBBAA or rgba(R, G, B, A).
    static Ref<UIColor> parseColor(const std::string& text);

    PageHost& _host;
    PageDriver _driver;
    Warning _warning;
    ReferencePictures* _pictures = nullptr;
};
