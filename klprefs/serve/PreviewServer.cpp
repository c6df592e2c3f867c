#include "PreviewServer.h"

#include <algorithm>
#include <cctype>

#include <httplib.h>

#include "HostError.h"
#include "PreviewPage.h"

namespace {

constexpr const char* kJSON = "application/json";

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void answerError(httplib::Response& response, int status, const std::string& message) {
    response.status = status;
    response.set_content(nlohmann::json{{"error", message}}.dump(), kJSON);
}

CGPoint pointFrom(const nlohmann::json& value) {
    if (!value.is_object() || !value.contains("x") || !value.contains("y") ||
        !value["x"].is_number() || !value["y"].is_number()) {
        throw HostError(HostError::Kind::Usage, "a point is {\"x\": number, \"y\": number}");
    }
    return CGPointMake(value["x"].get<double>(), value["y"].get<double>());
}

std::string textFrom(const nlohmann::json& body, const char* name) {
    if (!body.contains(name) || !body[name].is_string()) {
        throw HostError(HostError::Kind::Usage,
                        std::string("the body is {\"") + name + "\": \"...\"}");
    }
    return body[name].get<std::string>();
}

} // namespace

PreviewServer::PreviewServer(Options options, PreviewSession& session, MainThreadJobs& jobs,
                             EventStream& events)
    : _options(std::move(options)), _session(session), _jobs(jobs), _events(events),
      _server(std::make_unique<httplib::Server>()) {
    _server->set_payload_max_length(kMaximumBody);
    _server->set_keep_alive_timeout(1);
    _server->set_read_timeout(5, 0);
    route();
}

PreviewServer::~PreviewServer() {
    stop();
}

int PreviewServer::bind() {
    int port = _options.port;
    if (port == 0) {
        port = _server->bind_to_any_port(_options.address);
    } else if (!_server->bind_to_port(_options.address, port)) {
        port = -1;
    }
    if (port <= 0) {
        throw HostError(HostError::Kind::Usage,
                        "cannot listen on " + _options.address + ":" +
                            std::to_string(_options.port) +
                            " (in use, or no such address here); choose another with --port");
    }
    const std::string suffix = ":" + std::to_string(port);
    _names = {"127.0.0.1" + suffix, "localhost" + suffix, "[::1]" + suffix};
    const std::string given = _options.address.find(':') != std::string::npos
                                  ? "[" + _options.address + "]" + suffix
                                  : _options.address + suffix;
    if (std::find(_names.begin(), _names.end(), given) == _names.end()) {
        _names.push_back(given);
    }
    return port;
}

void PreviewServer::start() {
    _thread = std::thread([this] { _server->listen_after_bind(); });
}

void PreviewServer::stop() {
    _events.close();
    if (_thread.joinable()) {
        _server->stop();
        _thread.join();
    }
}

std::optional<std::pair<int, std::string>>
PreviewServer::refusal(const httplib::Request& request, const std::vector<std::string>& names) {
    const std::string host = lowercase(request.get_header_value("Host"));
    if (std::find(names.begin(), names.end(), host) == names.end()) {
        return std::pair(403, "refused: the Host " + HostError::quoted(host) +
                                  " is not this server's name (open it as http://" + names.front() +
                                  "/)");
    }
    if (request.method == "GET" || request.method == "HEAD") {
        return std::nullopt;
    }
    if (request.method != "POST") {
        return std::pair(405, "only GET and POST are answered");
    }
    const std::string origin = request.get_header_value("Origin");
    if (std::none_of(names.begin(), names.end(),
                     [&](const std::string& name) { return origin == "http://" + name; })) {
        return std::pair(403, "refused: a POST needs this server's own Origin, not " +
                                  HostError::quoted(origin));
    }
    std::string type = lowercase(request.get_header_value("Content-Type"));
    type = type.substr(0, type.find(';'));
    type.erase(type.find_last_not_of(" \t") + 1);
    if (type != kJSON) {
        return std::pair(415, "refused: a POST's body is application/json, not " +
                                  HostError::quoted(type));
    }
    return std::nullopt;
}

void PreviewServer::route() {
    httplib::Server& server = *_server;
    server.set_pre_routing_handler(
        [this](const httplib::Request& request, httplib::Response& response) {
            if (auto refused = refusal(request, _names)) {
                answerError(response, refused->first, refused->second);
                return httplib::Server::HandlerResponse::Handled;
            }
            response.set_header("Cache-Control", "no-store");
            response.set_header("X-Content-Type-Options", "nosniff");
            return httplib::Server::HandlerResponse::Unhandled;
        });
    server.Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Content-Security-Policy",
                            "default-src 'self'; style-src 'unsafe-inline'; "
                            "script-src 'unsafe-inline'; img-src 'self' blob:");
        response.set_content(std::string(PreviewPage::html()), "text/html; charset=utf-8");
    });
    server.Get("/api/frame.png", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(_session.framePNG(), "image/png");
    });
    server.Get("/api/page", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(_session.pageJSON(), kJSON);
    });
    server.Get("/api/script", [this](const httplib::Request&, httplib::Response& response) {
        try {
            response.set_content(_jobs.call<std::string>([this] { return _session.scriptText(); }),
                                 "text/plain; charset=utf-8");
        } catch (const std::future_error&) {
            answerError(response, 503, "the server is ending");
        }
    });
    server.Get("/api/events", [this](const httplib::Request&, httplib::Response& response) {
        auto cursor = std::make_shared<size_t>(_events.lastId());
        auto opened = std::make_shared<bool>(false);
        response.set_chunked_content_provider(
            "text/event-stream", [this, cursor, opened](size_t, httplib::DataSink& sink) {
                // A browser that loses the stream (serve starting anew with
                // other libraries) tries again within a quarter second.
                if (!*opened) {
                    *opened = true;
                    return sink.write("retry: 250\n\n", 12);
                }
                // A comment line now and then finds a client that has gone.
                const std::vector<EventStream::Event> batch =
                    _events.eventsAfter(*cursor, std::chrono::seconds(2));
                if (_events.isClosed()) {
                    sink.done();
                    return false;
                }
                std::string text = batch.empty() ? ": waiting\n\n" : "";
                for (const EventStream::Event& event : batch) {
                    text += EventStream::format(event);
                    *cursor = event.id;
                }
                return sink.write(text.data(), text.size());
            });
    });

    // Each POST: the JSON body read, the work done on the main thread, the
    // new state answered; a step that fails answers 400 with its message.
    using Work = std::function<nlohmann::json(const nlohmann::json&)>;
    auto post = [this, &server](const char* path, Work work) {
        server.Post(path,
                    [this, work](const httplib::Request& request, httplib::Response& response) {
                        nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
                        if (body.is_discarded() || !body.is_object()) {
                            answerError(response, 400, "the body is no JSON object");
                            return;
                        }
                        try {
                            const nlohmann::json answer =
                                _jobs.call<nlohmann::json>([&work, &body] { return work(body); });
                            response.set_content(answer.dump(), kJSON);
                        } catch (const HostError& error) {
                            answerError(response, 400, error.what());
                        } catch (const std::future_error&) {
                            answerError(response, 503, "the server is ending");
                        } catch (const std::exception& error) {
                            answerError(response, 500, error.what());
                        }
                    });
    };
    post("/api/step",
         [this](const nlohmann::json& body) { return _session.step(textFrom(body, "step")); });
    post("/api/variant", [this](const nlohmann::json& body) { return _session.setVariant(body); });
    post("/api/click",
         [this](const nlohmann::json& body) { return _session.click(pointFrom(body)); });
    post("/api/drag", [this](const nlohmann::json& body) {
        if (!body.contains("from") || !body.contains("to")) {
            throw HostError(HostError::Kind::Usage, "a drag is {\"from\": point, \"to\": point}");
        }
        return _session.drag(pointFrom(body["from"]), pointFrom(body["to"]));
    });
    post("/api/type",
         [this](const nlohmann::json& body) { return _session.type(textFrom(body, "text")); });
    post("/api/expect", [this](const nlohmann::json& body) {
        const auto given = [&](const char* key) {
            return body.contains(key) && !body[key].is_null();
        };
        // A picture: of the screen, or of the row given; named, or page-N.
        if (body.contains("what") && body["what"] == "image") {
            if ((given("row") && !body["row"].is_number_unsigned()) ||
                (given("name") && !body["name"].is_string())) {
                throw HostError(HostError::Kind::Usage,
                                "a picture expectation is {\"what\": \"image\", \"row\": index "
                                "or null, \"name\": text or null}");
            }
            const std::string name = given("name") ? body["name"].get<std::string>() : "";
            return _session.expectImage(given("row") ? std::optional(body["row"].get<size_t>())
                                                     : std::nullopt,
                                        name.empty() ? std::nullopt : std::optional(name));
        }
        if (!body.contains("row") || !body["row"].is_number_unsigned()) {
            throw HostError(HostError::Kind::Usage,
                            "an expectation is {\"row\": index, \"what\": \"stored\", "
                            "\"shown\" or \"image\"}");
        }
        return _session.expect(body["row"].get<size_t>(), textFrom(body, "what"));
    });
    post("/api/save", [this](const nlohmann::json&) { return _session.save(); });
}
