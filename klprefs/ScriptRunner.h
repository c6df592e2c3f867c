#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <UIKit/UIView.h>

#include "PageHost.h"
#include "ScriptStep.h"

// Applies script steps to a page as a person would: taps rows and views,
// picks colours, drags sliders, presses steppers, types into alerts and
// presses their buttons, closes what is presented. Each step is checked
// before it acts, so a step that names no row or cannot apply changes
// nothing; the main queue is drained after every step.
class ScriptRunner {
public:
    // Receives what the platform logged while a step ran, with its line.
    using Warning = std::function<void(size_t line, const std::string& message)>;

    ScriptRunner(PageHost& host, Warning warning);

    // Throws a step HostError with the line of the first step that fails.
    void run(const std::vector<ScriptStep>& steps);

private:
    using Handler = void (ScriptRunner::*)(const ScriptStep&);
    static const std::map<std::string, Handler>& handlers();

    void tap(const ScriptStep& step);
    void pick(const ScriptStep& step);
    void drag(const ScriptStep& step);
    void press(const ScriptStep& step);
    void type(const ScriptStep& step);
    void button(const ScriptStep& step);
    void dismiss(const ScriptStep& step);

    PageHost::Row findRow(const std::string& selector) const;
    Ref<UIView> findView(const PageHost::Row& row, const std::string& selector) const;
    // The first view of class V in the row, depth first.
    template <class V> Ref<V> findControl(const PageHost::Row& row, const char* what) const;
    // The screen presented on top of the page; fails unless it is a V.
    template <class V> Ref<V> presented(const char* what) const;
    // Fails while a screen covers the page.
    void requirePageOnTop() const;

    PageHost& _host;
    Warning _warning;
};
