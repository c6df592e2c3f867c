#pragma once

#include <string>
#include <vector>

#include <Preferences/PSTableCell.h>
#include <UIKit/Forward.h>

#include "HostError.h"
#include "PageHost.h"

// Finds what a script or a test names on a hosted page: a row by its index,
// its "key:" or its label; a view in a row by "path:I.J.K" (subview indices),
// "class:NAME[:N]" or "text:TEXT"; the screen presented on top; a button by
// its title. Throws a step HostError that says what was there instead.
class ViewFinder {
public:
    explicit ViewFinder(const PageHost& host) : _host(host) {}

    PageHost::Row row(const std::string& selector) const;
    Ref<UIView> view(const PageHost::Row& row, const std::string& selector) const;
    // A view inside the table's header view (a tweak's banner), by the same selectors.
    Ref<UIView> headerView(const std::string& selector) const;
    // The first view of class V in the row, depth first.
    template <class V> Ref<V> control(const PageHost::Row& row, const char* what) const {
        std::vector<Ref<UIView>> views = allViews(row.cell);
        for (const Ref<UIView>& view : views) {
            if (Ref<V> match = objc_cast<V>(view)) {
                return match;
            }
        }
        HostError::throwStep(describeRow(row) + " has no " + what);
    }
    // The screen presented on top of the page; fails unless it is a V.
    template <class V> Ref<V> presented(const char* what) const {
        Ref<UIViewController> top = topScreen();
        if (!top) {
            HostError::throwStep(std::string("no ") + what + " is presented");
        }
        Ref<V> screen = objc_cast<V>(top);
        if (!screen) {
            HostError::throwStep(std::string("the presented screen is a ") + top->className() +
                                 ", not a " + what);
        }
        return screen;
    }
    // The controller presented on top; nil while the page is on top.
    Ref<UIViewController> topScreen() const;
    // Fails while a screen covers the page.
    void requirePageOnTop() const;
    // The first button under `root` showing this title; nil when none does.
    static Ref<UIButton> buttonTitled(const Ref<UIView>& root, const std::string& title);
    // The buttons a navigation bar shows for its top item: the item's left
    // and right buttons (in a right-to-left language the left one shows at
    // the right end) and the back button, which shows where the item has no
    // left button of its own.
    enum class BarItem { Left, Right, Back };
    // The view showing it, found by where the bar lays it out; nil when the
    // bar shows none.
    static Ref<UIView> barButton(const Ref<UINavigationBar>& bar, BarItem item);
    // The close button of a sheet (the colour picker, the share sheet): the
    // shown button nearest the top of the screen's view; nil when none shows.
    static Ref<UIButton> closeButton(const Ref<UIView>& screen);
    // Every view under `root` (itself included), depth first.
    static std::vector<Ref<UIView>> allViews(const Ref<UIView>& root);

    static std::string describeRow(const PageHost::Row& row);

private:
    // A view under `root` by a selector; `where` names the root in failures.
    static Ref<UIView> find(const Ref<UIView>& root, const std::string& selector,
                            const std::string& where);

    const PageHost& _host;
};
