#include <render/SDKViewInspector.h>

#include <unordered_set>

#include <QuartzCore/CAGradientLayer.h>
#include <QuartzCore/CAShapeLayer.h>
#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UITraitCollection.h>
#include <UIKit/UIView.h>
#include <render/SDKDescription.h>

namespace {

Value::Dictionary describeLayer(const CALayer& layer) {
    Value::Dictionary description{{"class", layer.className()},
                                  {"frame", SDKDescription::rect(layer.frame())}};
    if (layer.backgroundColor()) {
        description["backgroundColor"] = SDKDescription::color(layer.backgroundColor());
    }
    if (auto shape = dynamic_cast<const CAShapeLayer*>(&layer)) {
        description["fillColor"] = SDKDescription::color(shape->fillColor());
        description["strokeColor"] = SDKDescription::color(shape->strokeColor());
        if (shape->path()) {
            description["pathBounds"] = SDKDescription::rect(shape->path()->boundingBox());
        }
    }
    if (auto gradient = dynamic_cast<const CAGradientLayer*>(&layer)) {
        Value::Array colors;
        for (const CGColorRef& color : gradient->colors()) {
            colors.push_back(SDKDescription::color(color));
        }
        description["colors"] = colors;
    }
    if (layer.isHidden()) {
        description["hidden"] = true;
    }
    return description;
}

} // namespace

SDKViewInspector::SDKViewInspector(const SDKLookRegistry& looks) : _looks(looks) {}

Value::Dictionary SDKViewInspector::describeView(const UIView& view) const {
    // Colours are described as they show in the view's traits.
    UITraitCollection::CurrentScope traits(view.traitCollection());
    Value::Dictionary description{
        {"class", view.className()},
        {"frame", SDKDescription::rect(view.convertRectToView(view.bounds(), nullptr))}};
    const CALayer& layer = *view.layer();
    if (view.tag() != 0) {
        description["tag"] = view.tag();
    }
    if (view.isHidden()) {
        description["hidden"] = true;
    }
    if (view.alpha() < 1) {
        description["alpha"] = view.alpha();
    }
    if (layer.backgroundColor()) {
        description["backgroundColor"] = SDKDescription::color(layer.backgroundColor());
    }
    if (layer.borderWidth() > 0 && layer.borderColor()) {
        description["borderColor"] = SDKDescription::color(layer.borderColor());
        description["borderWidth"] = layer.borderWidth();
    }
    if (layer.cornerRadius() > 0) {
        description["cornerRadius"] = layer.cornerRadius();
    }
    if (layer.masksToBounds()) {
        description["clipsToBounds"] = true;
    }
    if (!view.gestureRecognizers().empty()) {
        Value::Array gestures;
        for (const Ref<UIGestureRecognizer>& recognizer : view.gestureRecognizers()) {
            gestures.push_back(recognizer->className());
        }
        description["gestures"] = std::move(gestures);
    }
    std::unordered_set<const CALayer*> viewLayers;
    for (const Ref<UIView>& subview : view.subviews()) {
        viewLayers.insert(subview->layer().get());
    }
    Value::Array layers;
    for (const Ref<CALayer>& sublayer : layer.sublayers()) {
        if (!viewLayers.count(sublayer.get())) {
            layers.emplace_back(describeLayer(*sublayer));
        }
    }
    if (!layers.empty()) {
        description["layers"] = std::move(layers);
    }
    _looks.lookForView(view).describe(view, description);
    return description;
}

Value::Array SDKViewInspector::describeTree(const UIView& root) const {
    Value::Array out;
    describeTree(root, "", out);
    return out;
}

void SDKViewInspector::describeTree(const UIView& view, const std::string& path,
                                    Value::Array& out) const {
    Value::Dictionary description = describeView(view);
    description["path"] = path;
    out.emplace_back(std::move(description));
    const auto& subviews = view.subviews();
    for (size_t i = 0; i < subviews.size(); ++i) {
        describeTree(*subviews[i],
                     path.empty() ? std::to_string(i) : path + "." + std::to_string(i), out);
    }
}
