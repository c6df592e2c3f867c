#include "ViewFinder.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include <UIKit/UIButton.h>
#include <UIKit/UINavigationBar.h>
#include <UIKit/UINavigationItem.h>
#include <UIKit/UITableView.h>
#include <UIKit/UIWindow.h>
#include <render/SDKViewInspector.h>

#include "HostError.h"

namespace {

bool isIndex(const std::string& text) {
    return !text.empty() && text.size() < 10 &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

void collect(const Ref<UIView>& view, std::vector<Ref<UIView>>& found) {
    found.push_back(view);
    for (const Ref<UIView>& subview : view->subviews()) {
        collect(subview, found);
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

} // namespace

std::string ViewFinder::describeRow(const PageHost::Row& row) {
    const std::optional<std::string> name = rowName(row);
    return "row " + std::to_string(row.index) + (name ? " (" + HostError::quoted(*name) + ")" : "");
}

std::vector<Ref<UIView>> ViewFinder::allViews(const Ref<UIView>& root) {
    std::vector<Ref<UIView>> views;
    if (root) {
        collect(root, views);
    }
    return views;
}

PageHost::Row ViewFinder::row(const std::string& selector) const {
    const std::vector<PageHost::Row> rows = _host.rows();
    if (isIndex(selector)) {
        const size_t index = std::stoul(selector);
        if (index >= rows.size()) {
            HostError::throwStep("no row " + selector + ": the page has " +
                                 std::to_string(rows.size()) + " rows, numbered from 0");
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
        HostError::throwStep(std::string("no row with the ") + by + " " +
                             HostError::quoted(wanted));
    }
    if (matches.size() > 1) {
        HostError::throwStep(std::string("the ") + by + " " + HostError::quoted(wanted) +
                             " names " + std::to_string(matches.size()) +
                             " rows; use the row's index");
    }
    if (!matches.front().cell) {
        HostError::throwStep(describeRow(matches.front()) + " has no cell");
    }
    return matches.front();
}

Ref<UIView> ViewFinder::view(const PageHost::Row& row, const std::string& selector) const {
    return find(row.cell, selector, describeRow(row));
}

Ref<UIView> ViewFinder::headerView(const std::string& selector) const {
    Ref<UIView> header = _host.controller()->table()->tableHeaderView();
    if (!header) {
        HostError::throwStep("the page has no header view");
    }
    return find(header, selector, "the header");
}

Ref<UIView> ViewFinder::find(const Ref<UIView>& cell, const std::string& selector,
                             const std::string& where) {
    if (selector.rfind("path:", 0) == 0) {
        Ref<UIView> view = cell;
        const std::string path = selector.substr(5);
        size_t start = 0;
        while (start < path.size()) {
            const size_t dot = path.find('.', start);
            const std::string part =
                path.substr(start, dot == std::string::npos ? dot : dot - start);
            if (!isIndex(part) || std::stoul(part) >= view->subviews().size()) {
                HostError::throwStep(where + " has no view at path " + HostError::quoted(path));
            }
            view = view->subviews()[std::stoul(part)];
            start = dot == std::string::npos ? path.size() : dot + 1;
        }
        return view;
    }
    const std::vector<Ref<UIView>> views = allViews(cell);
    if (selector.rfind("class:", 0) == 0) {
        std::string name = selector.substr(6);
        size_t wantedIndex = 0;
        if (const size_t colon = name.find(':'); colon != std::string::npos) {
            if (!isIndex(name.substr(colon + 1))) {
                HostError::throwStep("class:NAME:N wants a number N, not " +
                                     HostError::quoted(name.substr(colon + 1)));
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
        HostError::throwStep(where + " has " + std::to_string(seen) + " views of class " +
                             HostError::quoted(name) +
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
        HostError::throwStep(where + " shows no text " + HostError::quoted(selector.substr(5)));
    }
    HostError::throwStep("a view is named path:I.J.K, class:NAME[:N] or text:TEXT, not " +
                         HostError::quoted(selector));
}

Ref<UIViewController> ViewFinder::topScreen() const {
    Ref<UIViewController> top = _host.window()->topViewController();
    return top == _host.window()->rootViewController() ? nullptr : top;
}

void ViewFinder::requirePageOnTop() const {
    if (Ref<UIViewController> top = topScreen()) {
        HostError::throwStep("a " + top->className() +
                             " is presented over the page; close it first");
    }
}

Ref<UIButton> ViewFinder::buttonTitled(const Ref<UIView>& root, const std::string& title) {
    for (const Ref<UIView>& view : allViews(root)) {
        if (auto button = objc_cast<UIButton>(view); button && button->currentTitle() == title) {
            return button;
        }
    }
    return nullptr;
}

Ref<UIView> ViewFinder::barButton(const Ref<UINavigationBar>& bar, BarItem item) {
    Ref<UINavigationItem> top = bar->topItem();
    const bool shown =
        item == BarItem::Left ? top && top->leftBarButtonItem()
        : item == BarItem::Right
            ? top && top->rightBarButtonItem()
            : top && bar->backItem() && !top->leftBarButtonItem() && !top->hidesBackButton();
    if (!shown) {
        return nullptr;
    }
    bar->layoutIfNeeded();
    // The left button and the back button lie at the leading end.
    const bool rightToLeft =
        bar->effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirectionRightToLeft;
    const bool leftEnd = (item != BarItem::Right) != rightToLeft;
    // The title lies in the middle; the buttons beside it.
    const CGFloat middle = CGRectGetMidX(bar->bounds());
    for (const Ref<UIView>& view : bar->subviews()) {
        const CGFloat centre = CGRectGetMidX(view->frame());
        if (!view->isHidden() && std::abs(centre - middle) >= 1 && (centre < middle) == leftEnd) {
            return view;
        }
    }
    return nullptr;
}

Ref<UIButton> ViewFinder::closeButton(const Ref<UIView>& screen) {
    screen->layoutIfNeeded();
    Ref<UIButton> nearest;
    CGFloat nearestTop = 0;
    for (const Ref<UIView>& view : allViews(screen)) {
        auto button = objc_cast<UIButton>(view);
        if (!button || button->isHidden()) {
            continue;
        }
        const CGFloat top = button->convertRectToView(button->bounds(), screen).origin.y;
        if (!nearest || top < nearestTop) {
            nearest = button;
            nearestTop = top;
        }
    }
    return nearest;
}
