#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostError.h"
#include "ProjectTemplate.h"
#include "TemporaryDeviceRoot.h"

namespace fs = std::filesystem;

namespace {

std::string readWhole(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A small template in a temporary folder, and a project folder beside it.
struct TemplateFixture {
    TemporaryDeviceRoot folder;
    fs::path templateFolder = fs::path(folder.path()) / "template";
    fs::path project = fs::path(folder.path()) / "project";

    TemplateFixture() {
        writeFile(templateFolder / "bundle/Info.plist", "@NAME@ @IDENTIFIER@ @BUNDLE@ @LAYOUT@");
        writeFile(templateFolder / "__NAME__ListController.cpp.in", "class @NAME@ListController;");
        writeFile(templateFolder / "bundle/icon.png", "@NAME@ stays in a picture");
    }
};

} // namespace

TEST(ProjectTemplateTest, TakesOnlyALetterFollowedByLettersAndDigits) {
    const struct {
        std::string name;
        bool valid;
    } cases[] = {{"Tweak", true},
                 {"a1B2", true},
                 {std::string(64, 'x'), true},
                 {"", false},
                 {"1Tweak", false},
                 {"../Tweak", false},
                 {"My Tweak", false},
                 {"My-Tweak", false},
                 {"Tw\xC3\xA4k", false},
                 {std::string(65, 'x'), false}};
    for (const auto& test : cases) {
        EXPECT_EQ(ProjectTemplate::isValidName(test.name), test.valid) << test.name;
    }
}

TEST(ProjectTemplateTest, PutsTheBundleWhereTheLayoutHasItAndFillsInTheName) {
    const struct {
        ProjectTemplate::Layout layout;
        std::string bundle;
        std::string info;
    } cases[] = {
        {ProjectTemplate::Layout::Rootless,
         "device-root/var/jb/Library/PreferenceBundles/Tweak.bundle",
         "Tweak com.example.tweak /var/jb/Library/PreferenceBundles/Tweak.bundle rootless"},
        {ProjectTemplate::Layout::Rootful, "device-root/Library/PreferenceBundles/Tweak.bundle",
         "Tweak com.example.tweak /Library/PreferenceBundles/Tweak.bundle rootful"}};
    for (const auto& test : cases) {
        TemplateFixture fixture;
        const std::vector<fs::path> written =
            ProjectTemplate("Tweak", test.layout).write(fixture.templateFolder, fixture.project);
        EXPECT_EQ(written, (std::vector<fs::path>{"TweakListController.cpp",
                                                  fs::path(test.bundle) / "Info.plist",
                                                  fs::path(test.bundle) / "icon.png"}));
        EXPECT_EQ(readWhole(fixture.project / test.bundle / "Info.plist"), test.info);
        EXPECT_EQ(readWhole(fixture.project / "TweakListController.cpp"),
                  "class TweakListController;");
        EXPECT_EQ(readWhole(fixture.project / test.bundle / "icon.png"),
                  "@NAME@ stays in a picture");
    }
}

TEST(ProjectTemplateTest, WritesOnlyIntoANewOrEmptyFolder) {
    TemplateFixture fixture;
    const ProjectTemplate project("Tweak", ProjectTemplate::Layout::Rootless);
    fs::create_directories(fixture.project);
    EXPECT_EQ(project.write(fixture.templateFolder, fixture.project).size(), 3u);

    // Not empty now: refused, and what is there stays as it was.
    writeFile(fixture.project / "TweakListController.cpp", "my own code");
    EXPECT_THROW(project.write(fixture.templateFolder, fixture.project), HostError);
    EXPECT_EQ(readWhole(fixture.project / "TweakListController.cpp"), "my own code");

    const fs::path file = fixture.project / "TweakListController.cpp";
    EXPECT_THROW(project.write(fixture.templateFolder, file), HostError);
    EXPECT_EQ(readWhole(file), "my own code");
}
