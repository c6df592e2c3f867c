#pragma once

#include <memory>
#include <mutex>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include <render/SDKViewLook.h>

// The looks the painter draws with, one per kind of view. A look added later
// wins over one added earlier for the views both match, so a subclass's look
// is added after its base class's. A view that no look matches draws as a
// plain view.
class SDKLookRegistry {
public:
    // Every look of the SDK's views.
    static const SDKLookRegistry& standard();
    // Adds every look of the SDK's views, for a registry that then changes some.
    void addStandardLooks();

    void addViewLook(std::unique_ptr<SDKViewLook> look);

    const SDKViewLook& lookForView(const UIView& view) const;

private:
    std::vector<std::unique_ptr<SDKViewLook>> _viewLooks;
    SDKViewLook _plainView;
    // Views of one class always take the same look; remember it per class.
    mutable std::mutex _cacheLock;
    mutable std::unordered_map<std::type_index, const SDKViewLook*> _viewLookByClass;
};
