#pragma once

#include <optional>
#include <string>

#include <UIKit/Forward.h>
#include <UIKit/UIView.h>

// A row of a table: a content view with a title and, in the subtitle and
// value styles, a detail text; an image at its left edge once one is set, at
// the image's size; an accessory view at its right edge.
class UITableViewCell : public UIView {
public:
    // Default frame 320 by 44 points, as on the platform.
    Ref<UITableViewCell> initWithStyle(UITableViewCellStyle style,
                                       const std::optional<std::string>& reuseIdentifier);
    // A default-style cell without a reuse identifier, at the frame given.
    Ref<UITableViewCell> initWithFrame(const CGRect& frame);

    UITableViewCellStyle style() const { return _style; }
    const std::optional<std::string>& reuseIdentifier() const { return _reuseIdentifier; }
    Ref<UIView> contentView() const { return _contentView; }
    Ref<UILabel> textLabel() const { return _textLabel; }
    // nil in the default style.
    Ref<UILabel> detailTextLabel() const { return _detailTextLabel; }
    // Made on first use; shown while it has an image, the titles beside it.
    Ref<UIImageView> imageView();
    Ref<UIView> accessoryView() const { return _accessoryView; }
    void setAccessoryView(const Ref<UIView>& view);

    // Where the separator under the row starts: at the titles, past the
    // image when one shows.
    UIEdgeInsets separatorInset() const { return _separatorInset; }

    // With None a touch does not highlight the row; it is still selected.
    UITableViewCellSelectionStyle selectionStyle() const { return _selectionStyle; }
    void setSelectionStyle(UITableViewCellSelectionStyle style) { _selectionStyle = style; }

    bool isSelected() const { return _selected; }
    virtual void setSelected(bool selected, bool animated);
    bool isHighlighted() const { return _highlighted; }
    virtual void setHighlighted(bool highlighted, bool animated);

    void layoutSubviews() override;
    // As wide as given; as tall as the title needs, with the row's padding
    // above and below it: a title in a large text size, or one that wraps,
    // makes its row taller than the table gives it.
    CGSize sizeThatFits(CGSize size) const override;

    // A finger on the row highlights it; lifted on the row, it selects the
    // row through its table.
    void touchesBegan(const Ref<UITouch>& touch) override;
    void touchesMoved(const Ref<UITouch>& touch) override;
    void touchesEnded(const Ref<UITouch>& touch) override;
    void touchesCancelled(const Ref<UITouch>& touch) override;

    // Side margin of the content, in points.
    static constexpr CGFloat kLayoutMargin = 16;
    // Between the image and the titles.
    static constexpr CGFloat kImageSpacing = 16;
    // Above and below a title that sets the row's height, and above and
    // below a title and subtitle.
    static constexpr CGFloat kTitlePadding = 11;
    static constexpr CGFloat kSubtitlePadding = 4;

private:
    // Where the titles start, and how wide they may be, in a cell this wide.
    CGFloat titleLeading() const;
    CGFloat titleWidth(CGFloat width) const;
    CGFloat titleHeight(CGFloat width) const;
    // A value beside a wrapping title that leaves it no room goes below it.
    bool stacksDetail(CGFloat width) const;

    UITableViewCellStyle _style = UITableViewCellStyleDefault;
    std::optional<std::string> _reuseIdentifier;
    Ref<UIView> _contentView;
    Ref<UILabel> _textLabel;
    Ref<UILabel> _detailTextLabel;
    Ref<UIImageView> _imageView;
    Ref<UIView> _accessoryView;
    UIEdgeInsets _separatorInset{0, kLayoutMargin, 0, 0};
    UITableViewCellSelectionStyle _selectionStyle = UITableViewCellSelectionStyleDefault;
    bool _selected = false;
    bool _highlighted = false;
};
