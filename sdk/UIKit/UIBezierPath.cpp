#include <UIKit/UIBezierPath.h>

Ref<UIBezierPath> UIBezierPath::bezierPathWithRoundedRect(const CGRect& rect,
                                                          CGFloat cornerRadius) {
    auto path = std::make_shared<::CGPath>();
    path->addRoundedRect(rect, cornerRadius);
    Ref<UIBezierPath> bezier = alloc<UIBezierPath>();
    bezier->_path = std::move(path);
    return bezier;
}

Ref<UIBezierPath> UIBezierPath::bezierPathWithRect(const CGRect& rect) {
    return bezierPathWithRoundedRect(rect, 0);
}

Ref<UIBezierPath> UIBezierPath::bezierPathWithOvalInRect(const CGRect& rect) {
    auto path = std::make_shared<::CGPath>();
    const CGFloat rx = rect.size.width / 2, ry = rect.size.height / 2;
    const CGFloat cx = CGRectGetMidX(rect), cy = CGRectGetMidY(rect);
    const CGFloat k = 0.5522847498307936;
    path->moveTo({cx + rx, cy});
    path->curveTo({cx + rx, cy + k * ry}, {cx + k * rx, cy + ry}, {cx, cy + ry});
    path->curveTo({cx - k * rx, cy + ry}, {cx - rx, cy + k * ry}, {cx - rx, cy});
    path->curveTo({cx - rx, cy - k * ry}, {cx - k * rx, cy - ry}, {cx, cy - ry});
    path->curveTo({cx + k * rx, cy - ry}, {cx + rx, cy - k * ry}, {cx + rx, cy});
    path->close();
    Ref<UIBezierPath> bezier = alloc<UIBezierPath>();
    bezier->_path = std::move(path);
    return bezier;
}
