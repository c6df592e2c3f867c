#pragma once

#include <vector>

#include <QuartzCore/CGColor.h>
#include <QuartzCore/CGGeometry.h>
#include <QuartzCore/Forward.h>
#include <objc/NSObject.h>

// A layer: the drawn side of a view, with its own background, border, corner
// radius, clipping and sublayers. A view's layer follows the view's bounds.
class CALayer : public NSObject {
public:
    static Ref<CALayer> layer();
    Ref<CALayer> init() { return self<CALayer>(); }

    CGRect frame() const { return _frame; }
    void setFrame(const CGRect& frame) { _frame = frame; }
    CGRect bounds() const { return CGRectMake(0, 0, _frame.size.width, _frame.size.height); }

    CGColorRef backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(CGColorRef color) { _backgroundColor = std::move(color); }
    CGColorRef borderColor() const { return _borderColor; }
    void setBorderColor(CGColorRef color) { _borderColor = std::move(color); }
    CGFloat borderWidth() const { return _borderWidth; }
    void setBorderWidth(CGFloat width) { _borderWidth = width; }
    CGFloat cornerRadius() const { return _cornerRadius; }
    void setCornerRadius(CGFloat radius) { _cornerRadius = radius; }
    bool masksToBounds() const { return _masksToBounds; }
    void setMasksToBounds(bool masks) { _masksToBounds = masks; }
    float opacity() const { return _opacity; }
    void setOpacity(float opacity) { _opacity = opacity; }
    bool isHidden() const { return _hidden; }
    void setHidden(bool hidden) { _hidden = hidden; }

    const std::vector<Ref<CALayer>>& sublayers() const { return _sublayers; }
    Ref<CALayer> superlayer() const { return _superlayer.lock(); }
    void addSublayer(const Ref<CALayer>& layer);
    // Puts the layer at the index among the sublayers (the end when past it).
    void insertSublayerAtIndex(const Ref<CALayer>& layer, size_t index);
    void removeFromSuperlayer();

private:
    CGRect _frame = CGRectZero;
    CGColorRef _backgroundColor;
    CGColorRef _borderColor = CGColorCreateSRGB(0, 0, 0, 1);
    CGFloat _borderWidth = 0;
    CGFloat _cornerRadius = 0;
    bool _masksToBounds = false;
    float _opacity = 1;
    bool _hidden = false;
    std::vector<Ref<CALayer>> _sublayers;
    Weak<CALayer> _superlayer;
};
