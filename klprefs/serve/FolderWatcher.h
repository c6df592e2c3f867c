#pragma once

#include <functional>
#include <string>
#include <thread>
#include <vector>

typedef struct _GMainContext GMainContext;
typedef struct _GMainLoop GMainLoop;
typedef struct _GFileMonitor GFileMonitor;
typedef struct _GSource GSource;

// Watches folders and the folders inside them with GLib's file monitor, on a
// thread of its own, and calls `changed` there once a burst of changes has
// been quiet for kQuietMilliseconds (an editor's save is several events: a
// temporary file written, renamed over the old one). Folders made later
// inside a watched one are watched too.
class FolderWatcher {
public:
    FolderWatcher(const std::vector<std::string>& folders, std::function<void()> changed);
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    static constexpr unsigned kQuietMilliseconds = 20;
    // Folders watched at most: a bundle holds a handful.
    static constexpr size_t kMaximumFolders = 256;

private:
    void watch(const std::string& folder, int depth);
    void noticeChange();

    std::function<void()> _changed;
    GMainContext* _context = nullptr;
    GMainLoop* _loop = nullptr;
    std::vector<GFileMonitor*> _monitors;
    GSource* _quiet = nullptr;
    std::thread _thread;
};
