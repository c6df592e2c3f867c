#include <MessageUI/SDKMailAccount.h>

#include <atomic>

namespace {

std::atomic<bool> configured{true};
std::atomic<bool> failing{false};

} // namespace

bool SDKMailAccount::isConfigured() {
    return configured;
}

void SDKMailAccount::setConfigured(bool isConfigured) {
    configured = isConfigured;
}

bool SDKMailAccount::sendingFails() {
    return failing;
}

void SDKMailAccount::setSendingFails(bool fails) {
    failing = fails;
}

void SDKMailAccount::reset() {
    configured = true;
    failing = false;
}
