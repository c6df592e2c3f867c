#pragma once

#include <memory>
#include <mutex>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include <render/SDKScreenLook.h>
#include <render/SDKViewLook.h>

// The looks the painter draws with, one per kind of view and of presented
// controller. A look added later wins over one added earlier for the views
// both match, so a subclass's look is added after its base class's. A view
// that no look matches draws as a plain view; a controller, as a sheet.
class SDKLookRegistry {
public:
    // Every look of the SDK's views and controllers.
    static const SDKLookRegistry& standard();

    void addViewLook(std::unique_ptr<SDKViewLook> look);
    void addScreenLook(std::unique_ptr<SDKScreenLook> look);

    const SDKViewLook& lookForView(const UIView& view) const;
    const SDKScreenLook& lookForScreen(const UIViewController& controller) const;

private:
    std::vector<std::unique_ptr<SDKViewLook>> _viewLooks;
    std::vector<std::unique_ptr<SDKScreenLook>> _screenLooks;
    SDKViewLook _plainView;
    SDKScreenLook _sheet;
    // Views of one class always take the same look; remember it per class.
    mutable std::mutex _cacheLock;
    mutable std::unordered_map<std::type_index, const SDKViewLook*> _viewLookByClass;
};
