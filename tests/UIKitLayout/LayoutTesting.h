#pragma once

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <Foundation/SDKEventLog.h>
#include <UIKit/UIKit.h>

// Builders and checks shared by the layout suites: trees of plain views laid
// out by real passes, then every frame compared.

inline Ref<UIView> makeView(CGRect frame) {
    return alloc<UIView>()->initWithFrame(frame);
}

// A view that takes its frame from constraints.
template <class View = UIView> Ref<View> makeConstrained() {
    Ref<View> view = alloc<View>();
    view->initWithFrame(CGRectZero);
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    return view;
}

inline Ref<UILabel> makeLabel(const std::string& text, const Ref<UIFont>& font) {
    Ref<UILabel> label = makeConstrained<UILabel>();
    label->setText(text);
    label->setFont(font);
    return label;
}

inline void activate(const std::vector<Ref<NSLayoutConstraint>>& constraints) {
    NSLayoutConstraint::activateConstraints(constraints);
}

inline Ref<NSLayoutConstraint> withPriority(Ref<NSLayoutConstraint> constraint,
                                            UILayoutPriority priority) {
    constraint->setPriority(priority);
    return constraint;
}

// A laid-out tree and the frame each of its views must have.
struct ExpectedFrames {
    Ref<UIView> root;
    std::vector<std::pair<std::string, std::pair<Ref<UIView>, CGRect>>> frames;

    void expect(const std::string& name, const Ref<UIView>& view, CGRect frame) {
        frames.push_back({name, {view, frame}});
    }
};

inline void expectFrame(const Ref<UIView>& view, CGRect expected, const std::string& name) {
    SCOPED_TRACE(name);
    const CGRect frame = view->frame();
    EXPECT_NEAR(frame.origin.x, expected.origin.x, 1e-6);
    EXPECT_NEAR(frame.origin.y, expected.origin.y, 1e-6);
    EXPECT_NEAR(frame.size.width, expected.size.width, 1e-6);
    EXPECT_NEAR(frame.size.height, expected.size.height, 1e-6);
}

inline void expectFrames(const ExpectedFrames& tree) {
    for (const auto& [name, entry] : tree.frames) {
        expectFrame(entry.first, entry.second, name);
    }
}

inline std::vector<std::string> errorMessages() {
    std::vector<std::string> messages;
    for (SDKEvents::Error& error : SDKEventLog::records<SDKEvents::Error>()) {
        messages.push_back(std::move(error.message));
    }
    return messages;
}
