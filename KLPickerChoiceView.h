#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <Preferences/PSTableCell.h>
#include <UIKit/Forward.h>

class KLPickerCell;

// One choice of a picker row: a picture, a centred caption under it and a
// check mark under the caption, gray and hollow until the choice is picked,
// then blue and filled. The view's tag is the choice's position in the row,
// the number stored when it is picked. A tap on an unpicked choice clears the
// row and picks this one.
class KLPickerChoiceView : public PSTableCell {
public:
    // The picker cell is held weakly: it owns the row this view lives in.
    Ref<KLPickerChoiceView> initWithFrame(const CGRect& frame, const Ref<UIImage>& image,
                                          const std::optional<std::string>& title,
                                          const Ref<KLPickerCell>& pickerCell, int32_t tag);

    // The tap action: picks this choice unless it is already picked.
    void toggle(const Ref<UIGestureRecognizer>& sender = nullptr);
    // Shows the picked state; picking stores the tag through the cell, every
    // time, also when the choice was picked already.
    void setEnabled(bool enabled);
    bool enabled() const { return _enabled; }

    Ref<KLPickerCell> cell() const { return _cell.lock(); }
    void setCell(const Ref<KLPickerCell>& cell) { _cell = cell; }
    Ref<UIImageView> imgView() const { return _imgView; }
    void setImgView(const Ref<UIImageView>& imgView) { _imgView = imgView; }
    Ref<UIImageView> checkImageView() const { return _checkImageView; }
    void setCheckImageView(const Ref<UIImageView>& checkImageView) {
        _checkImageView = checkImageView;
    }
    Ref<UILabel> label() const { return _label; }
    void setLabel(const Ref<UILabel>& label) { _label = label; }

    const objc_class* objcClass() const override;

private:
    Weak<KLPickerCell> _cell;
    Ref<UIImageView> _imgView;
    Ref<UIImageView> _checkImageView;
    Ref<UILabel> _label;
    bool _enabled = false;
};

extern "C" __attribute__((visibility("default"))) const objc_class OBJC_CLASS_$_KLPickerChoiceView;
