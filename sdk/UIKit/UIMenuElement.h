#pragma once

#include <optional>
#include <string>

#include <UIKit/Forward.h>
#include <UIKit/UIKitDefines.h>
#include <objc/NSObject.h>

using UIMenuElementAttributes = NSUInteger;
inline constexpr UIMenuElementAttributes UIMenuElementAttributesDisabled = 1 << 0;
inline constexpr UIMenuElementAttributes UIMenuElementAttributesDestructive = 1 << 1;
inline constexpr UIMenuElementAttributes UIMenuElementAttributesHidden = 1 << 2;

// What a menu lists: an action, or a menu of its own. Each has a title and
// may have an image beside it.
class UIMenuElement : public NSObject {
public:
    const std::string& title() const { return _title; }
    Ref<UIImage> image() const { return _image; }

protected:
    void setElementTitle(const std::optional<std::string>& title) { _title = title.value_or(""); }
    void setElementImage(const Ref<UIImage>& image) { _image = image; }

private:
    std::string _title;
    Ref<UIImage> _image;
};
