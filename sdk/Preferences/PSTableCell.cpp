#include <Preferences/PSTableCell.h>

#include <algorithm>
#include <cmath>

#include <Foundation/NSString.h>
#include <Preferences/PSListController.h>
#include <QuartzCore/CAShapeLayer.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_PSTableCell{
        "PSTableCell", nullptr, PSTableCellClassMethods<PSTableCell>::classMethods,
        PSTableCellClassMethods<PSTableCell>::instanceMethods};

namespace {

constexpr CGFloat kDimmedAlpha = 0.5;

// The disclosure chevron at the trailing end of a link row, as a stroked
// path pointing forward: right, or left in a right-to-left layout.
Ref<UIView> disclosureChevron() {
    Ref<UIView> view = alloc<UIView>()->initWithFrame(CGRectMake(0, 0, 8, 14));
    view->setUserInteractionEnabled(false);
    const bool rightToLeft =
        UIView::userInterfaceLayoutDirectionForSemanticContentAttribute(
            UISemanticContentAttributeUnspecified) == UIUserInterfaceLayoutDirectionRightToLeft;
    auto x = [rightToLeft](CGFloat leftToRight) {
        return rightToLeft ? 8 - leftToRight : leftToRight;
    };
    auto path = std::make_shared<CGPath>();
    path->moveTo({x(1.5), 1.5});
    path->lineTo({x(6.5), 7});
    path->lineTo({x(1.5), 12.5});
    Ref<CAShapeLayer> layer = CAShapeLayer::layer();
    layer->setPath(path);
    layer->setFillColor(nullptr);
    layer->setStrokeColor(UIColor::tertiaryLabelColor()->CGColor());
    layer->setLineWidth(2);
    view->layer()->addSublayer(layer);
    return view;
}

bool isLink(const std::string& type) {
    return type == "PSLinkCell" || type == "PSLinkListCell";
}

// A number as the platform prints an NSNumber's description.
std::string describeNumber(const Value& value) {
    const double number = value.doubleValue();
    if (std::isfinite(number) && number == std::floor(number) && std::fabs(number) < 1e15) {
        return std::to_string(static_cast<long long>(number));
    }
    return NSString::stringWithFormat("%g", number);
}

} // namespace

Ref<PSTableCell> PSTableCell::initWithStyle(UITableViewCellStyle style,
                                            const std::optional<std::string>& reuseIdentifier,
                                            const Ref<PSSpecifier>& specifier) {
    if (!UITableViewCell::initWithStyle(style, reuseIdentifier)) {
        return nullptr;
    }
    _specifier = specifier;
    // At the accessibility text sizes a title wraps rather than being cut.
    if (UIContentSizeCategoryIsAccessibilityCategory(
            traitCollection()->preferredContentSizeCategory())) {
        textLabel()->setNumberOfLines(0);
    }
    return self<PSTableCell>();
}

void PSTableCell::refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) {
    if (!specifier) {
        return;
    }
    _specifier = specifier;
    textLabel()->setText(specifier->name());
    const std::string type = specifier->cellType();
    if (type == "PSButtonCell") {
        textLabel()->setTextColor(specifier->propertyForKey("isDestructive").boolValue()
                                      ? UIColor::systemRedColor()
                                      : UIColor::systemBlueColor());
    }
    if (type == "PSStaticTextCell") {
        setSelectionStyle(UITableViewCellSelectionStyleNone);
    }
    const std::optional<std::string> icon = specifier->propertyForKey("icon").optionalString();
    if (icon != _iconName) {
        _iconName = icon;
        Ref<PSListController> target = specifier->target();
        setIcon(icon && target ? UIImage::imageNamed(icon, target->bundle()) : nullptr);
    }
    if (isLink(type) && !accessoryView()) {
        setAccessoryView(disclosureChevron());
    }
    if (detailTextLabel() && (type == "PSTitleValueCell" || type == "PSLinkListCell")) {
        detailTextLabel()->setText(titleForValue(specifier, shownValue(specifier)));
    }
    const Value enabled = specifier->propertyForKey("enabled");
    setCellEnabled(enabled.isNil() || enabled.boolValue());
    setNeedsLayout();
}

void PSTableCell::setIcon(const Ref<UIImage>& icon) {
    std::shared_ptr<const UIImage::Bitmap> pixels = icon ? icon->bitmap() : nullptr;
    if (!pixels) {
        // Only a row that showed an icon has an image view to empty.
        if (_iconShown) {
            imageView()->setImage(nullptr);
            _iconShown = false;
        }
        return;
    }
    const CGFloat longer = std::max(pixels->width, pixels->height);
    imageView()->setImage(alloc<UIImage>()->initWithBitmap(pixels, longer / kIconSide));
    _iconShown = true;
}

void PSTableCell::setCellEnabled(bool enabled) {
    _cellEnabled = enabled;
    setUserInteractionEnabled(enabled);
    contentView()->setAlpha(enabled ? 1 : kDimmedAlpha);
    if (Ref<UIView> accessory = accessoryView()) {
        accessory->setAlpha(enabled ? 1 : kDimmedAlpha);
    }
}

Value PSTableCell::shownValue(const Ref<PSSpecifier>& specifier) {
    if (!specifier) {
        return Value();
    }
    Value stored = specifier->performGetter();
    return stored.isNil() ? specifier->propertyForKey("default") : stored;
}

std::optional<size_t> PSTableCell::indexOfValidValue(const Ref<PSSpecifier>& specifier,
                                                     const Value& value) {
    const Value::Array* values =
        specifier ? specifier->propertyForKey("validValues").array() : nullptr;
    if (!values || value.isNil()) {
        return std::nullopt;
    }
    for (size_t i = 0; i < values->size(); ++i) {
        const Value& candidate = (*values)[i];
        const bool same = candidate.isNumber() && value.isNumber()
                              ? candidate.doubleValue() == value.doubleValue()
                              : candidate == value;
        if (same) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> PSTableCell::titleForValue(const Ref<PSSpecifier>& specifier,
                                                      const Value& value) {
    if (!specifier || value.isNil()) {
        return std::nullopt;
    }
    if (specifier->propertyForKey("validValues").array()) {
        std::optional<size_t> index = indexOfValidValue(specifier, value);
        if (!index) {
            return std::nullopt;
        }
        for (const char* key : {"shortTitles", "validTitles"}) {
            const Value::Array* titles = specifier->propertyForKey(key).array();
            if (titles && *index < titles->size()) {
                if (std::optional<std::string> title = (*titles)[*index].optionalString()) {
                    return title;
                }
            }
        }
        return std::nullopt;
    }
    return textForValue(value);
}

std::optional<std::string> PSTableCell::textForValue(const Value& value) {
    if (value.isString()) {
        return value.optionalString();
    }
    if (value.isNumber()) {
        return describeNumber(value);
    }
    return std::nullopt;
}
