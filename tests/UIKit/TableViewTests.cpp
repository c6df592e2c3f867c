#include <gtest/gtest.h>

#include <UIKit/NSIndexPath.h>
#include <UIKit/UIKit.h>
#include <UIKit/UITableViewDataSource.h>
#include <UIKit/UITableViewDelegate.h>

namespace {

constexpr size_t kSections = 4;
constexpr size_t kRowsPerSection = 10;

// Makes each row's cell and, like a cell that sets its own row's height,
// answers 60 for every third row once its cell is made (the rows are given 44).
class RowMaker : public UITableViewDataSource, public UITableViewDelegate {
public:
    Ref<UITableViewCell> tableViewCellForRowAtIndexPath(const Ref<UITableView>&,
                                                        const Ref<NSIndexPath>& path) override {
        Ref<UITableViewCell> cell =
            alloc<UITableViewCell>()->initWithStyle(UITableViewCellStyleDefault, "row");
        made.push_back(cell);
        madeAt.push_back(flat(path));
        return cell;
    }
    std::optional<CGFloat> tableViewHeightForRowAtIndexPath(const Ref<UITableView>&,
                                                            const Ref<NSIndexPath>& path) override {
        return flat(path) % 3 == 0 ? 60 : 44;
    }
    void tableViewDidSelectRowAtIndexPath(const Ref<UITableView>&,
                                          const Ref<NSIndexPath>&) override {}

    static size_t flat(const Ref<NSIndexPath>& path) {
        return static_cast<size_t>(path->section()) * kRowsPerSection +
               static_cast<size_t>(path->row());
    }
    size_t alive() const {
        size_t count = 0;
        for (const Weak<UITableViewCell>& cell : made) {
            count += cell.expired() ? 0 : 1;
        }
        return count;
    }

    std::vector<Weak<UITableViewCell>> made;
    std::vector<size_t> madeAt;
};

struct ShownTable {
    explicit ShownTable(CGFloat height) {
        window = alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 390, height));
        table = alloc<UITableView>()->initWithFrame(window->bounds(), UITableViewStyleInsetGrouped);
        table->setDataSource(rows);
        table->setDelegate(rows);
        std::vector<UITableView::Section> sections(kSections);
        for (UITableView::Section& section : sections) {
            section.headerTitle = "Section";
            section.rows.assign(kRowsPerSection, UITableView::Row{nullptr, 44, true});
        }
        table->setSections(std::move(sections));
        window->addSubview(table);
        window->layoutIfNeeded();
    }
    Ref<UITableViewCell> ask(size_t row) {
        return table->cellForRowAtIndexPath(
            NSIndexPath::indexPathForRow(static_cast<NSInteger>(row % kRowsPerSection),
                                         static_cast<NSInteger>(row / kRowsPerSection)));
    }

    std::shared_ptr<RowMaker> rows = std::make_shared<RowMaker>();
    Ref<UIWindow> window;
    Ref<UITableView> table;
};

TEST(TableView, MakesCellsForTheRowsOnScreenOnly) {
    const struct Case {
        CGFloat windowHeight;
        size_t cells;
    } cases[] = {{2400, kSections * kRowsPerSection}, {300, 5}, {100, 1}};
    for (const Case& c : cases) {
        ShownTable shown(c.windowHeight);
        EXPECT_EQ(shown.table->visibleCells().size(), c.cells) << c.windowHeight;
        EXPECT_EQ(shown.rows->alive(), c.cells) << c.windowHeight;
        // Made top down, once each.
        for (size_t i = 0; i < shown.rows->madeAt.size(); ++i) {
            EXPECT_EQ(shown.rows->madeAt[i], i) << c.windowHeight;
        }
    }
}

// Rows asked for one by one in a short window lie where a window showing the
// whole page puts them, though each cell changed its row's height when made,
// and the cell asked for before goes once it is off screen.
TEST(TableView, RowsAskedForOneByOneLieWhereTheWholePageHasThem) {
    ShownTable whole(2400);
    ShownTable shortWindow(300);
    const size_t onScreen = shortWindow.rows->alive();
    for (size_t row = 0; row < kSections * kRowsPerSection; ++row) {
        Ref<UITableViewCell> cell = shortWindow.ask(row);
        ASSERT_TRUE(cell) << row;
        EXPECT_EQ(cell->frame(), whole.ask(row)->frame()) << row;
        EXPECT_LE(shortWindow.rows->alive(), onScreen + 1) << row;
    }
    EXPECT_EQ(shortWindow.table->contentHeight(), whole.table->contentHeight());
    shortWindow.window->layoutIfNeeded();
    for (size_t i = 0; i < kSections; ++i) {
        EXPECT_EQ(shortWindow.table->sectionLayouts()[i].card,
                  whole.table->sectionLayouts()[i].card);
    }
    EXPECT_EQ(shortWindow.ask(kSections * kRowsPerSection), nullptr);
}

} // namespace
