#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include <Foundation/SDKNetworkSettings.h>

#include "LoopbackHTTPSServer.h"
#include "TestCertificates.h"

// A host name served from 127.0.0.1 while this lives: a server with a
// certificate for the name, the host's settings routing the name to it and
// trusting only the test's authority. A second server holds a certificate
// from an authority nobody trusts. The settings go back to their defaults at
// the end.
class LoopbackNetwork {
public:
    explicit LoopbackNetwork(const std::string& hostName)
        : _hostName(hostName), _trusted(hostName, "Loopback Test Authority"),
          _untrusted(hostName, "Untrusted Test Authority"),
          server(std::make_unique<LoopbackHTTPSServer>(_trusted)),
          untrustedServer(std::make_unique<LoopbackHTTPSServer>(_untrusted)) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kl-authority-XXXXXX").string();
        const int descriptor = mkstemp(pattern.data());
        if (descriptor < 0) {
            throw std::runtime_error("mkstemp failed");
        }
        close(descriptor);
        _authorityFile = pattern;
        std::ofstream(_authorityFile) << _trusted.authorityPEM();
        SDKNetworkSettings::setCertificateAuthorityFile(_authorityFile);
        routeTo(*server);
    }
    ~LoopbackNetwork() {
        SDKNetworkSettings::reset();
        std::error_code ignored;
        std::filesystem::remove(_authorityFile, ignored);
    }
    LoopbackNetwork(const LoopbackNetwork&) = delete;
    LoopbackNetwork& operator=(const LoopbackNetwork&) = delete;

    // Sends the host name's connections to this server from now on.
    void routeTo(const LoopbackHTTPSServer& target) {
        SDKNetworkSettings::setConnectTo({target.routeFor(_hostName)});
    }
    const std::string& authorityFile() const { return _authorityFile; }

private:
    std::string _hostName;
    TestCertificates _trusted;
    TestCertificates _untrusted;
    std::string _authorityFile;

public:
    std::unique_ptr<LoopbackHTTPSServer> server;
    std::unique_ptr<LoopbackHTTPSServer> untrustedServer;
};
