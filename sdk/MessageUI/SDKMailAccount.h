#pragma once

// The device's mail account as the host sets it up: whether there is one
// (what canSendMail answers; there is by default) and whether sending from
// it fails (the outgoing server refuses; it does not by default).
class SDKMailAccount {
public:
    SDKMailAccount() = delete;

    static bool isConfigured();
    static void setConfigured(bool configured);
    static bool sendingFails();
    static void setSendingFails(bool fails);
    // Back to the defaults.
    static void reset();
};
