#pragma once

#include <render/SDKViewLook.h>

// The look of views of class V and its subclasses, drawn and described
// through V's own interface.
template <class V> class SDKTypedViewLook : public SDKViewLook {
public:
    bool matches(const UIView& view) const override {
        return dynamic_cast<const V*>(&view) != nullptr;
    }
    void drawContent(const UIView& view, SDKViewPainter& painter) const override {
        draw(dynamic_cast<const V&>(view), painter);
    }
    void describe(const UIView& view, Value::Dictionary& description) const override {
        describeView(dynamic_cast<const V&>(view), description);
    }

protected:
    virtual void draw(const V& view, SDKViewPainter& painter) const = 0;
    virtual void describeView(const V& view, Value::Dictionary& description) const = 0;
};
