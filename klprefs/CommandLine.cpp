#include "CommandLine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <CLI/CLI.hpp>

#include <Foundation/NSLocale.h>
#include <Foundation/SDKNetworkSettings.h>

#include "CheckVariant.h"
#include "HostError.h"
#include "TraitNames.h"

namespace {

// A range check alone lets "nan" through (it compares false both ways): a
// number must be finite before its range is checked.
const CLI::Validator kFinite(
    [](const std::string& text) -> std::string {
        double number = 0;
        return CLI::detail::lexical_cast(text, number) && std::isfinite(number)
                   ? ""
                   : "wants a finite number, not " + HostError::quoted(text);
    },
    "");

constexpr const char* kDescription =
    "klprefs: show, use and draw a tweak's preference page, as the Settings app does.\n"
    "Options may come before or after the command.";

constexpr const char* kFooter = R"(
Script steps (# starts a comment; quote texts with spaces):
  tap ROW                   tap a row, as a finger on its title
  tap ROW VIEW              touch the middle of a view inside the row
  pick #RRGGBB[AA]          pick a colour in the presented colour picker
  pick rgba(R, G, B, A)     pick exact components, outside 0 to 1 too
  drag ROW to VALUE         drag the row's slider to a value
  press ROW minus|plus [hold N]
                            press the row's stepper button once, or hold it
                            while its step repeats N times (a minute at most)
  type TEXT                 replace the text of the presented alert's field
  tap header VIEW           touch the middle of a view inside the page's
                            header (its banner), as VIEW below
  choose TITLE              choose an item of the open menu, or an entry of
                            an open list of choices
  button TITLE              press a button of the presented alert or screen
                            (the mail composer's Send, Cancel, Save Draft,
                            Delete Draft; the colour picker's Grid, Spectrum,
                            Sliders)
  dismiss                   close what is presented
  toggle ROW                flip the row's switch
  segment ROW TITLE         choose a segment of the row's segmented control
  enter ROW TEXT            replace the row's text and press return
  back                      go back from a page a link opened
  expect ROW stored|shown VALUE
                            fail unless the row stores or shows VALUE
  expect image NAME [row ROW]
                            (test) fail unless the window (or the row's
                            frame) looks as __snapshots__/<script>/NAME.png
                            beside the script; .actual.png and .diff.png
                            are written beside it when it differs
ROW is a row's index (0 is the first row), key:KEY, or the label or title
it shows (label:TEXT when that is a number). VIEW is path:I.J.K (subview
indices from the row), class:NAME or class:NAME:N (the Nth such view, from
0), or text:TEXT (the view showing that text).

test and sheet run each variant in its own process: --variants light,dark
--devices iphone-15,ipad-pro-12.9 --content-sizes l,ax3 --languages en,ar
make every combination (a picture's file name then names its variant, as
NAME.dark-iphone-15-l-ar.png).

Exit status: 0 done, 1 a step (or a test script) failed, or check found a fault
at its --level, 2 bad usage, 3 the page could not be loaded, 4 the output could not be written, 5 everything ran but a value could
not be stored.)";

} // namespace

std::vector<std::string> CommandLine::splitList(const std::string& text) {
    std::vector<std::string> codes(1);
    for (char c : text) {
        if (c == ',') {
            codes.emplace_back();
        } else if (c != ' ' && c != '\t') {
            codes.back() += c;
        }
    }
    return codes;
}

namespace {

// The names in their first order, each once.
std::vector<std::string> distinct(const std::vector<std::string>& names) {
    std::vector<std::string> once;
    for (const std::string& name : names) {
        if (std::find(once.begin(), once.end(), name) == once.end()) {
            once.push_back(name);
        }
    }
    return once;
}

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
    CommandLine line;
    CLI::App app(kDescription, "klprefs");
    app.footer(kFooter);
    // Options given after the command belong to the program as a whole.
    app.fallthrough();
    // Given twice, the last value counts, as with most programs.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    std::string deviceRoot, bundlePath, output;
    double width = 0;
    app.add_option("--device-root", deviceRoot,
                   "the folder that stands for the device's file system (default: the built-in "
                   "example, used from a scratch copy so that it never changes)")
        ->type_name("DIR");
    app.add_option("--bundle", bundlePath,
                   "the preference bundle's path on the device (default: the one bundle in "
                   "/Library/PreferenceBundles or /var/jb/Library/PreferenceBundles)")
        ->type_name("PATH");
    app.add_option("--ios", line.iosVersionText,
                   "the iOS version the device reports (default 16.0)")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                return NSProcessInfo::operatingSystemVersionFromString(text)
                           ? ""
                           : "wants a version such as 16.0 or 14.4.2, not " +
                                 HostError::quoted(text);
            },
            ""))
        ->type_name("VERSION");
    app.add_option("--width", width,
                   "the screen's width in points (default: the standard phone screen's width)")
        ->check(CLI::Number)
        ->check(kFinite)
        ->check(CLI::Range(static_cast<double>(kMinimumWidth), static_cast<double>(kMaximumWidth)))
        ->type_name("POINTS");
    app.add_option("--scale", line.scale, "pixels per point of the PNG (default 3)")
        ->check(CLI::Number)
        ->check(kFinite)
        ->check(CLI::Range(1.0, 3.0))
        ->type_name("N");
    std::string languages;
    app.add_option("--language", languages,
                   "the device's preferred languages, best first, as Settings → General → "
                   "Language & Region lists them (default en): the page's texts come from the "
                   "bundle's best match, and ar, he, fa and ur lay it out right to left")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                for (const std::string& code : splitList(text)) {
                    if (!NSLocale::canonicalLanguageIdentifierFromString(code)) {
                        return "wants language codes such as de, pt-BR or zh-Hans, not " +
                               HostError::quoted(code);
                    }
                }
                return "";
            },
            ""))
        ->type_name("CODE[,CODE...]");
    app.set_version_flag("--version", "klprefs " KL_VERSION);
    app.add_option("-o,--output", output,
                   "the PNG to write (render, run and sheet), or the new project's folder (new)")
        ->type_name("FILE");
    app.add_flag("--json", line.json, "after run, print the page as JSON");
    bool withoutUtilities = false;
    app.add_flag("--without-klutils", withoutUtilities,
                 "do not load libklutils (by default it is loaded, as in a tweak process on a "
                 "device; without it the rows cannot correct :root: paths and the picker shows no "
                 "pictures)");

    bool withoutPrivateFrameworks = false;
    app.add_flag("--without-private-frameworks", withoutPrivateFrameworks,
                 "do not load FrontBoardServices and SpringBoardServices (by default they are, as "
                 "on a device; without them the respring button's relaunch request does nothing)");

    app.add_option("--connect-to", line.connectTo,
                   "send the page's connections to HOST:PORT elsewhere, as curl's option does "
                   "(repeatable; such as the avatar service to a server on 127.0.0.1)")
        ->check(CLI::Validator(
            [](const std::string& route) -> std::string {
                return SDKNetworkSettings::isValidRoute(route)
                           ? ""
                           : "wants HOST:PORT:CONNECT-HOST:CONNECT-PORT, not " +
                                 HostError::quoted(route);
            },
            ""))
        ->type_name("HOST:PORT:CONNECT-HOST:CONNECT-PORT")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->allow_extra_args(false);
    std::string certificateAuthorityFile;
    app.add_option("--cacert", certificateAuthorityFile,
                   "trust the certificate authorities in this PEM file instead of the system's");
    bool noMailAccount = false;
    app.add_flag("--no-mail-account", noMailAccount,
                 "the device has no mail account (canSendMail answers NO)");
    app.add_flag("--mail-send-fails", line.mailSendingFails, "sending from the mail account fails");

    std::string header, headerFile;
    CLI::Option* headerOption =
        app.add_option("--header", header,
                       std::string("put the header banner at the top of the page, as a tweak's "
                                   "own controller does, with these seven comma-separated "
                                   "fields (any may be empty): ") +
                           ControllerAdditions::kHeaderFieldNames)
            ->type_name("FIELDS");
    app.add_option("--header-file", headerFile,
                   "the same with the seven fields one a line in FILE, so that they may hold "
                   "commas")
        ->type_name("FILE")
        ->excludes(headerOption);
    app.add_flag("--respring-button", line.additions.respringButton,
                 "put the respring button in the navigation bar, as a tweak's own controller "
                 "does");

    // The device's look: appearance, text size, model and orientation.
    auto oneOf = [](std::function<bool(const std::string&)> known, std::string names) {
        return CLI::Validator(
            [known = std::move(known), names = std::move(names)](const std::string& text) {
                return known(text) ? std::string()
                                   : "wants one of " + names + ", not " + HostError::quoted(text);
            },
            "");
    };
    std::string appearance = "light", contentSize = "l", device, orientation = "portrait";
    app.add_option("--appearance", appearance, "light or dark (default light)")
        ->check(
            oneOf([](const std::string& t) { return TraitNames::appearanceNamed(t).has_value(); },
                  TraitNames::appearanceNames()))
        ->type_name("light|dark");
    app.add_option("--content-size", contentSize,
                   "the text size set on the device: " + TraitNames::contentSizeNames() +
                       " (default l)")
        ->check(
            oneOf([](const std::string& t) { return TraitNames::contentSizeNamed(t).has_value(); },
                  TraitNames::contentSizeNames()))
        ->type_name("SIZE");
    app.add_option("--device", device,
                   "show the page on this device's screen: " + DevicePreset::names() +
                       " (default: a 390 by 844 point phone screen; --width wins over the "
                       "device's width)")
        ->check(oneOf([](const std::string& t) { return DevicePreset::named(t).has_value(); },
                      DevicePreset::names()))
        ->type_name("NAME");
    app.add_option("--orientation", orientation, "portrait or landscape (default portrait)")
        ->check(oneOf([](const std::string& t) { return t == "portrait" || t == "landscape"; },
                      "portrait, landscape"))
        ->type_name("portrait|landscape");
    bool noStatusBar = false;
    app.add_flag(
        "--no-status-bar", noStatusBar,
        "on a --device, leave its status bar (the time 9:41, signal, Wi-Fi and battery) out");

    // The variants test and sheet go through, and how they run.
    const auto listOf = [&](std::function<bool(const std::string&)> known, std::string names) {
        return CLI::Validator(
            [known = std::move(known), names = std::move(names)](const std::string& text) {
                for (const std::string& name : splitList(text)) {
                    if (!known(name)) {
                        return "wants a comma-separated list of " + names + ", not " +
                               HostError::quoted(name);
                    }
                }
                return std::string();
            },
            "");
    };
    std::string variantAppearances, variantDevices, variantSizes, variantLanguages;
    app.add_option("--variants", variantAppearances,
                   "test and sheet: each of these appearances (light,dark)")
        ->check(
            listOf([](const std::string& t) { return TraitNames::appearanceNamed(t).has_value(); },
                   TraitNames::appearanceNames()))
        ->type_name("LIST");
    app.add_option("--devices", variantDevices,
                   "test and sheet: each of these devices (" + DevicePreset::names() + ")")
        ->check(listOf([](const std::string& t) { return DevicePreset::named(t).has_value(); },
                       DevicePreset::names()))
        ->type_name("LIST");
    app.add_option("--content-sizes", variantSizes,
                   "test and sheet: each of these text sizes (" + TraitNames::contentSizeNames() +
                       ")")
        ->check(
            listOf([](const std::string& t) { return TraitNames::contentSizeNamed(t).has_value(); },
                   TraitNames::contentSizeNames()))
        ->type_name("LIST");
    app.add_option("--languages", variantLanguages,
                   "test and sheet: each of these languages as the only preferred one (en,ar)")
        ->check(listOf(
            [](const std::string& t) {
                return NSLocale::canonicalLanguageIdentifierFromString(t).has_value();
            },
            "language codes"))
        ->type_name("LIST");
    app.add_option("-j,--jobs", line.jobs,
                   "test and sheet: how many processes run at once (default: one per core)")
        ->check(CLI::Range(1, 256))
        ->type_name("N");
    std::string update;
    app.add_option("--update-snapshots", update,
                   std::string("test: which reference pictures to write: ") +
                       ReferencePictures::kUpdateNames +
                       " (default missing, or none with --ci or CI=true)")
        ->check(oneOf(
            [](const std::string& t) { return ReferencePictures::updateNamed(t).has_value(); },
            ReferencePictures::kUpdateNames))
        ->type_name("MODE");
    bool ci = false;
    app.add_flag("--ci", ci, "test: run as in CI, where a missing reference picture fails");
    app.add_option("--max-diff-pixels", line.pictures.maxDiffPixels,
                   "test: how many pixels a picture may have changed and still match (default 0)")
        ->check(CLI::NonNegativeNumber)
        ->type_name("N");
    app.add_option("--threshold", line.pictures.threshold,
                   "test: how far a colour channel may be off, 0 to 1 of its range, for its pixel "
                   "to count as unchanged (default 0: exact)")
        ->check(CLI::Number)
        ->check(kFinite)
        ->check(CLI::Range(0.0, 1.0))
        ->type_name("T");
    std::string junit;
    app.add_option("--junit", junit, "test: write a JUnit XML report to FILE")->type_name("FILE");
    app.add_flag("--shuffle", line.shuffle, "test: run the scripts in a random order");
    unsigned seed = 0;
    app.add_option("--seed", seed, "test: shuffle from this seed (printed by --shuffle)")
        ->type_name("N");
    app.add_option("--repeat", line.repeat, "test: run every script N times (default 1)")
        ->check(CLI::Range(1, 10000))
        ->type_name("N");

    CLI::App* render = app.add_subcommand("render", "draw the whole page to a PNG (-o)");
    CLI::App* run =
        app.add_subcommand("run", "apply the steps of SCRIPT (standard input when it is - or "
                                  "missing), one per line, then write the PNG (-o) and print "
                                  "the page as JSON (--json)");
    run->add_option("script", line.script, "the script's path, or - for standard input")
        ->type_name("SCRIPT");
    CLI::App* test = app.add_subcommand(
        "test", "run every *.script under DIR in every variant, each on a fresh copy of the "
                "device root in a process of its own (-j at once), compare expect image steps "
                "with their reference pictures, and print \"N passed, N failed\" with the "
                "failing lines; exit status 1 when any failed");
    test->add_option("folder", line.scriptFolder, "the folder of the scripts")
        ->type_name("DIR")
        ->required();
    CLI::App* sheet = app.add_subcommand(
        "sheet", "draw the page in every variant side by side, labelled, to a PNG (-o), at "
                 "scale 1 unless --scale is given");
    CLI::App* check = app.add_subcommand(
        "check", "find what would look or work wrong on a device, in each variant, in the page "
                 "and every page its links open; exit status 1 when a finding is at --level or "
                 "above");
    std::string variants;
    check
        ->add_option("--variants", variants,
                     "the variants to check, comma-separated words: appearances (light, dark), "
                     "text sizes (xs ... ax5), devices (" +
                         DevicePreset::names() +
                         ") and language codes (de, pt-BR); every combination is checked, and "
                         "a kind not named keeps its defaults: light and dark, l and ax3, "
                         "iphone-15 and ipad-pro-12.9, every language the bundle has")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                for (const std::string& word : splitList(text)) {
                    if (!word.empty() && !CheckVariant::isVariantWord(word)) {
                        return "wants appearances, text sizes, devices and language codes, not " +
                               HostError::quoted(word);
                    }
                }
                return "";
            },
            ""))
        ->type_name("LIST");
    check->add_option("--format", line.format, "text, json or sarif (default text)")
        ->check(CLI::IsMember({"text", "json", "sarif"}))
        ->type_name("text|json|sarif");
    check
        ->add_option("--level", line.failLevel,
                     "the least level of finding that fails the check: error, warning or info "
                     "(default error)")
        ->check(CLI::IsMember({"error", "warning", "info"}))
        ->type_name("error|warning|info");
    app.add_subcommand("dump", "print the page as JSON: rows and their views, "
                               "the stored values of every preference domain, "
                               "and what the page did");
    CLI::App* create = app.add_subcommand(
        "new", "make a new tweak's preference project in a new folder (-o, default NAME): a "
               "device root with the bundle, its list controller and CMakeLists.txt, tests and "
               "a README");
    create
        ->add_option("name", line.projectName,
                     "the tweak's name: a letter, then letters and digits")
        ->type_name("NAME")
        ->required()
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                return ProjectTemplate::isValidName(text)
                           ? ""
                           : "wants a letter followed by letters and digits (at most 64), not " +
                                 HostError::quoted(text);
            },
            ""));
    bool rootless = false, rootful = false;
    CLI::Option* rootlessFlag = create->add_flag(
        "--rootless", rootless,
        "put the bundle under /var/jb, as a rootless jailbreak does (the default)");
    create
        ->add_flag("--rootful", rootful,
                   "put the bundle under /Library, as a rootful jailbreak does")
        ->excludes(rootlessFlag);
    CLI::App* serve = app.add_subcommand(
        "serve", "preview and use the page in a browser: serves it on 127.0.0.1, follows every "
                 "save to the bundle or a stored value, and records a script of what is done");
    serve
        ->add_option("--port", line.port, "the port to serve on (default 8800; 0 picks a free one)")
        ->check(CLI::Range(0, 65535))
        ->type_name("N");
    std::string listenAddress, savedScript, resumeFile;
    serve
        ->add_option("--listen", listenAddress,
                     "listen on this address instead of 127.0.0.1 (reachable from elsewhere: "
                     "only when asked)")
        ->type_name("ADDR");
    serve
        ->add_option("--script", savedScript,
                     "the file the page's \"save\" writes the recorded script to")
        ->type_name("FILE");
    // Given by serve to itself when it relaunches with other libraries.
    serve->add_option("--resume", resumeFile)->group("");

    // CLI11 reads the words after the program's name in reverse order.
    std::vector<std::string> words(arguments.rbegin(), arguments.rend());
    try {
        app.parse(words);
    } catch (const CLI::CallForHelp&) {
        line.command = Command::Help;
        line.helpText = app.help();
        return line;
    } catch (const CLI::CallForVersion&) {
        line.command = Command::Help;
        line.helpText = std::string("klprefs ") + KL_VERSION + "\n";
        return line;
    } catch (const CLI::ParseError& error) {
        HostError::throwUsage(error.what());
    }

    if (app.get_subcommands().empty()) {
        HostError::throwUsage(
            "no command given (render, run, dump, test, sheet, check, serve or new)");
    }
    line.command = render->parsed()   ? Command::Render
                   : run->parsed()    ? Command::Run
                   : test->parsed()   ? Command::Test
                   : sheet->parsed()  ? Command::Sheet
                   : create->parsed() ? Command::New
                   : check->parsed()  ? Command::Check
                   : serve->parsed()  ? Command::Serve
                                      : Command::Dump;
    if (rootful) {
        line.projectLayout = ProjectTemplate::Layout::Rootful;
    }
    if (check->count("--variants")) {
        line.checkVariants = variants;
    }
    if (serve->count("--listen")) {
        line.listenAddress = listenAddress;
    }
    if (serve->count("--script")) {
        line.savedScript = savedScript;
    }
    if (serve->count("--resume")) {
        line.resumeFile = resumeFile;
    }
    line.arguments = arguments;
    if (app.count("--device-root")) {
        line.deviceRoot = deviceRoot;
    }
    if (app.count("--bundle")) {
        line.bundlePath = bundlePath;
    }
    line.iosVersion = *NSProcessInfo::operatingSystemVersionFromString(line.iosVersionText);
    if (app.count("--width")) {
        line.width = width;
    }
    if (app.count("--language")) {
        line.look.languages = splitList(languages);
    }
    if (app.count("--output")) {
        line.output = output;
    }
    line.look.appearance = *TraitNames::appearanceNamed(appearance);
    line.look.contentSize = *TraitNames::contentSizeNamed(contentSize);
    line.scaleGiven = app.count("--scale") > 0;
    if (app.count("--device")) {
        line.look.device = DevicePreset::named(device);
        // The picture has the device's pixels unless a scale is given.
        if (!app.count("--scale")) {
            line.scale = line.look.device->scale;
        }
    }
    line.look.landscape = orientation == "landscape";
    line.look.statusBar = !noStatusBar;
    line.loadUtilities = !withoutUtilities;
    line.mailAccount = !noMailAccount;
    if (app.count("--cacert")) {
        line.certificateAuthorityFile = certificateAuthorityFile;
    }
    line.loadPrivateFrameworks = !withoutPrivateFrameworks;
    if (app.count("--header")) {
        line.additions.header = ControllerAdditions::headerFromText(header);
    } else if (app.count("--header-file")) {
        line.additions.header = ControllerAdditions::headerFromFile(headerFile);
    }
    const bool variantCommand = line.command == Command::Test || line.command == Command::Sheet;
    for (const char* option :
         {"--variants", "--devices", "--content-sizes", "--languages", "--jobs"}) {
        if (app.count(option) && !variantCommand) {
            HostError::throwUsage(std::string(option) + " goes with test and sheet");
        }
    }
    for (const char* option : {"--update-snapshots", "--ci", "--max-diff-pixels", "--threshold",
                               "--junit", "--shuffle", "--seed", "--repeat"}) {
        if (app.count(option) && line.command != Command::Test) {
            HostError::throwUsage(std::string(option) + " goes with test");
        }
    }
    if (app.count("--variants")) {
        line.variants.appearances = distinct(splitList(variantAppearances));
    }
    if (app.count("--devices")) {
        line.variants.devices = distinct(splitList(variantDevices));
    }
    if (app.count("--content-sizes")) {
        line.variants.contentSizes = distinct(splitList(variantSizes));
    }
    if (app.count("--languages")) {
        line.variants.languages = distinct(splitList(variantLanguages));
    }
    if (app.count("--update-snapshots")) {
        line.pictures.update = *ReferencePictures::updateNamed(update);
    } else if (ci || (std::getenv("CI") && (std::string(std::getenv("CI")) == "true" ||
                                            std::string(std::getenv("CI")) == "1"))) {
        // In CI a missing picture is a fault: nothing records it there.
        line.pictures.update = ReferencePictures::Update::None;
    }
    if (app.count("--junit")) {
        line.junit = junit;
    }
    if (app.count("--seed")) {
        line.seed = seed;
        line.shuffle = true;
    }
    if ((line.command == Command::Render || line.command == Command::Sheet) && !line.output) {
        HostError::throwUsage(std::string(line.command == Command::Sheet ? "sheet" : "render") +
                              " wants -o FILE.png");
    }
    if (line.json && line.command != Command::Run) {
        HostError::throwUsage("--json goes with run (dump always prints JSON)");
    }
    if (line.output && (line.command == Command::Dump || line.command == Command::Test ||
                        line.command == Command::Check || line.command == Command::Serve)) {
        HostError::throwUsage("-o goes with render, run, sheet and new");
    }
    return line;
}
