#include <QuartzCore/CAShapeLayer.h>

Ref<CAShapeLayer> CAShapeLayer::layer() {
    Ref<CAShapeLayer> layer = alloc<CAShapeLayer>();
    layer->init();
    return layer;
}
