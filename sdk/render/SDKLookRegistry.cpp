#include <render/SDKLookRegistry.h>

#include <render/SDKActivityIndicatorLook.h>
#include <render/SDKImageViewLook.h>
#include <render/SDKLabelLook.h>
#include <render/SDKSegmentedControlLook.h>
#include <render/SDKSliderLook.h>
#include <render/SDKStepperLook.h>
#include <render/SDKSwitchLook.h>
#include <render/SDKTableViewCellLook.h>
#include <render/SDKTableViewLook.h>
#include <render/SDKTextFieldLook.h>

const SDKLookRegistry& SDKLookRegistry::standard() {
    // Never destroyed: a renderer on another thread may still use it while
    // the process exits.
    static SDKLookRegistry& registry = *new SDKLookRegistry;
    static std::once_flag filled;
    std::call_once(filled, [] { registry.addStandardLooks(); });
    return registry;
}

void SDKLookRegistry::addStandardLooks() {
    addViewLook(std::make_unique<SDKLabelLook>());
    addViewLook(std::make_unique<SDKImageViewLook>());
    addViewLook(std::make_unique<SDKTableViewLook>());
    addViewLook(std::make_unique<SDKTableViewCellLook>());
    addViewLook(std::make_unique<SDKSliderLook>());
    addViewLook(std::make_unique<SDKStepperLook>());
    addViewLook(std::make_unique<SDKTextFieldLook>());
    addViewLook(std::make_unique<SDKSwitchLook>());
    addViewLook(std::make_unique<SDKSegmentedControlLook>());
    addViewLook(std::make_unique<SDKActivityIndicatorLook>());
}

void SDKLookRegistry::addViewLook(std::unique_ptr<SDKViewLook> look) {
    std::lock_guard lock(_cacheLock);
    _viewLooks.push_back(std::move(look));
    _viewLookByClass.clear();
}

const SDKViewLook& SDKLookRegistry::lookForView(const UIView& view) const {
    const std::type_index type(typeid(view));
    std::lock_guard lock(_cacheLock);
    auto cached = _viewLookByClass.find(type);
    if (cached != _viewLookByClass.end()) {
        return *cached->second;
    }
    const SDKViewLook* found = &_plainView;
    for (auto it = _viewLooks.rbegin(); it != _viewLooks.rend(); ++it) {
        if ((*it)->matches(view)) {
            found = it->get();
            break;
        }
    }
    _viewLookByClass.emplace(type, found);
    return *found;
}
