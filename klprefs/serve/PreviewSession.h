#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include <QuartzCore/Forward.h>
#include <UIKit/Forward.h>

#include "EventStream.h"
#include "PageHost.h"
#include "ScriptRecorder.h"

// The page a browser previews and uses: the hosted page in its variant, the
// picture of it and its description, and the script of what was done. Every
// action is a script step applied by the script runner, so what is recorded
// is what ran; after each one the new frame, the page and what the page
// logged go out as events. A change to the bundle or to a stored value made
// elsewhere builds the page anew as a respring does: stored values are read
// again, and the child page shown is opened again where it still exists. A
// bundle that fails to load leaves the last good page shown with the error.
//
// Lives on the main thread; only framePNG() and pageJSON() may be called
// from others.
class PreviewSession {
public:
    struct Options {
        PageHost::Settings settings;
        std::string iosVersionText = "16.0";
        double scale = 2;
        // Where "save" writes the recorded script; nil: nowhere.
        std::optional<std::string> scriptPath;
        // Which libraries the process loaded at start.
        bool utilitiesLoaded = true;
        bool privateFrameworksLoaded = true;
        // Called when the variant asks for other libraries: a process cannot
        // unload one, so serve starts its program anew with them, carrying
        // resumeState() over. Nil: the libraries cannot change.
        std::function<void()> relaunch;
    };

    // Builds the page; throws a load HostError when the bundle cannot be shown.
    PreviewSession(Options options, EventStream& events);

    std::string framePNG() const;
    std::string pageJSON() const;

    // Each answers the new state; a step that fails throws its HostError
    // and changes nothing.
    nlohmann::json step(const std::string& line);
    nlohmann::json click(CGPoint point);
    nlohmann::json drag(CGPoint from, CGPoint to);
    nlohmann::json type(const std::string& text);
    // Appends an expectation of what the row (by index) stores or shows now.
    nlohmann::json expect(size_t rowIndex, const std::string& what);
    // Appends a reference picture of the screen shown, or of one row (by
    // index), named NAME or else page-1, page-2, ...; "save" writes it where
    // klprefs test looks for it. Needs a script file to save to.
    nlohmann::json expectImage(std::optional<size_t> rowIndex,
                               const std::optional<std::string>& name);
    // Throws a usage HostError naming a bad option; the page stays as it was.
    // Other libraries ({"libraries": {"klutils": false}}) relaunch serve.
    nlohmann::json setVariant(const nlohmann::json& variant);
    // What a relaunch carries into the new process: the recorded script and
    // pictures, the child pages shown, the variant (with the libraries
    // asked for) and the counts the browser follows.
    nlohmann::json resumeState() const;
    // Takes that state over and shows the page in its variant; throws a
    // usage HostError when the state is not one resumeState() wrote.
    void resume(const nlohmann::json& state);
    // Writes the reference pictures expected, then the recorded script;
    // answers where the script went and the pictures' paths.
    nlohmann::json save();
    std::string scriptText() const { return _recorder.text(); }
    nlohmann::json state() const;

    // A watched file changed: builds the page anew when a file differs from
    // what the page itself last left.
    void filesChanged();
    // Background work that arrived (an image read) shows.
    void idle();
    // The bundle's folder and the preference domains' folder, on this machine.
    std::vector<std::string> watchedFolders() const;

private:
    using Fingerprint = std::map<std::string, std::tuple<long long, long long, unsigned long>>;

    // Builds the page from the bundle and stored values; false, with the
    // error kept and shown, when it cannot be loaded.
    bool build();
    void reopenTrail();
    // Applies one step to the page; records it when asked.
    void apply(const std::string& line, bool record);
    void record(const std::string& line);
    // Delivers a touch to the presented colour picker's content and records
    // the colour it picked.
    nlohmann::json touchPicker(const std::function<void()>& touch);
    // Publishes the new frame, the page and what the page logged.
    void show();
    void publishLogs();
    Fingerprint fingerprint() const;
    nlohmann::json variant() const;
    size_t navigationDepth() const;
    // Launches of Settings so far: the pages built before and the one shown.
    size_t launches() const;

    Options _options;
    EventStream& _events;
    std::unique_ptr<PageHost> _host;
    ScriptRecorder _recorder;
    // The steps that opened the child pages shown, to open them again after a rebuild.
    std::vector<std::string> _trail;
    size_t _baseDepth = 0;
    std::optional<std::string> _loadError;
    std::vector<std::string> _warnings;
    Ref<UITextField> _focus;
    std::optional<std::string> _focusRow;
    std::optional<std::string> _lastStep;
    // The variant serve started in, which klprefs test runs the saved script in.
    nlohmann::json _startVariant;
    // The reference pictures the script expects, by name, to write on save.
    std::map<std::string, std::string> _pictures;
    Fingerprint _files;
    size_t _eventsSeen = 0;
    // Launches of the pages built before the one shown.
    size_t _earlierLaunches = 0;
    size_t _generation = 0;

    mutable std::mutex _shownMutex;
    std::string _png;
    std::string _pageJSON;
};
