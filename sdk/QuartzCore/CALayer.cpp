#include <QuartzCore/CALayer.h>

#include <algorithm>

Ref<CALayer> CALayer::layer() {
    return alloc<CALayer>()->init();
}

void CALayer::addSublayer(const Ref<CALayer>& layer) {
    insertSublayerAtIndex(layer, _sublayers.size());
}

void CALayer::insertSublayerAtIndex(const Ref<CALayer>& layer, size_t index) {
    if (!layer || layer.get() == this) {
        return;
    }
    Ref<CALayer> keep = layer;
    layer->removeFromSuperlayer();
    _sublayers.insert(_sublayers.begin() + std::min(index, _sublayers.size()), layer);
    layer->_superlayer = self<CALayer>();
}

void CALayer::removeFromSuperlayer() {
    Ref<CALayer> parent = _superlayer.lock();
    if (!parent) {
        return;
    }
    auto& siblings = parent->_sublayers;
    siblings.erase(
        std::remove_if(siblings.begin(), siblings.end(),
                       [this](const Ref<CALayer>& layer) { return layer.get() == this; }),
        siblings.end());
    _superlayer.reset();
}
