#include <csignal>
#include <poll.h>
#include <thread>

#include <gtest/gtest.h>
#include <httplib.h>

#include "KlprefsProgram.h"

namespace {

// klprefs serve on a free loopback port, started by pid and ended by it
// with Ctrl-C's signal.
class ServeProcess {
public:
    explicit ServeProcess(const std::vector<std::string>& options) {
        int channel[2];
        EXPECT_EQ(pipe(channel), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, channel[1], 1);
        posix_spawn_file_actions_addclose(&actions, channel[0]);
        std::vector<std::string> words =
            with({KL_KLPREFS, "--connect-to", std::string(KL_AVATAR_HOST) + ":443:127.0.0.1:1"},
                 options);
        words.insert(words.end(), {"serve", "--port", "0"});
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&_pid, KL_KLPREFS, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(channel[1]);
        // The address line: "... http://127.0.0.1:PORT/ ...".
        std::string out;
        pollfd wait{channel[0], POLLIN, 0};
        char c = 0;
        while (out.find('\n') == std::string::npos && poll(&wait, 1, 30000) > 0 &&
               read(channel[0], &c, 1) == 1) {
            out += c;
        }
        close(channel[0]);
        const size_t at = out.find("127.0.0.1:");
        if (at != std::string::npos) {
            port = std::stoi(out.substr(at + 10));
        }
    }
    // Ends the server as Ctrl-C does; answers how it ended.
    int end() {
        if (_pid <= 0) {
            return -1;
        }
        kill(_pid, SIGINT);
        int status = 0;
        waitpid(_pid, &status, 0);
        _pid = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    ~ServeProcess() { end(); }

    int port = 0;

private:
    pid_t _pid = 0;
};

// A page of one switch, stored off.
DeviceWithBundle switchPage() {
    return DeviceWithBundle(
        Value::Array{Value(Value::Dictionary{{"cell", "PSSwitchCell"},
                                             {"label", "Enabled"},
                                             {"key", "enabled"},
                                             {"defaults", "com.example.test"}})},
        {{"enabled", false}});
}

TEST(Serve, RefusesForeignHostsOriginsFormsHugeBodiesAndFailingSteps) {
    DeviceWithBundle device = switchPage();
    const std::string before = device.storedBytes();
    ServeProcess serve(device.options());
    ASSERT_GT(serve.port, 0);
    const std::string own = "127.0.0.1:" + std::to_string(serve.port);
    const std::string origin = "http://" + own;
    struct Case {
        const char* name;
        const char* method;
        const char* path;
        httplib::Headers headers;
        std::string body;
        std::string type;
        int status;
        // What the refusal's message says, where it matters.
        std::string says = {};
    };
    const std::string step = R"({"step": "toggle Enabled"})";
    const std::vector<Case> cases = {
        {"a foreign Host",
         "GET",
         "/",
         {{"Host", "evil.example:" + std::to_string(serve.port)}},
         "",
         "",
         403},
        {"a name that resolves to loopback",
         "GET",
         "/api/page",
         {{"Host", "127.0.0.1.nip.example:" + std::to_string(serve.port)}},
         "",
         "",
         403},
        {"another port", "GET", "/api/frame.png", {{"Host", "127.0.0.1:1"}}, "", "", 403},
        {"a cross-site Origin",
         "POST",
         "/api/step",
         {{"Host", own}, {"Origin", "http://evil.example"}},
         step,
         "application/json",
         403},
        {"no Origin", "POST", "/api/step", {{"Host", own}}, step, "application/json", 403},
        {"a form-encoded post",
         "POST",
         "/api/step",
         {{"Host", own}, {"Origin", origin}},
         "step=toggle+Enabled",
         "application/x-www-form-urlencoded",
         415},
        {"a text post",
         "POST",
         "/api/variant",
         {{"Host", own}, {"Origin", origin}},
         R"({"appearance": "dark"})",
         "text/plain",
         415},
        {"a huge body",
         "POST",
         "/api/step",
         {{"Host", own}, {"Origin", origin}},
         "{\"step\": \"" + std::string(1 << 20, 'x') + "\"}",
         "application/json",
         413},
        {"no JSON",
         "POST",
         "/api/step",
         {{"Host", own}, {"Origin", origin}},
         "{",
         "application/json",
         400},
        {"a step that fails",
         "POST",
         "/api/step",
         {{"Host", own}, {"Origin", origin}},
         R"({"step": "toggle Nothing"})",
         "application/json",
         400},
        {"an unclosed quote",
         "POST",
         "/api/step",
         {{"Host", own}, {"Origin", origin}},
         R"({"step": "toggle \"Enabled"})",
         "application/json",
         400},
        {"two steps in one",
         "POST",
         "/api/step",
         {{"Host", own}, {"Origin", origin}},
         R"({"step": "toggle Enabled\ntoggle Enabled"})",
         "application/json",
         400},
        {"an unknown variant",
         "POST",
         "/api/variant",
         {{"Host", own}, {"Origin", origin}},
         R"({"appearance": "sepia"})",
         "application/json",
         400},
        {"libraries named wrongly",
         "POST",
         "/api/variant",
         {{"Host", own}, {"Origin", origin}},
         R"({"libraries": {"klutils": "no"}})",
         "application/json",
         400},
        {"a save without --script",
         "POST",
         "/api/save",
         {{"Host", own}, {"Origin", origin}},
         "{}",
         "application/json",
         400},
        {"a picture without --script",
         "POST",
         "/api/expect",
         {{"Host", own}, {"Origin", origin}},
         R"({"what": "image", "row": 0})",
         "application/json",
         400,
         "--script"},
        {"another method",
         "PUT",
         "/api/step",
         {{"Host", own}, {"Origin", origin}},
         step,
         "application/json",
         405},
        {"the page itself",
         "GET",
         "/",
         {{"Host", "localhost:" + std::to_string(serve.port)}},
         "",
         "",
         200},
    };
    httplib::Client client("127.0.0.1", serve.port);
    client.set_read_timeout(30, 0);
    for (const Case& c : cases) {
        httplib::Result result = std::string(c.method) == "GET" ? client.Get(c.path, c.headers)
                                 : std::string(c.method) == "POST"
                                     ? client.Post(c.path, c.headers, c.body, c.type.c_str())
                                     : client.Put(c.path, c.headers, c.body, c.type.c_str());
        ASSERT_TRUE(result) << c.name;
        EXPECT_EQ(result->status, c.status) << c.name << ": " << result->body;
        EXPECT_NE(result->body.find(c.says), std::string::npos) << c.name << ": " << result->body;
        EXPECT_EQ(device.storedBytes(), before) << c.name << " changed what is stored";
    }
    // The same step from the page's own origin is applied and stored.
    httplib::Result applied =
        client.Post("/api/step", {{"Host", own}, {"Origin", origin}}, step, "application/json");
    ASSERT_TRUE(applied);
    EXPECT_EQ(applied->status, 200) << applied->body;
    EXPECT_EQ(device.stored().objectForKey("enabled"), Value(true));
    EXPECT_EQ(nlohmann::json::parse(applied->body)["script"],
              "# Recorded by klprefs serve.\ntoggle Enabled\n");
    EXPECT_EQ(serve.end(), 0);
}

// Other libraries: serve starts anew in the same process and port, and the
// page comes back in the variant asked for, with the script recorded, the
// child page shown and what was stored.
TEST(Serve, OtherLibrariesStartServeAnewWithWhatWasDoneKept) {
    DeviceWithBundle device = switchPage();
    ServeProcess serve(device.options());
    ASSERT_GT(serve.port, 0);
    const std::string own = "127.0.0.1:" + std::to_string(serve.port);
    const httplib::Headers headers = {{"Host", own}, {"Origin", "http://" + own}};
    httplib::Client client("127.0.0.1", serve.port);
    client.set_read_timeout(30, 0);
    ASSERT_EQ(
        client.Post("/api/step", headers, R"({"step": "toggle Enabled"})", "application/json")
            ->status,
        200);
    httplib::Result asked = client.Post(
        "/api/variant", headers, R"({"libraries": {"klutils": false}, "appearance": "dark"})",
        "application/json");
    ASSERT_TRUE(asked);
    ASSERT_EQ(asked->status, 200) << asked->body;
    EXPECT_EQ(nlohmann::json::parse(asked->body)["relaunching"], true);

    // The new program answers once it listens again.
    nlohmann::json page;
    for (int attempt = 0; attempt < 300; ++attempt) {
        httplib::Result result = client.Get("/api/page", {{"Host", own}});
        if (result && result->status == 200) {
            page = nlohmann::json::parse(result->body);
            if (page["variant"]["libraries"]["klutils"] == false) {
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(page["variant"]["libraries"]["klutils"], false) << page.dump();
    EXPECT_EQ(page["variant"]["appearance"], "dark");
    EXPECT_EQ(page["script"], "# Recorded by klprefs serve.\ntoggle Enabled\n");
    EXPECT_EQ(page["page"]["launches"], 2);
    EXPECT_EQ(device.stored().objectForKey("enabled"), Value(true));
    EXPECT_EQ(serve.end(), 0);
}

} // namespace
