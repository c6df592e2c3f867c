#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <httplib.h>

#include "TestCertificates.h"
#include "TestPictures.h"

// A real HTTPS server on 127.0.0.1 at a free port, with a certificate made for
// the test. Each path answers as the test sets it; any other path gets 404.
class LoopbackHTTPSServer {
public:
    enum class Answer {
        Image,           // a PNG picture
        CutImage,        // the first half of a 64 × 64 PNG picture
        Empty,           // 200 with no body
        NotAnImage,      // 200 with text
        NotFound,        // 404 with a text body
        RedirectLoop,    // 302 to itself, for ever
        RedirectToImage, // 302 to the path + "/picture", which answers Image
        OverCap,         // 200 declaring and sending 10 MiB + 1 bytes
        OverCapChunked,  // 200 sending 10 MiB + 1 bytes in chunks, no length given
        Silent,          // accepts the request and never answers (until released)
    };

    // The longest a Silent answer holds its connection, so that every test ends.
    static constexpr std::chrono::seconds kSilenceLimit{20};
    static constexpr size_t kOverCapLength = 10 * 1024 * 1024 + 1;

    explicit LoopbackHTTPSServer(const TestCertificates& certificates)
        : _server(certificates.serverCertificate(), certificates.serverKey()) {
        _server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
            answer(request, response);
        });
        _port = _server.bind_to_any_port("127.0.0.1");
        if (_port <= 0) {
            throw std::runtime_error("cannot bind a loopback port");
        }
        _thread = std::thread([this] { _server.listen_after_bind(); });
        for (int attempt = 0; attempt < 500 && !_server.is_running(); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~LoopbackHTTPSServer() {
        releaseSilence();
        _server.stop();
        _thread.join();
    }
    LoopbackHTTPSServer(const LoopbackHTTPSServer&) = delete;
    LoopbackHTTPSServer& operator=(const LoopbackHTTPSServer&) = delete;

    int port() const { return _port; }
    // A curl-style route that sends `host`'s HTTPS connections to this server.
    std::string routeFor(const std::string& host) const {
        return host + ":443:127.0.0.1:" + std::to_string(_port);
    }

    void setAnswer(const std::string& path, Answer answer) {
        std::lock_guard lock(_mutex);
        _answers[path] = answer;
    }
    // Each request's target (path and query) as received, in order.
    std::vector<std::string> targets() const {
        std::lock_guard lock(_mutex);
        return _targets;
    }
    // Lets every Silent answer end now.
    void releaseSilence() {
        std::lock_guard lock(_mutex);
        _released = true;
        _silenceEnded.notify_all();
    }

    // A small PNG: `width` × `height` pixels of one colour.
    static std::string pngImage(int width = 4, int height = 4) { return pngPicture(width, height); }

private:
    void answer(const httplib::Request& request, httplib::Response& response) {
        Answer kind = Answer::NotFound;
        std::string path = request.path;
        {
            std::lock_guard lock(_mutex);
            _targets.push_back(request.target);
            if (auto found = _answers.find(path); found != _answers.end()) {
                kind = found->second;
            } else if (path.ends_with("/picture")) {
                auto redirecting = _answers.find(path.substr(0, path.size() - 8));
                if (redirecting != _answers.end() &&
                    redirecting->second == Answer::RedirectToImage) {
                    kind = Answer::Image;
                }
            }
        }
        switch (kind) {
        case Answer::Image:
            response.set_content(pngImage(), "image/png");
            break;
        case Answer::CutImage: {
            const std::string picture = pngPicture(64, 64);
            response.set_content(picture.substr(0, picture.size() / 2), "image/png");
            break;
        }
        case Answer::Empty:
            response.status = 200;
            break;
        case Answer::NotAnImage:
            response.set_content("this is not a picture", "text/plain");
            break;
        case Answer::NotFound:
            response.status = 404;
            response.set_content("Not Found", "text/plain");
            break;
        case Answer::RedirectLoop:
            response.set_redirect(request.target);
            break;
        case Answer::RedirectToImage:
            response.set_redirect(path + "/picture");
            break;
        case Answer::OverCap:
            response.set_content_provider(
                kOverCapLength, "image/png",
                [](size_t offset, size_t length, httplib::DataSink& sink) {
                    static const std::string zeros(64 * 1024, '\0');
                    (void)offset;
                    return sink.write(zeros.data(), std::min(length, zeros.size()));
                });
            break;
        case Answer::OverCapChunked:
            response.set_chunked_content_provider(
                "image/png", [sent = size_t(0)](size_t, httplib::DataSink& sink) mutable {
                    static const std::string zeros(64 * 1024, '\0');
                    if (sent >= kOverCapLength) {
                        sink.done();
                        return true;
                    }
                    sent += zeros.size();
                    return sink.write(zeros.data(), zeros.size());
                });
            break;
        case Answer::Silent: {
            std::unique_lock lock(_mutex);
            _silenceEnded.wait_for(lock, kSilenceLimit, [this] { return _released; });
            response.status = 500;
            break;
        }
        }
    }

    httplib::SSLServer _server;
    int _port = 0;
    std::thread _thread;
    mutable std::mutex _mutex;
    std::condition_variable _silenceEnded;
    bool _released = false;
    std::map<std::string, Answer> _answers;
    std::vector<std::string> _targets;
};
