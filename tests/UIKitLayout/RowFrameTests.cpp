#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "LayoutTesting.h"

namespace {

CGFloat textWidth(const std::string& text, const Ref<UIFont>& font) {
    return NSStringDrawing::sizeWithFont(text, font).width;
}

CGFloat lineHeight(const Ref<UIFont>& font) {
    return NSStringDrawing::lineHeightForFont(font);
}

// A small rounded control with an icon and a caption that makes its
// constraints anew in every layout pass, from its height at that pass, and
// never deactivates the earlier ones.
class IconCaptionControl : public UIControl {
public:
    Ref<IconCaptionControl> initWithFrame(CGRect frame, bool hasIcon, const std::string& text) {
        UIControl::initWithFrame(frame);
        if (hasIcon) {
            icon = makeConstrained<UIImageView>();
            icon->setImage(UIImage::systemImageNamed("person.crop.square.fill"));
            addSubview(icon);
        }
        if (!text.empty()) {
            label = makeLabel(text, UIFont::systemFontOfSize(14));
            addSubview(label);
        }
        return self<IconCaptionControl>();
    }

    void layoutSubviews() override {
        UIControl::layoutSubviews();
        ++passes;
        const CGFloat h = frame().size.height;
        if (icon && label) {
            activate({icon->leftAnchor()->constraintEqualToAnchor(leftAnchor(), 5),
                      icon->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()),
                      icon->widthAnchor()->constraintEqualToConstant(h - 10),
                      icon->heightAnchor()->constraintEqualToConstant(h - 10),
                      label->leftAnchor()->constraintEqualToAnchor(icon->rightAnchor()),
                      label->rightAnchor()->constraintEqualToAnchor(rightAnchor(), -5),
                      label->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()),
                      label->heightAnchor()->constraintEqualToConstant(h)});
        } else if (label) {
            activate({label->leftAnchor()->constraintEqualToAnchor(leftAnchor(), 5),
                      label->rightAnchor()->constraintEqualToAnchor(rightAnchor(), -5),
                      label->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()),
                      label->heightAnchor()->constraintEqualToConstant(h)});
        }
    }

    Ref<UIImageView> icon;
    Ref<UILabel> label;
    int passes = 0;
};

// Title, control and value in a 45-point row, placed by left and right anchors.
ExpectedFrames sliderRow() {
    ExpectedFrames tree;
    Ref<UIView> cell = makeView(CGRectMake(0, 0, 375, 45));
    const Ref<UIFont> font = UIFont::systemFontOfSize(13);
    Ref<UILabel> title = makeLabel("Brightness", font);
    Ref<UIView> slider = makeConstrained();
    Ref<UILabel> value = makeLabel("50.0", font);
    value->setTextAlignment(NSTextAlignmentCenter);
    for (const Ref<UIView>& view : {Ref<UIView>(title), slider, Ref<UIView>(value)}) {
        cell->addSubview(view);
    }
    activate({title->leftAnchor()->constraintEqualToAnchor(cell->leftAnchor(), 15),
              title->centerYAnchor()->constraintEqualToAnchor(cell->centerYAnchor()),
              title->heightAnchor()->constraintEqualToConstant(45),
              value->rightAnchor()->constraintEqualToAnchor(cell->rightAnchor(), -15),
              value->centerYAnchor()->constraintEqualToAnchor(cell->centerYAnchor()),
              value->heightAnchor()->constraintEqualToConstant(45),
              value->widthAnchor()->constraintEqualToConstant(30),
              slider->leftAnchor()->constraintEqualToAnchor(title->rightAnchor(), 5),
              slider->rightAnchor()->constraintEqualToAnchor(value->leftAnchor(), -5),
              slider->centerYAnchor()->constraintEqualToAnchor(cell->centerYAnchor()),
              slider->heightAnchor()->constraintEqualToConstant(45)});
    const CGFloat titleWidth = textWidth("Brightness", font);
    tree.root = cell;
    tree.expect("title", title, CGRectMake(15, 0, titleWidth, 45));
    tree.expect("slider", slider, CGRectMake(20 + titleWidth, 0, 305 - titleWidth, 45));
    tree.expect("value", value, CGRectMake(330, 0, 30, 45));
    return tree;
}

// One choice: picture, caption under it, check mark under the caption.
struct Choice {
    Ref<UIView> view;
    Ref<UIImageView> picture;
    Ref<UILabel> caption;
    Ref<UIImageView> check;
};

Choice makeChoice(CGRect frame, const std::string& title) {
    Choice choice;
    choice.view = makeView(frame);
    choice.picture = makeConstrained<UIImageView>();
    choice.picture->setContentMode(UIViewContentModeScaleAspectFit);
    choice.caption = makeLabel(title, UIFont::systemFontOfSize(17));
    choice.caption->setTextAlignment(NSTextAlignmentCenter);
    choice.check = makeConstrained<UIImageView>();
    choice.check->setImage(UIImage::systemImageNamed("circle"));
    const Ref<UIView>& v = choice.view;
    for (const Ref<UIView>& sub :
         {Ref<UIView>(choice.picture), Ref<UIView>(choice.caption), Ref<UIView>(choice.check)}) {
        v->addSubview(sub);
    }
    activate(
        {choice.picture->centerXAnchor()->constraintEqualToAnchor(v->centerXAnchor()),
         choice.picture->centerYAnchor()->constraintEqualToAnchor(v->centerYAnchor(), -20),
         choice.picture->widthAnchor()->constraintEqualToAnchorMultiplier(v->widthAnchor(), 0.5),
         choice.picture->heightAnchor()->constraintEqualToAnchorMultiplier(v->heightAnchor(), 0.6),
         choice.caption->centerXAnchor()->constraintEqualToAnchor(v->centerXAnchor()),
         choice.caption->topAnchor()->constraintEqualToAnchor(choice.picture->bottomAnchor()),
         choice.caption->widthAnchor()->constraintEqualToAnchor(v->widthAnchor()),
         choice.check->centerXAnchor()->constraintEqualToAnchor(v->centerXAnchor()),
         choice.check->topAnchor()->constraintEqualToAnchor(choice.caption->bottomAnchor(), 5),
         choice.check->widthAnchor()->constraintEqualToConstant(25),
         choice.check->heightAnchor()->constraintEqualToConstant(25)});
    return choice;
}

ExpectedFrames choiceView() {
    ExpectedFrames tree;
    Choice choice = makeChoice(CGRectMake(0, 0, 120, 180), "Dark");
    const CGFloat captionHeight = lineHeight(UIFont::systemFontOfSize(17));
    tree.root = choice.view;
    tree.expect("picture", choice.picture, CGRectMake(30, 16, 60, 108));
    tree.expect("caption", choice.caption, CGRectMake(0, 124, 120, captionHeight));
    tree.expect("check", choice.check, CGRectMake(47.5, 129 + captionHeight, 25, 25));
    return tree;
}

// Icon and caption in the header's 85 by 30 author control.
ExpectedFrames iconCaptionControl() {
    ExpectedFrames tree;
    auto control =
        alloc<IconCaptionControl>()->initWithFrame(CGRectMake(0, 0, 85, 30), true, "Developer");
    tree.root = control;
    tree.expect("icon", control->icon, CGRectMake(5, 5, 20, 20));
    tree.expect("label", control->label, CGRectMake(25, 0, 55, 30));
    return tree;
}

// The banner's content: a bold name over a row of four fixed-size controls.
ExpectedFrames header() {
    ExpectedFrames tree;
    Ref<UIView> banner = makeView(CGRectMake(0, 0, 375, 200));
    Ref<UIStackView> vStack = makeConstrained<UIStackView>();
    vStack->setAxis(UILayoutConstraintAxisVertical);
    vStack->setDistribution(UIStackViewDistributionEqualSpacing);
    vStack->setAlignment(UIStackViewAlignmentCenter);
    vStack->setSpacing(5);
    Ref<UIStackView> hStack = makeConstrained<UIStackView>();
    hStack->setAxis(UILayoutConstraintAxisHorizontal);
    hStack->setDistribution(UIStackViewDistributionEqualSpacing);
    hStack->setAlignment(UIStackViewAlignmentCenter);
    hStack->setSpacing(5);
    const Ref<UIFont> bold = UIFont::boldSystemFontOfSize(32);
    Ref<UILabel> name = makeLabel("Tweak", bold);
    name->setTextAlignment(NSTextAlignmentCenter);
    vStack->addArrangedSubview(name);

    auto author =
        alloc<IconCaptionControl>()->initWithFrame(CGRectMake(0, 0, 85, 30), true, "Developer");
    auto version =
        alloc<IconCaptionControl>()->initWithFrame(CGRectMake(0, 0, 65, 30), false, "1.2");
    Ref<UIView> donate = makeView(CGRectMake(0, 0, 30, 30));
    Ref<UIView> more = makeView(CGRectMake(0, 0, 30, 30));
    const std::pair<Ref<UIView>, CGFloat> items[] = {
        {author, 85}, {version, 65}, {donate, 30}, {more, 30}};
    for (const auto& [item, width] : items) {
        item->setTranslatesAutoresizingMaskIntoConstraints(false);
        hStack->addArrangedSubview(item);
        activate({item->widthAnchor()->constraintEqualToConstant(width),
                  item->heightAnchor()->constraintEqualToConstant(30)});
    }
    vStack->addArrangedSubview(hStack);
    hStack->heightAnchor()->constraintEqualToConstant(30)->setActive(true);
    banner->addSubview(vStack);
    activate({vStack->centerXAnchor()->constraintEqualToAnchor(banner->centerXAnchor()),
              vStack->centerYAnchor()->constraintEqualToAnchor(banner->centerYAnchor()),
              vStack->heightAnchor()->constraintEqualToConstant(80)});

    const CGFloat nameWidth = textWidth("Tweak", bold);
    const CGFloat width = std::max(225.0, nameWidth);
    tree.root = banner;
    tree.expect("vStack", vStack, CGRectMake((375 - width) / 2, 60, width, 80));
    tree.expect("name", name, CGRectMake((width - nameWidth) / 2, 0, nameWidth, lineHeight(bold)));
    tree.expect("hStack", hStack, CGRectMake((width - 225) / 2, 50, 225, 30));
    tree.expect("author", author, CGRectMake(0, 0, 85, 30));
    tree.expect("version", version, CGRectMake(90, 0, 65, 30));
    tree.expect("donate", donate, CGRectMake(160, 0, 30, 30));
    tree.expect("more", more, CGRectMake(195, 0, 30, 30));
    tree.expect("author icon", author->icon, CGRectMake(5, 5, 20, 20));
    tree.expect("author label", author->label, CGRectMake(25, 0, 55, 30));
    tree.expect("version label", version->label, CGRectMake(5, 0, 55, 30));
    return tree;
}

// The repository button: a box symbol over a caption in a 375 by 120 control.
ExpectedFrames repositoryButton() {
    ExpectedFrames tree;
    Ref<UIControl> button = alloc<UIControl>()->initWithFrame(CGRectMake(0, 0, 375, 120));
    Ref<UIImageView> icon = makeConstrained<UIImageView>();
    icon->setImage(UIImage::systemImageNamed("shippingbox.fill"));
    button->addSubview(icon);
    const CGFloat side = button->frame().size.height / 2;
    activate({icon->centerXAnchor()->constraintEqualToAnchor(button->centerXAnchor()),
              icon->centerYAnchor()->constraintEqualToAnchor(button->centerYAnchor(), -10),
              icon->widthAnchor()->constraintEqualToConstant(side),
              icon->heightAnchor()->constraintEqualToConstant(side)});
    const Ref<UIFont> font = UIFont::systemFontOfSize(14);
    Ref<UILabel> caption = makeLabel("Visit the repository", font);
    caption->setTextAlignment(NSTextAlignmentCenter);
    button->addSubview(caption);
    activate({caption->centerXAnchor()->constraintEqualToAnchor(button->centerXAnchor()),
              caption->topAnchor()->constraintEqualToAnchor(icon->bottomAnchor(), 5)});
    const CGSize text = NSStringDrawing::sizeWithFont("Visit the repository", font);
    tree.root = button;
    tree.expect("icon", icon, CGRectMake(157.5, 20, 60, 60));
    tree.expect("caption", caption,
                CGRectMake((375 - text.width) / 2, 85, text.width, text.height));
    return tree;
}

struct RowCase {
    const char* name;
    std::function<ExpectedFrames()> build;
};

class RowFrames : public testing::TestWithParam<RowCase> {};

TEST_P(RowFrames, EveryFrameIsWhereTheConstraintsPutIt) {
    SDKEventLog::clear();
    ExpectedFrames tree = GetParam().build();
    tree.root->layoutIfNeeded();
    expectFrames(tree);
    // Another pass, asked for or not, changes nothing.
    tree.root->setNeedsLayout();
    tree.root->layoutIfNeeded();
    expectFrames(tree);
    EXPECT_TRUE(errorMessages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RowFrames,
    testing::Values(RowCase{"SliderRow", sliderRow}, RowCase{"ChoiceView", choiceView},
                    RowCase{"IconCaptionControl", iconCaptionControl}, RowCase{"Header", header},
                    RowCase{"RepositoryButton", repositoryButton}),
    [](const testing::TestParamInfo<RowCase>& rowCase) { return std::string(rowCase.param.name); });

// Three choices made 320/3 wide in a row that was 320 wide: the row fits them
// exactly; wider, the ends stay at the edges and the gaps share the rest.
TEST(PickerRow, ChoicesKeepTheirShareAndSpreadWhenTheRowWidens) {
    SDKEventLog::clear();
    Ref<UIView> cell = makeView(CGRectMake(0, 0, 320, 200));
    Ref<UIStackView> stack = makeConstrained<UIStackView>();
    stack->setAxis(UILayoutConstraintAxisHorizontal);
    stack->setDistribution(UIStackViewDistributionEqualSpacing);
    stack->setAlignment(UIStackViewAlignmentCenter);
    stack->setSpacing(0);
    const CGFloat share = cell->frame().size.width / 3;
    std::vector<Choice> choices;
    for (int i = 0; i < 3; ++i) {
        Choice choice = makeChoice(CGRectZero, "Choice " + std::to_string(i));
        choice.view->setTag(i);
        activate({choice.view->heightAnchor()->constraintEqualToConstant(180),
                  choice.view->widthAnchor()->constraintEqualToConstant(share)});
        stack->addArrangedSubview(choice.view);
        choices.push_back(choice);
    }
    cell->addSubview(stack);
    activate({stack->centerXAnchor()->constraintEqualToAnchor(cell->centerXAnchor()),
              stack->centerYAnchor()->constraintEqualToAnchor(cell->centerYAnchor()),
              stack->widthAnchor()->constraintEqualToAnchor(cell->widthAnchor()),
              stack->heightAnchor()->constraintEqualToAnchor(cell->heightAnchor())});

    cell->layoutIfNeeded();
    for (int i = 0; i < 3; ++i) {
        expectFrame(choices[i].view, CGRectMake(i * share, 10, share, 180),
                    "choice " + std::to_string(i));
        expectFrame(choices[i].picture, CGRectMake(share / 4, 16, share / 2, 108), "picture");
    }

    cell->setFrame(CGRectMake(0, 0, 375, 200));
    cell->layoutIfNeeded();
    const CGFloat gap = (375 - 3 * share) / 2;
    for (int i = 0; i < 3; ++i) {
        expectFrame(choices[i].view, CGRectMake(i * (share + gap), 10, share, 180),
                    "wide choice " + std::to_string(i));
    }
    EXPECT_TRUE(errorMessages().empty());
}

size_t constraintsHeldIn(const Ref<UIView>& view) {
    size_t count = view->constraints().size();
    for (const Ref<UIView>& subview : view->subviews()) {
        count += constraintsHeldIn(subview);
    }
    return count;
}

// The control makes eight new constraints in every pass and drops none:
// identical ones take the place of the old, so nothing piles up.
TEST(RepeatedPasses, ConstraintsMadeAgainInEveryPassAddNothing) {
    SDKEventLog::clear();
    Ref<UIView> window = makeView(CGRectMake(0, 0, 375, 100));
    auto control =
        alloc<IconCaptionControl>()->initWithFrame(CGRectMake(0, 0, 85, 30), true, "Developer");
    window->addSubview(control);
    window->layoutIfNeeded();
    const UILayoutEngine* engine = window->layoutEngine();
    ASSERT_NE(engine, nullptr);
    const size_t rows = engine->solverRowCount();
    const size_t constraints = engine->constraintCount();
    EXPECT_EQ(constraints, 8u);
    EXPECT_EQ(constraintsHeldIn(control), 8u);

    const int passesBefore = control->passes;
    for (int i = 0; i < 50; ++i) {
        control->setNeedsLayout();
        window->layoutIfNeeded();
    }
    EXPECT_EQ(control->passes, passesBefore + 50);
    EXPECT_EQ(engine->solverRowCount(), rows);
    EXPECT_EQ(engine->constraintCount(), constraints);
    EXPECT_EQ(constraintsHeldIn(control), 8u);
    expectFrame(control->icon, CGRectMake(5, 5, 20, 20), "icon");
    expectFrame(control->label, CGRectMake(25, 0, 55, 30), "label");

    // A new height changes the three sizes: the old sizes, reachable by no
    // one, stay in force beside the new ones and conflict with them, as they
    // would on a device; the five unchanged constraints are replaced.
    control->setFrame(CGRectMake(0, 0, 85, 40));
    window->layoutIfNeeded();
    EXPECT_EQ(constraintsHeldIn(control), 11u);
    EXPECT_FALSE(errorMessages().empty());
}

} // namespace
