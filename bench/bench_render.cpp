// Building, laying out and drawing preference pages at scale 3: the example
// page, and pages of 1,000 and 2,000 colour rows drawn whole in tiles.
#include <cairo.h>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include <Foundation/DeviceRoot.h>
#include <Foundation/NSPropertyListSerialization.h>
#include <Foundation/SDKEventLog.h>
#include <UIKit/UIScreen.h>
#include <render/SDKPageRenderer.h>

#include "BenchPage.h"
#include "PageHost.h"

namespace {

constexpr double kScale = 3;
// The tallest tile drawn at once, in points; its surface is reused.
constexpr CGFloat kTileHeight = 1200;

// Loads the page, lays it out and draws all of it, tile by tile, in an
// appearance and at a text size. Answers the page's height in points.
CGFloat buildAndDraw(const std::string& root, cairo_surface_t* tile,
                     UIUserInterfaceStyle appearance = UIUserInterfaceStyleLight,
                     UIContentSizeCategory contentSize = UIContentSizeCategory::Large) {
    SDKEventLog::clear();
    PageHost::Settings settings;
    settings.deviceRoot = root;
    settings.look.appearance = appearance;
    settings.look.contentSize = contentSize;
    PageHost host(settings);
    SDKPageRenderer renderer(host.window(), kScale);
    const CGSize page = renderer.pageSize();
    cairo_t* cairo = cairo_create(tile);
    for (CGFloat top = 0; top < page.height; top += kTileHeight) {
        renderer.drawRegion(
            cairo, CGRectMake(0, top, page.width, std::min(kTileHeight, page.height - top)));
    }
    cairo_destroy(cairo);
    cairo_surface_flush(tile);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(tile));
    return page.height;
}

// Reports the page's height and the time per 1,000 points of it, which
// compares pages of different heights (a larger text size makes a page taller).
void reportHeight(benchmark::State& state, CGFloat height) {
    state.counters["height"] = height;
    state.counters["perKPoints"] = benchmark::Counter(
        height / 1000, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

cairo_surface_t* makeTile() {
    const CGFloat width = UIScreen::standardScreen()->bounds().size.width;
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width * kScale),
                                      static_cast<int>(kTileHeight * kScale));
}

// Draws the example page, from a copy of its device root, in an appearance
// and at a text size, and reports its height.
void drawExample(benchmark::State& state, UIUserInterfaceStyle appearance,
                 UIContentSizeCategory contentSize) {
    BenchRoot root;
    std::filesystem::copy(std::string(KL_SOURCE_DIR) + "/examples/device-root", root.path,
                          std::filesystem::copy_options::recursive);
    cairo_surface_t* tile = makeTile();
    CGFloat height = 0;
    for (auto _ : state) {
        height = buildAndDraw(root.path, tile, appearance, contentSize);
    }
    cairo_surface_destroy(tile);
    reportHeight(state, height);
}

void BM_ExamplePage(benchmark::State& state) {
    drawExample(state, UIUserInterfaceStyleLight, UIContentSizeCategory::Large);
}
BENCHMARK(BM_ExamplePage)->Unit(benchmark::kMillisecond);

// The same page dark at the default text size: the same pixels as the
// default, so this is what the appearance alone costs.
void BM_ExamplePageDark(benchmark::State& state) {
    drawExample(state, UIUserInterfaceStyleDark, UIContentSizeCategory::Large);
}
BENCHMARK(BM_ExamplePageDark)->Unit(benchmark::kMillisecond);

// The same page dark at accessibility size 3 (rows taller, titles wrapping):
// it should cost no more than 1.2 times the default for each point of page.
void BM_ExamplePageDarkAX3(benchmark::State& state) {
    drawExample(state, UIUserInterfaceStyleDark, UIContentSizeCategory::AccessibilityExtraLarge);
}
BENCHMARK(BM_ExamplePageDarkAX3)->Unit(benchmark::kMillisecond);

void BM_LongPage(benchmark::State& state) {
    BenchRoot root;
    writeLongPage(root.path, state.range(0));
    cairo_surface_t* tile = makeTile();
    for (auto _ : state) {
        buildAndDraw(root.path, tile);
    }
    cairo_surface_destroy(tile);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LongPage)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
