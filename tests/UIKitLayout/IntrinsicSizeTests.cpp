#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include <pango/pangocairo.h>

#include "LayoutTesting.h"

namespace {

CGFloat widthOf(const std::string& text, const Ref<UIFont>& font) {
    Ref<UILabel> label = makeLabel(text, font);
    return label->intrinsicContentSize().width;
}

TEST(IntrinsicSize, LabelsMeasureTheirTextInInter) {
    const Ref<UIFont> regular = UIFont::systemFontOfSize(13);
    const Ref<UIFont> bold = UIFont::boldSystemFontOfSize(13);
    EXPECT_GT(widthOf("Brightness", bold), widthOf("Brightness", regular));
    EXPECT_GT(widthOf("Brightness level", regular), widthOf("Brightness", regular));
    EXPECT_GT(widthOf("WWWW", regular), widthOf("iiii", regular));
    // Unhinted: twice the size is twice the width, to Pango's 1/1024 per glyph.
    EXPECT_NEAR(widthOf("Brightness", UIFont::systemFontOfSize(26)),
                2 * widthOf("Brightness", regular), 0.01);

    // One line of the font high; no text, no size.
    Ref<UILabel> label = makeLabel("Brightness", bold);
    EXPECT_EQ(label->intrinsicContentSize().height, NSStringDrawing::lineHeightForFont(bold));
    EXPECT_GT(NSStringDrawing::lineHeightForFont(bold), 13);
    EXPECT_LT(NSStringDrawing::ascenderForFont(bold), NSStringDrawing::lineHeightForFont(bold));
    label->setText(std::nullopt);
    EXPECT_EQ(label->intrinsicContentSize(), CGSizeMake(0, 0));
    label->setText("");
    EXPECT_EQ(label->intrinsicContentSize(), CGSizeMake(0, 0));
}

TEST(IntrinsicSize, TheFontDescriptionResolvesToInter) {
    for (const Ref<UIFont>& font :
         {UIFont::systemFontOfSize(17), UIFont::boldSystemFontOfSize(32)}) {
        PangoFontMap* fontMap = pango_cairo_font_map_new();
        PangoContext* context = pango_font_map_create_context(fontMap);
        NSStringDrawing::prepareContext(context);
        PangoFontDescription* description = NSStringDrawing::newFontDescription(font);
        PangoFont* loaded = pango_font_map_load_font(fontMap, context, description);
        ASSERT_NE(loaded, nullptr);
        PangoFontDescription* actual = pango_font_describe(loaded);
        EXPECT_STREQ(pango_font_description_get_family(actual), "Inter");
        EXPECT_EQ(pango_font_description_get_weight(actual),
                  font->weight() == UIFont::Weight::Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_font_description_free(actual);
        pango_font_description_free(description);
        g_object_unref(loaded);
        g_object_unref(context);
        g_object_unref(fontMap);
    }
}

TEST(IntrinsicSize, ALabelFollowsItsText) {
    Ref<UIView> root = makeView(CGRectMake(0, 0, 300, 50));
    Ref<UILabel> label = makeLabel("On", UIFont::systemFontOfSize(15));
    root->addSubview(label);
    activate({label->leftAnchor()->constraintEqualToAnchor(root->leftAnchor(), 10),
              label->topAnchor()->constraintEqualToAnchor(root->topAnchor())});
    root->layoutIfNeeded();
    EXPECT_EQ(label->frame().size, label->intrinsicContentSize());
    label->setText("Off for now");
    root->layoutIfNeeded();
    EXPECT_EQ(label->frame().size, label->intrinsicContentSize());
    EXPECT_GT(label->frame().size.width, widthOf("On", UIFont::systemFontOfSize(15)));
    label->setFont(UIFont::boldSystemFontOfSize(20));
    root->layoutIfNeeded();
    EXPECT_EQ(label->frame().size, label->intrinsicContentSize());
}

TEST(IntrinsicSize, ImageViewsTakeTheirImageSize) {
    Ref<UIView> root = makeView(CGRectMake(0, 0, 300, 300));
    Ref<UIImageView> imageView = makeConstrained<UIImageView>();
    root->addSubview(imageView);
    EXPECT_EQ(imageView->intrinsicContentSize(),
              CGSizeMake(UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric));
    imageView->centerXAnchor()->constraintEqualToAnchor(root->centerXAnchor())->setActive(true);
    imageView->setImage(UIImage::systemImageNamed("circle"));
    ASSERT_NE(imageView->image(), nullptr);
    root->layoutIfNeeded();
    const CGSize size = imageView->image()->size();
    EXPECT_EQ(imageView->frame().size, size);
    EXPECT_EQ(imageView->frame().origin.x, 150 - size.width / 2);
}

// Two labels side by side in a row of fixed width: the one that hugs harder
// keeps its size when the row is wide, the one that resists harder when it is narrow.
TEST(IntrinsicSize, HuggingAndResistanceDecideWhoGivesWay) {
    struct Case {
        CGFloat rowWidth;
        bool firstHugsHarder;
        bool firstResistsHarder;
        bool firstKeepsItsWidth;
    };
    const Case cases[] = {
        {400, true, false, true},
        {400, false, false, false},
        {30, false, true, true},
        {30, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rowWidth);
        Ref<UIView> row = makeView(CGRectMake(0, 0, c.rowWidth, 20));
        const Ref<UIFont> font = UIFont::systemFontOfSize(15);
        Ref<UILabel> first = makeLabel("First", font);
        Ref<UILabel> second = makeLabel("Second", font);
        row->addSubview(first);
        row->addSubview(second);
        const UILayoutConstraintAxis horizontal = UILayoutConstraintAxisHorizontal;
        EXPECT_EQ(first->contentHuggingPriorityForAxis(horizontal), UILayoutPriorityDefaultLow);
        EXPECT_EQ(first->contentCompressionResistancePriorityForAxis(horizontal),
                  UILayoutPriorityDefaultHigh);
        // The weaker of the two is the second label's, or the first's when it is said to lose.
        (c.firstHugsHarder ? first : second)->setContentHuggingPriority(251, horizontal);
        (c.firstResistsHarder ? first : second)
            ->setContentCompressionResistancePriority(751, horizontal);
        activate({first->leftAnchor()->constraintEqualToAnchor(row->leftAnchor()),
                  second->leftAnchor()->constraintEqualToAnchor(first->rightAnchor()),
                  second->rightAnchor()->constraintEqualToAnchor(row->rightAnchor())});
        row->layoutIfNeeded();
        const CGFloat natural = first->intrinsicContentSize().width;
        EXPECT_EQ(first->frame().size.width == natural, c.firstKeepsItsWidth);
        EXPECT_NEAR(first->frame().size.width + second->frame().size.width, c.rowWidth, 1e-9);
    }
}

} // namespace
