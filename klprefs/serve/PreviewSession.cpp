#include "PreviewSession.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include <cairo.h>

#include <Foundation/DeviceRoot.h>
#include <Foundation/NSException.h>
#include <Foundation/NSLocale.h>
#include <Foundation/SDKEventLog.h>
#include <Foundation/dispatch.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UIColorPickerViewController.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UITextField.h>
#include <render/SDKDescription.h>
#include <render/SDKPageRenderer.h>

#include "GestureSteps.h"
#include "HostDevice.h"
#include "HostError.h"
#include "JSONWriter.h"
#include "PNGCodec.h"
#include "PageDescription.h"
#include "ReferencePictures.h"
#include "Script.h"
#include "ScriptRunner.h"
#include "TraitNames.h"
#include "automation/Finger.h"
#include "automation/ViewFinder.h"

namespace {

constexpr const char* kPreferencesFolder = "/var/mobile/Library/Preferences";
// Files looked at for changes at most, in the bundle and the domains' folder.
constexpr size_t kMaximumWatchedFiles = 10000;
// Reference pictures held for one script at most, to bound what is kept.
constexpr size_t kMaximumPictures = 100;

} // namespace

PreviewSession::PreviewSession(Options options, EventStream& events)
    : _options(std::move(options)), _events(events) {
    _eventsSeen = SDKEventLog::count();
    _startVariant = variant();
    if (!build()) {
        throw HostError(HostError::Kind::Load, *_loadError);
    }
    show();
}

bool PreviewSession::build() {
    std::unique_ptr<PageHost> fresh;
    try {
        fresh = std::make_unique<PageHost>(_options.settings);
    } catch (const HostError& error) {
        _loadError = error.what();
    } catch (const NSException& exception) {
        _loadError = std::string("the page raised ") + exception.what();
    }
    if (!fresh) {
        _files = fingerprint();
        return false;
    }
    // Each build counts as a launch of Settings, as a respring's does.
    _earlierLaunches += _host ? _host->launches() : 0;
    _host = std::move(fresh);
    _loadError.reset();
    _focus = nullptr;
    _focusRow.reset();
    _baseDepth = navigationDepth();
    reopenTrail();
    _files = fingerprint();
    return true;
}

void PreviewSession::reopenTrail() {
    std::vector<std::string> trail;
    trail.swap(_trail);
    for (const std::string& line : trail) {
        const size_t depth = navigationDepth();
        try {
            apply(line, false);
        } catch (const HostError&) {
            return;
        }
        if (navigationDepth() <= depth) {
            return;
        }
    }
}

size_t PreviewSession::launches() const {
    return _earlierLaunches + (_host ? _host->launches() : 0);
}

size_t PreviewSession::navigationDepth() const {
    return _host->navigationController()->viewControllers().size();
}

void PreviewSession::apply(const std::string& line, bool record) {
    std::vector<ScriptStep> steps = Script::parse(line);
    if (steps.size() != 1) {
        HostError::throwStep("one step a request, not " + std::to_string(steps.size()));
    }
    const size_t depth = navigationDepth();
    ScriptRunner runner(
        *_host, [this](size_t, const std::string& message) { _warnings.push_back(message); });
    runner.run(steps);
    // A link opened a child page, or a page was left.
    const size_t now = navigationDepth();
    if (now > depth) {
        _trail.push_back(line);
    } else {
        _trail.resize(std::min(_trail.size(), now - std::min(now, _baseDepth)));
    }
    if (record) {
        this->record(line);
    }
    _lastStep = line;
}

void PreviewSession::record(const std::string& line) {
    if (_recorder.lines().size() >= ScriptRecorder::kMaximumSteps) {
        HostError::throwStep("the recorded script is full; save it and start again");
    }
    _recorder.append(line);
}

nlohmann::json PreviewSession::step(const std::string& line) {
    if (!_host) {
        HostError::throwStep("the page is not loaded");
    }
    try {
        apply(line, true);
    } catch (const NSException& exception) {
        HostError::throwStep(std::string("the page raised ") + exception.what());
    }
    _files = fingerprint();
    show();
    return state();
}

nlohmann::json PreviewSession::click(CGPoint point) {
    const GestureSteps::Action action = GestureSteps::click(*_host, point);
    if (action.step) {
        return step(*action.step);
    }
    if (action.pickerTouch) {
        return touchPicker([&] { Finger(_host->window()).tapInWindow(point); });
    }
    if (action.focus) {
        // The finger puts the caret in the field; what is typed next goes there.
        Finger(_host->window()).tap(action.focus);
        _host->settle();
        _focus = action.focus;
        _focusRow = action.focusRow;
        show();
    }
    _lastStep.reset();
    return state();
}

nlohmann::json PreviewSession::drag(CGPoint from, CGPoint to) {
    const GestureSteps::Action action = GestureSteps::drag(*_host, from, to);
    if (action.step) {
        return step(*action.step);
    }
    if (action.pickerTouch) {
        return touchPicker([&] {
            const Ref<UIWindow> window = _host->window();
            Finger(window).drag(window, from, to);
        });
    }
    _lastStep.reset();
    return state();
}

nlohmann::json PreviewSession::touchPicker(const std::function<void()>& touch) {
    const Ref<UIColorPickerViewController> picker =
        ViewFinder(*_host).presented<UIColorPickerViewController>("colour picker");
    const std::string before = SDKDescription::hex(*picker->selectedColor()->CGColor());
    try {
        touch();
    } catch (const NSException& exception) {
        HostError::throwStep(std::string("the page raised ") + exception.what());
    }
    _host->settle();
    // What the touch picked is recorded as the colour, which a script picks
    // again exactly: the picker hands over whole 8-bit components.
    std::string picked = SDKDescription::hex(*picker->selectedColor()->CGColor());
    if (picked != before) {
        if (picked.ends_with("FF")) {
            picked.resize(picked.size() - 2);
        }
        record("pick " + picked);
        _lastStep = "pick " + picked;
    } else {
        _lastStep.reset();
    }
    _files = fingerprint();
    show();
    return state();
}

nlohmann::json PreviewSession::type(const std::string& text) {
    const std::optional<std::string> argument = ScriptRecorder::argument(text);
    if (!argument) {
        HostError::throwStep("typed text cannot hold a line break or another control character");
    }
    ViewFinder finder(*_host);
    Ref<UIViewController> top = finder.topScreen();
    if (auto alert = objc_cast<UIAlertController>(top); alert && !alert->textFields().empty()) {
        return step("type " + *argument);
    }
    if (!top && _focus && _focusRow && _host->window()->firstResponder() == _focus) {
        return step("enter " + *_focusRow + " " + *argument);
    }
    HostError::throwStep("no text field has the caret; click one first");
}

nlohmann::json PreviewSession::expect(size_t rowIndex, const std::string& what) {
    if (what != "stored" && what != "shown") {
        HostError::throwStep("an expectation is of what a row stores or shows, not " +
                             HostError::quoted(what));
    }
    const std::vector<PageHost::Row> rows = _host->rows();
    if (rowIndex >= rows.size()) {
        HostError::throwStep("no row " + std::to_string(rowIndex) + " on the page shown");
    }
    const std::string row = ScriptRecorder::rowSelector(*_host, rows[rowIndex]);
    const std::string found = ScriptRunner::expectedText(rows[rowIndex], what == "stored");
    const std::optional<std::string> value = ScriptRecorder::argument(found);
    if (!value) {
        HostError::throwStep(
            "the row's value holds a control character, which a script cannot state");
    }
    // Run once more as recorded, so that the script states what holds now.
    return step("expect " + row + " " + what + " " + *value);
}

nlohmann::json PreviewSession::expectImage(std::optional<size_t> rowIndex,
                                           const std::optional<std::string>& name) {
    if (!_host) {
        HostError::throwStep("the page is not loaded");
    }
    if (!_options.scriptPath) {
        throw HostError(HostError::Kind::Usage,
                        "a reference picture is written beside the saved script, and serve was "
                        "started without --script FILE");
    }
    // klprefs test draws the saved script in the variant its options give.
    if (variant() != _startVariant) {
        HostError::throwStep(
            "a reference picture is taken in the variant serve was started in, as klprefs "
            "test with the same options draws it; set the variant back first");
    }
    if (_pictures.size() >= kMaximumPictures) {
        HostError::throwStep("the script expects " + std::to_string(kMaximumPictures) +
                             " pictures already; save it and start again");
    }
    std::string chosen;
    if (name) {
        if (_pictures.count(*name)) {
            HostError::throwStep("the script expects a picture " + HostError::quoted(*name) +
                                 " already");
        }
        chosen = *name;
    } else {
        for (size_t number = 1; chosen.empty() || _pictures.count(chosen); ++number) {
            chosen = "page-" + std::to_string(number);
        }
    }
    const std::optional<std::string> argument = ScriptRecorder::argument(chosen);
    if (!argument) {
        HostError::throwStep("a picture's name is up to 100 letters, digits, - and _");
    }
    std::string line = "expect image " + *argument;
    if (rowIndex) {
        const std::vector<PageHost::Row> rows = _host->rows();
        if (*rowIndex >= rows.size()) {
            HostError::throwStep("no row " + std::to_string(*rowIndex) + " on the page shown");
        }
        line += " row " + ScriptRecorder::rowSelector(*_host, rows[*rowIndex]);
    }
    // The line read back as klprefs test reads it, and drawn as it draws it.
    const std::vector<ScriptStep> steps = Script::parse(line);
    if (steps.size() != 1 || steps[0].arguments.empty()) {
        HostError::throwStep("a picture's name is up to 100 letters, digits, - and _, not " +
                             HostError::quoted(chosen));
    }
    const std::vector<std::string> words(steps[0].arguments.begin() + 1, steps[0].arguments.end());
    std::string bytes;
    try {
        bytes =
            ReferencePictures(*_options.scriptPath, "", _options.scale, {}).picture(*_host, words);
    } catch (const NSException& exception) {
        HostError::throwStep(std::string("the page raised ") + exception.what());
    }
    record(line);
    _pictures[chosen] = std::move(bytes);
    _lastStep = line;
    show();
    return state();
}

nlohmann::json PreviewSession::setVariant(const nlohmann::json& variant) {
    if (!variant.is_object()) {
        throw HostError(HostError::Kind::Usage, "the variant is a JSON object");
    }
    Options changed = _options;
    DeviceLook& look = changed.settings.look;
    auto text = [&](const char* name) -> std::optional<std::string> {
        if (!variant.contains(name) || variant[name].is_null()) {
            return std::nullopt;
        }
        if (!variant[name].is_string()) {
            throw HostError(HostError::Kind::Usage, std::string(name) + " wants a text");
        }
        return variant[name].get<std::string>();
    };
    auto bad = [](const char* name, const std::string& value, const std::string& known) {
        return HostError(HostError::Kind::Usage, std::string(name) + " wants " + known + ", not " +
                                                     HostError::quoted(value));
    };
    for (const auto& [key, value] : variant.items()) {
        static const std::vector<std::string> known = {"appearance",  "contentSize", "device",
                                                       "orientation", "language",    "ios",
                                                       "statusBar",   "libraries"};
        if (std::find(known.begin(), known.end(), key) == known.end()) {
            throw HostError(HostError::Kind::Usage, "no variant option " + HostError::quoted(key));
        }
    }
    if (variant.contains("libraries")) {
        const nlohmann::json& libraries = variant["libraries"];
        const auto wrong = [] {
            return HostError(HostError::Kind::Usage,
                             "libraries wants {\"klutils\": true or false, \"privateFrameworks\": "
                             "true or false}");
        };
        if (!libraries.is_object()) {
            throw wrong();
        }
        for (const auto& [key, value] : libraries.items()) {
            if ((key != "klutils" && key != "privateFrameworks") || !value.is_boolean()) {
                throw wrong();
            }
        }
        changed.utilitiesLoaded = libraries.value("klutils", changed.utilitiesLoaded);
        changed.privateFrameworksLoaded =
            libraries.value("privateFrameworks", changed.privateFrameworksLoaded);
    }
    if (auto value = text("appearance")) {
        auto style = TraitNames::appearanceNamed(*value);
        if (!style) {
            throw bad("appearance", *value, TraitNames::appearanceNames());
        }
        look.appearance = *style;
    }
    if (auto value = text("contentSize")) {
        auto size = TraitNames::contentSizeNamed(*value);
        if (!size) {
            throw bad("contentSize", *value, TraitNames::contentSizeNames());
        }
        look.contentSize = *size;
    }
    if (variant.contains("device")) {
        const std::optional<std::string> value = text("device");
        if (!value || value->empty()) {
            look.device.reset();
        } else if (auto device = DevicePreset::named(*value)) {
            look.device = device;
        } else {
            throw bad("device", *value, DevicePreset::names());
        }
    }
    if (auto value = text("orientation")) {
        if (*value != "portrait" && *value != "landscape") {
            throw bad("orientation", *value, "portrait or landscape");
        }
        look.landscape = *value == "landscape";
    }
    if (variant.contains("statusBar")) {
        if (!variant["statusBar"].is_boolean()) {
            throw HostError(HostError::Kind::Usage, "statusBar wants true or false");
        }
        look.statusBar = variant["statusBar"].get<bool>();
    }
    if (auto value = text("language")) {
        std::vector<std::string> codes;
        std::stringstream list(*value);
        for (std::string code; std::getline(list, code, ',');) {
            code.erase(0, code.find_first_not_of(" \t"));
            code.erase(code.find_last_not_of(" \t") + 1);
            if (!NSLocale::canonicalLanguageIdentifierFromString(code)) {
                throw bad("language", code, "language codes such as de, pt-BR or zh-Hans");
            }
            codes.push_back(code);
        }
        look.languages = codes;
    }
    if (auto value = text("ios")) {
        auto version = NSProcessInfo::operatingSystemVersionFromString(*value);
        if (!version) {
            throw bad("ios", *value, "a version such as 16.0 or 14.4.2");
        }
        changed.settings.iosVersion = *version;
        changed.iosVersionText = *value;
    }
    if (changed.utilitiesLoaded != _options.utilitiesLoaded ||
        changed.privateFrameworksLoaded != _options.privateFrameworksLoaded) {
        if (!_options.relaunch) {
            throw HostError(HostError::Kind::Usage,
                            "the libraries are chosen when serve starts, and this one cannot "
                            "start anew");
        }
        // The page is built in the new process, in this variant.
        _options = changed;
        nlohmann::json answer = state();
        answer["relaunching"] = true;
        _options.relaunch();
        return answer;
    }
    const Options previous = _options;
    _options = changed;
    if (!build()) {
        const std::string error = *_loadError;
        _options = previous;
        build();
        show();
        throw HostError(HostError::Kind::Usage, "the page cannot be shown so: " + error);
    }
    show();
    return state();
}

nlohmann::json PreviewSession::resumeState() const {
    nlohmann::json pictures = nlohmann::json::object();
    for (const auto& [name, bytes] : _pictures) {
        pictures[name] =
            nlohmann::json::binary(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
    return {{"script", _recorder.lines()},   {"trail", _trail},      {"variant", variant()},
            {"startVariant", _startVariant}, {"pictures", pictures}, {"generation", _generation},
            {"launches", launches()}};
}

void PreviewSession::resume(const nlohmann::json& state) {
    const auto bad = [] {
        return HostError(HostError::Kind::Usage, "the state to resume is not one serve wrote");
    };
    if (!state.is_object()) {
        throw bad();
    }
    const auto field = [&](const char* name, nlohmann::json::value_t type) {
        if (!state.contains(name) || state[name].type() != type) {
            throw bad();
        }
        return state[name];
    };
    using Type = nlohmann::json::value_t;
    nlohmann::json variant = field("variant", Type::object);
    const nlohmann::json script = field("script", Type::array);
    const nlohmann::json trail = field("trail", Type::array);
    const nlohmann::json pictures = field("pictures", Type::object);
    for (const nlohmann::json* list : {&script, &trail}) {
        if (!std::all_of(list->begin(), list->end(),
                         [](const nlohmann::json& line) { return line.is_string(); })) {
            throw bad();
        }
    }
    if (script.size() > ScriptRecorder::kMaximumSteps || pictures.size() > kMaximumPictures ||
        !std::all_of(pictures.begin(), pictures.end(),
                     [](const nlohmann::json& picture) { return picture.is_binary(); })) {
        throw bad();
    }
    const size_t generation = field("generation", Type::number_unsigned).get<size_t>();
    const size_t launchesBefore = field("launches", Type::number_unsigned).get<size_t>();
    _startVariant = field("startVariant", Type::object);
    // The libraries are this process's own, and the scale its options'.
    variant.erase("libraries");
    variant.erase("scale");
    for (const nlohmann::json& line : script) {
        _recorder.append(line.get<std::string>());
    }
    for (const auto& [name, picture] : pictures.items()) {
        const nlohmann::json::binary_t& bytes = picture.get_binary();
        _pictures[name] = std::string(bytes.begin(), bytes.end());
    }
    _trail = trail.get<std::vector<std::string>>();
    _generation = std::max(_generation, generation);
    // The page built from here on counts as one more launch after those
    // before the relaunch; the one built at start is not counted.
    _earlierLaunches = launchesBefore - std::min(launchesBefore, _host->launches());
    setVariant(variant);
}

nlohmann::json PreviewSession::save() {
    if (!_options.scriptPath) {
        throw HostError(HostError::Kind::Usage,
                        "serve was started without --script FILE, so it writes no script");
    }
    // The pictures first: a script on disk never names one that is not there.
    const ReferencePictures references(*_options.scriptPath, "", _options.scale, {});
    nlohmann::json written = nlohmann::json::array();
    for (const auto& [name, bytes] : _pictures) {
        written.push_back(references.record(name, bytes));
    }
    // Written beside and renamed over, so the file is the old script or the new one.
    const std::string& path = *_options.scriptPath;
    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << _recorder.text();
        if (!out.flush()) {
            std::filesystem::remove(temporary);
            throw HostError(HostError::Kind::Output, "cannot write " + path);
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw HostError(HostError::Kind::Output, "cannot write " + path + ": " + error.message());
    }
    return {{"saved", path}, {"pictures", written}};
}

nlohmann::json PreviewSession::state() const {
    nlohmann::json state = {
        {"generation", _generation},
        {"script", _recorder.text()},
        {"step", _lastStep ? nlohmann::json(*_lastStep) : nullptr},
        {"focus", _focus ? nlohmann::json(_focusRow.value_or("alert")) : nullptr},
        {"error", _loadError ? nlohmann::json(*_loadError) : nullptr},
        {"variant", variant()}};
    return state;
}

nlohmann::json PreviewSession::variant() const {
    const DeviceLook& look = _options.settings.look;
    std::string languages;
    for (const std::string& code : look.languages) {
        languages += (languages.empty() ? "" : ",") + code;
    }
    return {{"appearance", TraitNames::appearanceName(look.appearance)},
            {"contentSize", TraitNames::contentSizeName(look.contentSize)},
            {"device", look.device ? nlohmann::json(look.device->name) : nullptr},
            {"orientation", look.landscape ? "landscape" : "portrait"},
            {"statusBar", look.statusBar},
            {"language", languages},
            {"ios", _options.iosVersionText},
            {"scale", _options.scale},
            {"libraries",
             {{"klutils", _options.utilitiesLoaded},
              {"privateFrameworks", _options.privateFrameworksLoaded}}}};
}

void PreviewSession::show() {
    ++_generation;
    std::string png;
    int width = 0, height = 0;
    if (_host) {
        _host->settle();
        SDKPageRenderer renderer(_host->window(), _options.scale);
        std::string error;
        if (SDKPageRenderer::Image image = renderer.makeImage(&error)) {
            png = PNGCodec::encode(image.get(), &error);
            if (png.empty()) {
                _warnings.push_back(error);
            }
            width = cairo_image_surface_get_width(image.get());
            height = cairo_image_surface_get_height(image.get());
        } else {
            _warnings.push_back(error);
        }
    }
    {
        std::lock_guard lock(_shownMutex);
        if (!png.empty()) {
            _png = std::move(png);
        }
    }
    // The frame goes out first: the browser fetches it while the page is described.
    _events.publish("frame",
                    nlohmann::json{{"generation", _generation},
                                   {"width", width},
                                   {"height", height},
                                   {"scale", _options.scale},
                                   {"step", _lastStep ? nlohmann::json(*_lastStep) : nullptr},
                                   {"error", _loadError ? nlohmann::json(*_loadError) : nullptr}}
                        .dump());
    if (_host) {
        std::ostringstream out;
        PageDescription::write(*_host, _options.iosVersionText, out);
        nlohmann::json page = nlohmann::json::parse(out.str());
        page["page"]["launches"] = launches();
        page["variant"] = variant();
        page["script"] = _recorder.text();
        page["loadError"] = _loadError ? nlohmann::json(*_loadError) : nullptr;
        page["generation"] = _generation;
        {
            std::lock_guard lock(_shownMutex);
            _pageJSON = page.dump(2);
        }
        _events.publish("page", page.dump());
    }
    publishLogs();
}

void PreviewSession::publishLogs() {
    const size_t first = _eventsSeen <= SDKEventLog::count() ? _eventsSeen : 0;
    const std::vector<SDKEvent> events = SDKEventLog::eventsFrom(first);
    _eventsSeen = first + events.size();
    for (const SDKEvent& event : events) {
        _events.publish("log",
                        JSONWriter::toJSON(Value(PageDescription::describeEvent(event))).dump());
    }
    for (const std::string& warning : _warnings) {
        _events.publish("log", nlohmann::json{{"kind", "warning"}, {"message", warning}}.dump());
    }
    _warnings.clear();
    if (_loadError) {
        _events.publish("log",
                        nlohmann::json{{"kind", "loadError"}, {"message", *_loadError}}.dump());
    }
}

std::string PreviewSession::framePNG() const {
    std::lock_guard lock(_shownMutex);
    return _png;
}

std::string PreviewSession::pageJSON() const {
    std::lock_guard lock(_shownMutex);
    return _pageJSON;
}

std::vector<std::string> PreviewSession::watchedFolders() const {
    std::vector<std::string> folders;
    if (_host) {
        folders.push_back(DeviceRoot::hostPathFor(_host->bundlePath()));
    }
    folders.push_back(DeviceRoot::hostPathFor(kPreferencesFolder));
    return folders;
}

PreviewSession::Fingerprint PreviewSession::fingerprint() const {
    Fingerprint files;
    auto note = [&](const std::filesystem::path& path) {
        struct stat info {};
        if (files.size() < kMaximumWatchedFiles && lstat(path.c_str(), &info) == 0) {
            files[path.string()] = {
                static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec,
                static_cast<long long>(info.st_size), static_cast<unsigned long>(info.st_ino)};
        }
    };
    const std::vector<std::string> folders = watchedFolders();
    std::error_code error;
    // The bundle: every file but hidden ones (an editor's swap files).
    if (_host) {
        for (std::filesystem::recursive_directory_iterator entry(folders.front(), error), end;
             !error && entry != end && files.size() < kMaximumWatchedFiles;
             entry.increment(error)) {
            if (entry->path().filename().string().front() != '.') {
                note(entry->path());
            }
        }
    }
    // The domains: property lists only, not their lock files.
    for (const auto& entry : std::filesystem::directory_iterator(folders.back(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.front() != '.' && entry.path().extension() == ".plist") {
            note(entry.path());
        }
    }
    return files;
}

void PreviewSession::filesChanged() {
    if (fingerprint() == _files) {
        return;
    }
    build();
    show();
}

void PreviewSession::idle() {
    if (_host && DispatchMainQueue::drain() > 0) {
        show();
    }
}
