#include <QuartzCore/CAGradientLayer.h>

Ref<CAGradientLayer> CAGradientLayer::layer() {
    Ref<CAGradientLayer> layer = alloc<CAGradientLayer>();
    layer->init();
    return layer;
}

std::vector<CGFloat> CAGradientLayer::stops() const {
    if (_locations.size() == _colors.size()) {
        return _locations;
    }
    std::vector<CGFloat> even;
    for (size_t i = 0; i < _colors.size(); ++i) {
        even.push_back(_colors.size() > 1 ? static_cast<CGFloat>(i) / (_colors.size() - 1) : 0);
    }
    return even;
}
