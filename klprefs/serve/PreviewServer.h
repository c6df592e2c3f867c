#pragma once

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "EventStream.h"
#include "MainThreadJobs.h"
#include "PreviewSession.h"

namespace httplib {
class Server;
struct Request;
} // namespace httplib

// The preview's HTTP interface, for the page it serves and for an editor:
// GET / (the page), /api/frame.png, /api/page, /api/script, /api/events
// (server-sent events frame, page and log), and POST /api/step, /api/variant,
// /api/click, /api/drag, /api/type, /api/expect, /api/save with JSON bodies.
// Work on the page is handed to the main thread.
//
// Safe by default: a request whose Host is not one of the server's own names
// is refused, so that a web page cannot reach it by a name that resolves to
// loopback; a POST needs the server's own Origin and a JSON body of at most
// kMaximumBody bytes, so that no other site's form or script can post a step.
class PreviewServer {
public:
    struct Options {
        std::string address = "127.0.0.1";
        int port = 8800;
    };

    PreviewServer(Options options, PreviewSession& session, MainThreadJobs& jobs,
                  EventStream& events);
    ~PreviewServer();

    // Binds the address and port (0: a free one); throws a usage HostError
    // when it cannot. Answers the port.
    int bind();
    // Serves on a thread of its own until stop().
    void start();
    void stop();

    // Why a request is refused, as an HTTP status and a message; nil when it
    // may go on. `names` are the server's own host:port names.
    static std::optional<std::pair<int, std::string>>
    refusal(const httplib::Request& request, const std::vector<std::string>& names);

    static constexpr size_t kMaximumBody = 1 << 20;

private:
    void route();

    Options _options;
    PreviewSession& _session;
    MainThreadJobs& _jobs;
    EventStream& _events;
    std::unique_ptr<httplib::Server> _server;
    std::vector<std::string> _names;
    std::thread _thread;
};
