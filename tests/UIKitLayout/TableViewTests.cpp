#include <gtest/gtest.h>

#include "LayoutTesting.h"

namespace {

TEST(TableView, CellsAreAsTallAsTheirRowsBeforeTheFirstPass) {
    // Content that fits only in the row's full height: a cell made at the
    // default 44 points must have its row's height when first solved.
    for (CGFloat height : {60.0, 200.0}) {
        SDKEventLog::clear();
        Ref<UITableView> table = alloc<UITableView>()->initWithFrame(CGRectMake(0, 0, 390, 844),
                                                                     UITableViewStyleInsetGrouped);
        Ref<UITableViewCell> cell =
            alloc<UITableViewCell>()->initWithStyle(UITableViewCellStyleDefault, std::nullopt);
        Ref<UIView> content = makeConstrained();
        cell->addSubview(content);
        activate({content->topAnchor()->constraintGreaterThanOrEqualToAnchor(cell->topAnchor()),
                  content->centerYAnchor()->constraintEqualToAnchor(cell->centerYAnchor()),
                  content->leftAnchor()->constraintEqualToAnchor(cell->leftAnchor()),
                  content->widthAnchor()->constraintEqualToConstant(50),
                  content->heightAnchor()->constraintEqualToConstant(height - 20)});
        table->setSections({UITableView::Section{std::nullopt, std::nullopt, {{cell, height}}}});
        table->layoutIfNeeded();
        EXPECT_TRUE(SDKEventLog::eventsOfKind("error").empty()) << height;
        expectFrame(content, CGRectMake(0, 10, 50, height - 20), "content");
    }
}

} // namespace
