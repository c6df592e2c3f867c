// Lays out pages of independent rows, each a title, a slider and a value
// label constrained the way the slider row is, to check that the layout
// engine's cost grows in proportion to the page.

#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <UIKit/UIKit.h>

namespace {

constexpr CGFloat kRowWidth = 375;
constexpr CGFloat kRowHeight = 45;

Ref<UIView> makeRow(size_t index) {
    Ref<UIView> row =
        alloc<UIView>()->initWithFrame(CGRectMake(0, kRowHeight * index, kRowWidth, kRowHeight));
    Ref<UILabel> title = alloc<UILabel>()->init();
    title->setTranslatesAutoresizingMaskIntoConstraints(false);
    title->setText("Setting " + std::to_string(index % 50));
    title->setFont(UIFont::systemFontOfSize(13));
    Ref<UISlider> slider = alloc<UISlider>()->init();
    slider->setTranslatesAutoresizingMaskIntoConstraints(false);
    Ref<UILabel> value = alloc<UILabel>()->init();
    value->setTranslatesAutoresizingMaskIntoConstraints(false);
    value->setText(std::to_string(index % 100) + ".0");
    value->setFont(UIFont::systemFontOfSize(13));
    row->addSubview(title);
    row->addSubview(slider);
    row->addSubview(value);
    NSLayoutConstraint::activateConstraints({
        title->leftAnchor()->constraintEqualToAnchor(row->leftAnchor(), 15),
        title->centerYAnchor()->constraintEqualToAnchor(row->centerYAnchor()),
        title->heightAnchor()->constraintEqualToConstant(kRowHeight),
        value->rightAnchor()->constraintEqualToAnchor(row->rightAnchor(), -15),
        value->centerYAnchor()->constraintEqualToAnchor(row->centerYAnchor()),
        value->heightAnchor()->constraintEqualToConstant(kRowHeight),
        value->widthAnchor()->constraintEqualToConstant(30),
        slider->leftAnchor()->constraintEqualToAnchor(title->rightAnchor(), 5),
        slider->rightAnchor()->constraintEqualToAnchor(value->leftAnchor(), -5),
        slider->centerYAnchor()->constraintEqualToAnchor(row->centerYAnchor()),
        slider->heightAnchor()->constraintEqualToConstant(kRowHeight),
    });
    return row;
}

Ref<UIView> makePage(size_t rows) {
    Ref<UIView> page =
        alloc<UIView>()->initWithFrame(CGRectMake(0, 0, kRowWidth, kRowHeight * rows));
    for (size_t i = 0; i < rows; ++i) {
        page->addSubview(makeRow(i));
    }
    return page;
}

// Building the rows, activating their constraints and the first layout pass.
void BM_BuildAndLayOutPage(benchmark::State& state) {
    const size_t rows = static_cast<size_t>(state.range(0));
    for (auto _ : state) {
        Ref<UIView> page = makePage(rows);
        page->layoutIfNeeded();
        benchmark::DoNotOptimize(page->subviews().back()->subviews()[1]->frame());
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows));
}

// A laid-out page whose rows all change width, laid out again.
void BM_RelayOutResizedPage(benchmark::State& state) {
    const size_t rows = static_cast<size_t>(state.range(0));
    Ref<UIView> page = makePage(rows);
    page->layoutIfNeeded();
    bool narrow = false;
    for (auto _ : state) {
        narrow = !narrow;
        const CGFloat width = narrow ? 320 : kRowWidth;
        for (const Ref<UIView>& row : page->subviews()) {
            CGRect frame = row->frame();
            frame.size.width = width;
            row->setFrame(frame);
        }
        page->layoutIfNeeded();
        benchmark::DoNotOptimize(page->subviews().back()->subviews()[1]->frame());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows));
}

} // namespace

BENCHMARK(BM_BuildAndLayOutPage)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelayOutResizedPage)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
