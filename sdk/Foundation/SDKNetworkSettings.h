#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How this machine's network stands in for the device's, set by the host
// (never by a row): where a host's connections go instead, in the manner of
// curl's --connect-to, which certificate authorities are trusted, in the
// manner of curl's --cacert (the system's otherwise), and how long a read may
// wait for data before it fails (the platform's default request time limit).
class SDKNetworkSettings {
public:
    SDKNetworkSettings() = delete;

    static constexpr double kDefaultRequestTimeout = 60;

    struct Settings {
        // Each "HOST:PORT:CONNECT-TO-HOST:CONNECT-TO-PORT"; an empty field matches any.
        std::vector<std::string> connectTo;
        // A PEM file on this machine; nil for the system's authorities.
        std::optional<std::string> certificateAuthorityFile;
        double requestTimeout = kDefaultRequestTimeout;
    };

    static Settings current();
    // Refuses (answers NO, changing nothing) when a route is malformed.
    static bool setConnectTo(const std::vector<std::string>& routes);
    static void setCertificateAuthorityFile(const std::optional<std::string>& hostPath);
    // Seconds; refused unless positive and finite.
    static bool setRequestTimeout(double seconds);
    // Back to the defaults: no routes, the system's authorities, 60 seconds.
    static void reset();

    // Four fields separated by colons, a host in brackets where it holds
    // colons, ports empty or a number from 1 to 65535.
    static bool isValidRoute(std::string_view route);
};
