#include "FolderWatcher.h"

#include <filesystem>

#include <gio/gio.h>

namespace {

// How deep inside a watched folder new folders are still watched
// (a bundle's en.lproj, its pictures' folder).
constexpr int kMaximumDepth = 4;

struct Watched {
    FolderWatcher* watcher;
    int depth;
};

} // namespace

FolderWatcher::FolderWatcher(const std::vector<std::string>& folders, std::function<void()> changed)
    : _changed(std::move(changed)) {
    _context = g_main_context_new();
    _loop = g_main_loop_new(_context, FALSE);
    // Monitors report to the context that was the thread's default when
    // they were made.
    g_main_context_push_thread_default(_context);
    for (const std::string& folder : folders) {
        watch(folder, 0);
    }
    g_main_context_pop_thread_default(_context);
    _thread = std::thread([this] {
        g_main_context_push_thread_default(_context);
        g_main_loop_run(_loop);
        g_main_context_pop_thread_default(_context);
    });
}

FolderWatcher::~FolderWatcher() {
    g_main_context_invoke(
        _context,
        [](gpointer loop) -> gboolean {
            g_main_loop_quit(static_cast<GMainLoop*>(loop));
            return G_SOURCE_REMOVE;
        },
        _loop);
    _thread.join();
    if (_quiet) {
        g_source_destroy(_quiet);
        g_source_unref(_quiet);
    }
    for (GFileMonitor* monitor : _monitors) {
        g_file_monitor_cancel(monitor);
        g_object_unref(monitor);
    }
    g_main_loop_unref(_loop);
    g_main_context_unref(_context);
}

void FolderWatcher::watch(const std::string& folder, int depth) {
    std::error_code error;
    if (_monitors.size() >= kMaximumFolders || depth > kMaximumDepth ||
        !std::filesystem::is_directory(folder, error)) {
        return;
    }
    GFile* file = g_file_new_for_path(folder.c_str());
    GFileMonitor* monitor =
        g_file_monitor_directory(file, G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr);
    g_object_unref(file);
    if (!monitor) {
        return;
    }
    // Every change is reported at once; the quiet period gathers them.
    g_file_monitor_set_rate_limit(monitor, 0);
    auto* watched = new Watched{this, depth};
    g_signal_connect_data(
        monitor, "changed",
        G_CALLBACK(+[](GFileMonitor*, GFile* child, GFile*, GFileMonitorEvent event,
                       gpointer data) {
            auto* source = static_cast<Watched*>(data);
            if (event == G_FILE_MONITOR_EVENT_CREATED || event == G_FILE_MONITOR_EVENT_MOVED_IN) {
                if (char* path = g_file_get_path(child)) {
                    source->watcher->watch(path, source->depth + 1);
                    g_free(path);
                }
            }
            source->watcher->noticeChange();
        }),
        watched, [](gpointer data, GClosure*) { delete static_cast<Watched*>(data); },
        GConnectFlags(0));
    _monitors.push_back(monitor);
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_directory(error) && !entry.is_symlink(error)) {
            watch(entry.path().string(), depth + 1);
        }
    }
}

void FolderWatcher::noticeChange() {
    // Each change starts the quiet period again.
    if (_quiet) {
        g_source_destroy(_quiet);
        g_source_unref(_quiet);
    }
    _quiet = g_timeout_source_new(kQuietMilliseconds);
    g_source_set_callback(
        _quiet,
        [](gpointer data) -> gboolean {
            auto* watcher = static_cast<FolderWatcher*>(data);
            g_source_unref(watcher->_quiet);
            watcher->_quiet = nullptr;
            watcher->_changed();
            return G_SOURCE_REMOVE;
        },
        this, nullptr);
    g_source_attach(_quiet, _context);
}
