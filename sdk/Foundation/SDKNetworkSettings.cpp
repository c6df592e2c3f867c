#include <Foundation/SDKNetworkSettings.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

struct SettingsState {
    std::mutex lock;
    SDKNetworkSettings::Settings settings;
};

SettingsState& state() {
    // Never destroyed: a worker may still read it while the process exits.
    static SettingsState& shared = *new SettingsState;
    return shared;
}

bool isValidPort(std::string_view port) {
    if (port.empty()) {
        return true;
    }
    if (port.size() > 5 ||
        !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const long number = std::stol(std::string(port));
    return number >= 1 && number <= 65535;
}

// A host name or an address in brackets, then the colon after it; answers
// the position after that colon, or npos.
size_t skipHost(std::string_view route, size_t start) {
    if (start < route.size() && route[start] == '[') {
        const size_t close = route.find(']', start);
        if (close == std::string_view::npos || close + 1 >= route.size() ||
            route[close + 1] != ':') {
            return std::string_view::npos;
        }
        return close + 2;
    }
    const size_t colon = route.find(':', start);
    if (colon == std::string_view::npos ||
        route.substr(start, colon - start).find_first_of("[]/ ") != std::string_view::npos) {
        return std::string_view::npos;
    }
    return colon + 1;
}

} // namespace

SDKNetworkSettings::Settings SDKNetworkSettings::current() {
    std::lock_guard guard(state().lock);
    return state().settings;
}

bool SDKNetworkSettings::setConnectTo(const std::vector<std::string>& routes) {
    if (!std::all_of(routes.begin(), routes.end(),
                     [](const std::string& route) { return isValidRoute(route); })) {
        return false;
    }
    std::lock_guard guard(state().lock);
    state().settings.connectTo = routes;
    return true;
}

void SDKNetworkSettings::setCertificateAuthorityFile(const std::optional<std::string>& hostPath) {
    std::lock_guard guard(state().lock);
    state().settings.certificateAuthorityFile = hostPath;
}

bool SDKNetworkSettings::setRequestTimeout(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) {
        return false;
    }
    std::lock_guard guard(state().lock);
    state().settings.requestTimeout = seconds;
    return true;
}

void SDKNetworkSettings::reset() {
    std::lock_guard guard(state().lock);
    state().settings = Settings();
}

bool SDKNetworkSettings::isValidRoute(std::string_view route) {
    const size_t afterHost = skipHost(route, 0);
    if (afterHost == std::string_view::npos) {
        return false;
    }
    const size_t portEnd = route.find(':', afterHost);
    if (portEnd == std::string_view::npos ||
        !isValidPort(route.substr(afterHost, portEnd - afterHost))) {
        return false;
    }
    const size_t afterTarget = skipHost(route, portEnd + 1);
    return afterTarget != std::string_view::npos && isValidPort(route.substr(afterTarget));
}
