#pragma once

#include <cstddef>
#include <string>

#include <Foundation/Forward.h>
#include <UIKit/Forward.h>
#include <UIKit/UIStepper.h>

#include "Finger.h"
#include "PageHost.h"
#include "ViewFinder.h"

// Everything a person does to a hosted page, and what they read off it. Each
// act finds its views by walking the view tree (class, title, text,
// position), touches them through the window as a finger does, then lets the
// main queue's work run and the page lay itself out again. An act that
// cannot apply (a screen covers the page, a control is disabled, nothing has
// the title) throws a step HostError that says what was there instead.
// Scripts, tests, benchmarks and the live preview all act through it.
class PageDriver {
public:
    explicit PageDriver(PageHost& host) : _host(host) {}

    PageHost& host() const { return _host; }
    ViewFinder finder() const { return ViewFinder(_host); }
    Finger finger() const { return Finger(_host.window()); }

    // Rows of the page on top, named as ViewFinder names them (index,
    // "key:", label); a view in a row or in the page's header as ViewFinder
    // names it too. Each fails while a screen covers the page.
    void tapRow(const std::string& row);
    void tapInRow(const std::string& row, const std::string& view);
    void tapInHeader(const std::string& view);
    void dragSlider(const std::string& row, float value);
    void pressStepper(const std::string& row, UIStepper::Button button, size_t repeats = 0);
    void toggle(const std::string& row);
    void chooseSegment(const std::string& row, const std::string& title);
    // Replaces the text of the row's field and ends the editing with return.
    void enterText(const std::string& row, const std::string& text);

    // Views found already, on the page or on a presented screen.
    void tap(const Ref<UIView>& view);
    void tapAt(const Ref<UIView>& view, CGPoint point);
    // Where a person taps a row to choose it: beside its controls.
    void tapRow(const Ref<UITableViewCell>& cell);
    void drag(const Ref<UISlider>& slider, float value, size_t movements = 10);
    void press(const Ref<UIStepper>& stepper, UIStepper::Button button, size_t repeats = 0);
    // Puts the caret in the field, deletes its text and types it anew.
    void replaceText(const Ref<UITextField>& field, const std::string& text);

    // The screen presented on top.
    // Replaces the text of the presented alert's first field.
    void typeIntoAlert(const std::string& text);
    // Reports a colour picked in the presented colour picker.
    void pickColor(const Ref<UIColor>& color);
    // Taps the button showing this title, else the segment with this title
    // of a choice on the screen.
    void pressButton(const std::string& title);
    // Chooses the item with this title: in the presented menu, or in the
    // list of choices a list link opened.
    void chooseItem(const std::string& title);
    // Closes it as a person would: its close or Done button, a touch beside
    // a menu, a swipe of any other sheet.
    void dismiss();

    // The navigation bar.
    // Its left or right button.
    void tapBarButton(ViewFinder::BarItem item);
    // The back button of a child page.
    void goBack();

    // What a row stores, read through its specifier as its cell reads it.
    static Value stored(const PageHost::Row& row);
    // What a row shows: its control's state, else its value text, else its title.
    static std::string shown(const PageHost::Row& row);

private:
    void settle() { _host.settle(); }
    // Taps the segment with this title; false when the control has none.
    bool tapSegment(const Ref<UISegmentedControl>& control, const std::string& title);

    PageHost& _host;
};
