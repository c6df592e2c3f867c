#include <Foundation/NSDataLoader.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

#include <curl/curl.h>
#include <glib.h>

#include <Foundation/NSURL.h>
#include <Foundation/SDKNetworkSettings.h>

namespace {

struct Body {
    NSData data;
    bool tooLong = false;
};

size_t appendToBody(char* bytes, size_t size, size_t count, void* userData) {
    auto& body = *static_cast<Body*>(userData);
    const size_t length = size * count;
    if (body.data.size() + length > NSDataLoader::kMaximumLength) {
        body.tooLong = true;
        // A short count makes libcurl stop the transfer.
        return 0;
    }
    body.data.insert(body.data.end(), bytes, bytes + length);
    return length;
}

std::optional<NSData> readOverHTTPS(const std::string& address) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    const SDKNetworkSettings::Settings settings = SDKNetworkSettings::current();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        return std::nullopt;
    }
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> routes(nullptr,
                                                                       &curl_slist_free_all);
    for (const std::string& route : settings.connectTo) {
        curl_slist* appended = curl_slist_append(routes.get(), route.c_str());
        if (!appended) {
            return std::nullopt;
        }
        routes.release();
        routes.reset(appended);
    }

    // The request time limit counts from the last data received, as the
    // platform's does: a connection that stays silent that long fails.
    const long idleSeconds = std::max(1L, static_cast<long>(std::ceil(settings.requestTimeout)));
    Body body;
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, NSDataLoader::kMaximumRedirects);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (settings.certificateAuthorityFile) {
        curl_easy_setopt(handle, CURLOPT_CAINFO, settings.certificateAuthorityFile->c_str());
    }
    if (routes) {
        curl_easy_setopt(handle, CURLOPT_CONNECT_TO, routes.get());
    }
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, idleSeconds);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, idleSeconds);
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(NSDataLoader::kMaximumLength));
    // Compressed answers are accepted; the cap counts the decoded bytes.
    curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
    // Worker threads: no signals for time limits.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &appendToBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);

    if (curl_easy_perform(handle) != CURLE_OK || body.tooLong) {
        return std::nullopt;
    }
    return std::move(body.data);
}

} // namespace

std::optional<NSData> NSDataLoader::dataWithContentsOfURL(const Ref<NSURL>& url) {
    if (!url || !url->scheme()) {
        return std::nullopt;
    }
    if (g_ascii_strcasecmp(url->scheme()->c_str(), "https") != 0) {
        return std::nullopt;
    }
    return readOverHTTPS(url->absoluteString());
}
