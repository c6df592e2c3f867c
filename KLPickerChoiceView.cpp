#include "KLPickerChoiceView.h"

#include <UIKit/NSLayoutConstraint.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITapGestureRecognizer.h>

#include "KLPickerCell.h"

namespace {

constexpr const char* kUncheckedSymbol = "circle";
constexpr const char* kCheckedSymbol = "checkmark.circle.fill";

Id allocImp(const Id&, std::span<const Id>) {
    return alloc<KLPickerChoiceView>();
}

// Made by name it is a choice view, not the PSTableCell its superclass would make.
constexpr objc_method kChoiceViewClassMethods[] = {{"alloc", allocImp}};

} // namespace

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLPickerChoiceView{
    "KLPickerChoiceView", &OBJC_CLASS_$_PSTableCell, kChoiceViewClassMethods, {}};

const objc_class* KLPickerChoiceView::objcClass() const {
    return &OBJC_CLASS_$_KLPickerChoiceView;
}

Ref<KLPickerChoiceView> KLPickerChoiceView::initWithFrame(const CGRect& frame,
                                                          const Ref<UIImage>& image,
                                                          const std::optional<std::string>& title,
                                                          const Ref<KLPickerCell>& pickerCell,
                                                          int32_t tag) {
    if (!UITableViewCell::initWithFrame(frame)) {
        return nullptr;
    }
    _cell = pickerCell;
    setTag(tag);

    _imgView = alloc<UIImageView>()->initWithImage(image);
    _imgView->setTranslatesAutoresizingMaskIntoConstraints(false);
    _imgView->setContentMode(UIViewContentModeScaleAspectFit);

    _label = alloc<UILabel>()->init();
    _label->setText(title);
    _label->setTextAlignment(NSTextAlignmentCenter);
    _label->setTranslatesAutoresizingMaskIntoConstraints(false);

    _checkImageView =
        alloc<UIImageView>()->initWithImage(UIImage::systemImageNamed(kUncheckedSymbol));
    _checkImageView->setTintColor(UIColor::grayColor());
    _checkImageView->setTranslatesAutoresizingMaskIntoConstraints(false);
    _checkImageView->setContentMode(UIViewContentModeScaleAspectFit);

    addSubview(_imgView);
    addSubview(_label);
    addSubview(_checkImageView);

    NSLayoutConstraint::activateConstraints({
        _imgView->centerXAnchor()->constraintEqualToAnchor(centerXAnchor()),
        _imgView->centerYAnchor()->constraintEqualToAnchor(centerYAnchor(), -20),
        _imgView->widthAnchor()->constraintEqualToAnchorMultiplier(widthAnchor(), 0.5),
        _imgView->heightAnchor()->constraintEqualToAnchorMultiplier(heightAnchor(), 0.6),
        _label->centerXAnchor()->constraintEqualToAnchor(centerXAnchor()),
        _label->topAnchor()->constraintEqualToAnchor(_imgView->bottomAnchor()),
        _label->widthAnchor()->constraintEqualToAnchor(widthAnchor()),
        _checkImageView->centerXAnchor()->constraintEqualToAnchor(centerXAnchor()),
        _checkImageView->topAnchor()->constraintEqualToAnchor(_label->bottomAnchor(), 5),
        _checkImageView->widthAnchor()->constraintEqualToConstant(25),
        _checkImageView->heightAnchor()->constraintEqualToConstant(25),
    });

    addGestureRecognizer(alloc<UITapGestureRecognizer>()->initWithTarget(
        self<KLPickerChoiceView>(), &KLPickerChoiceView::toggle));
    return self<KLPickerChoiceView>();
}

void KLPickerChoiceView::toggle(const Ref<UIGestureRecognizer>&) {
    if (_enabled) {
        return;
    }
    // Without its cell the choice is still marked, but the row is not
    // cleared and nothing is stored.
    if (Ref<KLPickerCell> pickerCell = _cell.lock()) {
        pickerCell->uncheckAllChoices();
    }
    setEnabled(true);
}

void KLPickerChoiceView::setEnabled(bool enabled) {
    _enabled = enabled;
    if (_checkImageView) {
        _checkImageView->setTintColor(enabled ? UIColor::systemBlueColor() : UIColor::grayColor());
        _checkImageView->setImage(
            UIImage::systemImageNamed(enabled ? kCheckedSymbol : kUncheckedSymbol));
    }
    if (enabled) {
        if (Ref<KLPickerCell> pickerCell = _cell.lock()) {
            pickerCell->setEnabledChoice(static_cast<int32_t>(tag()));
        }
    }
}
