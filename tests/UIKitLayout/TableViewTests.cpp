#include <gtest/gtest.h>

#include "LayoutTesting.h"

namespace {

TEST(TableView, CellsAreAsTallAsTheirRowsBeforeTheFirstPass) {
    // Content that fits only in the row's full height: made at the default
    // 44 points, the cell must be given its row's height before its
    // constraints are first solved, or they conflict.
    for (CGFloat height : {60.0, 120.0, 200.0}) {
        SCOPED_TRACE(height);
        SDKEventLog::clear();
        Ref<UIView> root = makeView(CGRectMake(0, 0, 390, 844));
        Ref<UITableView> table = alloc<UITableView>()->initWithFrame(CGRectMake(0, 0, 390, 844),
                                                                     UITableViewStyleInsetGrouped);
        root->addSubview(table);
        Ref<UITableViewCell> cell =
            alloc<UITableViewCell>()->initWithStyle(UITableViewCellStyleDefault, std::nullopt);
        Ref<UIView> content = makeConstrained();
        cell->addSubview(content);
        activate({content->topAnchor()->constraintGreaterThanOrEqualToAnchor(cell->topAnchor()),
                  content->bottomAnchor()->constraintLessThanOrEqualToAnchor(cell->bottomAnchor()),
                  content->centerYAnchor()->constraintEqualToAnchor(cell->centerYAnchor()),
                  content->leftAnchor()->constraintEqualToAnchor(cell->leftAnchor()),
                  content->widthAnchor()->constraintEqualToConstant(50),
                  content->heightAnchor()->constraintEqualToConstant(height - 20)});
        table->setSections({UITableView::Section{std::nullopt, std::nullopt, {{cell, height}}}});
        EXPECT_EQ(cell->frame().size.height, height);

        root->layoutIfNeeded();
        EXPECT_TRUE(SDKEventLog::eventsOfKind("error").empty());
        expectFrame(cell, CGRectMake(16, 35, 358, height), "cell");
        expectFrame(content, CGRectMake(0, 10, 50, height - 20), "content");
    }
}

} // namespace
