#pragma once

// Pages for the benchmarks, in a temporary device root.

#include <cstdlib>
#include <filesystem>
#include <string>

#include <Foundation/DeviceRoot.h>
#include <Foundation/NSPropertyListSerialization.h>

// A fresh folder standing for the device, removed at the end.
class BenchRoot {
public:
    BenchRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kl-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::abort();
        }
        path = pattern;
    }
    ~BenchRoot() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

// A bundle of `rows` rows, ten to a section: colour rows, or colour, slider
// and stepper rows in turn when `mixed`.
inline void writeLongPage(const std::string& root, long rows, bool mixed = false) {
    DeviceRoot::setPath(root);
    const std::string bundle = "/var/jb/Library/PreferenceBundles/Long.bundle";
    NSPropertyListSerialization::writePropertyList(
        Value(Value::Dictionary{{"NSPrincipalClass", "PSListController"}}), bundle + "/Info.plist",
        NSPropertyListXMLFormat_v1_0);
    Value::Array items;
    for (long i = 0; i < rows; ++i) {
        if (i % 10 == 0) {
            items.emplace_back(Value::Dictionary{{"cell", "PSGroupCell"},
                                                 {"label", "Section " + std::to_string(i / 10)}});
        }
        const std::string number = std::to_string(i);
        switch (mixed ? i % 3 : 0) {
        case 0:
            items.emplace_back(Value::Dictionary{{"cell", "PSTableCell"},
                                                 {"cellClass", "KLColorPickerCell"},
                                                 {"label", "Colour " + number},
                                                 {"key", "colour" + number},
                                                 {"defaults", "com.example.long"},
                                                 {"fallbackHex", i % 2 ? "#FF9500" : "#34C75980"},
                                                 {"supportsAlpha", i % 2 == 0}});
            break;
        case 1:
            items.emplace_back(Value::Dictionary{{"cell", "PSTableCell"},
                                                 {"cellClass", "KLSliderCell"},
                                                 {"title", "Level " + number},
                                                 {"key", "level" + number},
                                                 {"defaults", "com.example.long"},
                                                 {"min", 0},
                                                 {"max", 10},
                                                 {"default", 2.5}});
            break;
        default:
            items.emplace_back(Value::Dictionary{{"cell", "PSTableCell"},
                                                 {"cellClass", "KLStepperCell"},
                                                 {"title", "Count " + number},
                                                 {"key", "count" + number},
                                                 {"defaults", "com.example.long"},
                                                 {"min", 0},
                                                 {"max", 20}});
            break;
        }
    }
    NSPropertyListSerialization::writePropertyList(
        Value(Value::Dictionary{{"title", "Long"}, {"items", items}}), bundle + "/Root.plist",
        NSPropertyListBinaryFormat_v1_0);
}
