#include "ScriptTests.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>

#include <nlohmann/json.hpp>

#include "HostError.h"
#include "JUnitReport.h"
#include "ProcessPool.h"
#include "ProgramWarning.h"
#include "ReferencePictures.h"
#include "ScratchDeviceRoot.h"
#include "Script.h"
#include "ScriptRunner.h"
#include "VariantMatrix.h"

namespace {

// One run of a script in a variant.
struct Job {
    size_t script;
    size_t variant;
};

// How a run ended, as its child tells it.
struct Result {
    std::optional<std::string> failure;
    std::optional<size_t> line;
    std::vector<std::string> written;
    double seconds = 0;
};

// Why something named like a script is no file a script can be read from,
// or nothing when it is one (a link to a regular file is).
std::optional<std::string> whyNotAScript(const std::filesystem::directory_entry& entry) {
    std::error_code error;
    const std::filesystem::file_status status = entry.status(error);
    switch (status.type()) {
    case std::filesystem::file_type::regular:
        return std::nullopt;
    case std::filesystem::file_type::directory:
        return "it is a folder";
    case std::filesystem::file_type::fifo:
        return "it is a FIFO, which could wait for ever";
    case std::filesystem::file_type::character:
    case std::filesystem::file_type::block:
        return "it is a device, not a regular file";
    case std::filesystem::file_type::socket:
        return "it is a socket, not a regular file";
    case std::filesystem::file_type::not_found:
        return "it is a link to nothing";
    default:
        return "it is not a regular file" + (error ? ": " + error.message() : std::string());
    }
}

// Runs one script in the child: on a fresh copy of the device root, the page
// in the variant's look; answers the result as JSON.
std::string runInChild(const std::string& path, const Variant& variant, const std::string& original,
                       PageHost::Settings settings, const ReferencePictures::Policy& policy) {
    const auto start = std::chrono::steady_clock::now();
    nlohmann::json result;
    ReferencePictures pictures(path, variant.name, variant.scale, policy);
    try {
        const std::string text = Script::read(path);
        ScratchDeviceRoot scratch(original);
        settings.deviceRoot = scratch.path();
        settings.look = variant.look;
        PageHost host(settings);
        host.takeLoggedErrors();
        ScriptRunner runner(host, [&](size_t number, const std::string& message) {
            ProgramWarning::print(path + ":" + std::to_string(number) + ": " + message);
        });
        runner.comparePicturesWith(&pictures);
        runner.run(Script::parse(text));
        if (const size_t failed = host.failedStores()) {
            result["failure"] = std::to_string(failed) + (failed == 1 ? " value" : " values") +
                                " could not be stored";
        }
    } catch (const HostError& error) {
        result["failure"] = error.what();
        if (error.line()) {
            result["line"] = *error.line();
        }
    } catch (const std::exception& error) {
        result["failure"] = error.what();
    }
    result["written"] = pictures.written();
    result["seconds"] =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

Result readResult(const ProcessPool::Outcome& outcome) {
    Result result;
    if (outcome.abnormalEnd) {
        result.failure = *outcome.abnormalEnd;
        return result;
    }
    const nlohmann::json json = nlohmann::json::parse(outcome.output, nullptr, false);
    if (!json.is_object()) {
        result.failure = "the page's process sent back no result";
        return result;
    }
    if (json.contains("failure")) {
        result.failure = json["failure"].get<std::string>();
    }
    if (json.contains("line")) {
        result.line = json["line"].get<size_t>();
    }
    result.written = json["written"].get<std::vector<std::string>>();
    result.seconds = json["seconds"].get<double>();
    return result;
}

// A value of a GitHub workflow command, escaped as the runner reads it.
std::string annotationText(const std::string& text, bool property) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '%':
            out += "%25";
            break;
        case '\r':
            out += "%0D";
            break;
        case '\n':
            out += "%0A";
            break;
        case ':':
            out += property ? "%3A" : ":";
            break;
        case ',':
            out += property ? "%2C" : ",";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

int ScriptTests::run(const CommandLine& line, const PageHost::Settings& settings) {
    std::error_code error;
    std::vector<std::string> scripts;
    std::vector<std::pair<std::string, std::string>> notRun;
    for (std::filesystem::recursive_directory_iterator entry(line.scriptFolder, error), end;
         !error && entry != end; entry.increment(error)) {
        if (entry->path().extension() != ".script") {
            continue;
        }
        if (std::optional<std::string> why = whyNotAScript(*entry)) {
            notRun.emplace_back(entry->path().string(), *why);
        } else {
            scripts.push_back(entry->path().string());
        }
    }
    if (error) {
        throw HostError(HostError::Kind::Usage,
                        "cannot read the folder " + line.scriptFolder + ": " + error.message());
    }
    if (scripts.empty() && notRun.empty()) {
        throw HostError(HostError::Kind::Usage, "no *.script files under " + line.scriptFolder);
    }
    std::sort(scripts.begin(), scripts.end());
    std::sort(notRun.begin(), notRun.end());
    for (const auto& [path, why] : notRun) {
        std::cout << "NOT RUN " << path << ": " << why << "\n";
    }

    const std::vector<Variant> variants =
        line.variants.variants(line.look, line.scale, line.scaleGiven);
    std::vector<Job> jobs;
    for (size_t round = 0; round < line.repeat; ++round) {
        for (size_t script = 0; script < scripts.size(); ++script) {
            for (size_t variant = 0; variant < variants.size(); ++variant) {
                jobs.push_back({script, variant});
            }
        }
    }
    if (line.shuffle) {
        const unsigned seed = line.seed ? *line.seed : std::random_device()();
        std::cout << "shuffled with --seed " << seed << "\n";
        std::shuffle(jobs.begin(), jobs.end(), std::mt19937(seed));
    }

    const std::string original =
        line.deviceRoot ? *line.deviceRoot : ScratchDeviceRoot::builtInExample();
    const bool annotate =
        std::getenv("GITHUB_ACTIONS") && std::string(std::getenv("GITHUB_ACTIONS")) == "true";
    // Results are printed in the jobs' order, each as soon as those before it are in.
    std::vector<std::optional<Result>> results(jobs.size());
    size_t printed = 0, passed = 0, failed = 0, written = 0;
    std::vector<std::string> failures;
    JUnitReport report;
    for (const auto& [path, why] : notRun) {
        report.add({path, std::filesystem::path(path).stem().string(),
                    JUnitReport::Case::Outcome::NotRun, std::nullopt, why, "", 0});
    }
    auto print = [&](const Job& job, const Result& result) {
        const std::string& path = scripts[job.script];
        const std::string& variant = variants[job.variant].name;
        const std::string suffix = variant.empty() ? "" : " (" + variant + ")";
        std::string output;
        for (const std::string& note : result.written) {
            output += note + "\n";
        }
        written += result.written.size();
        JUnitReport::Case testCase{path,
                                   std::filesystem::path(path).stem().string() +
                                       (variant.empty() ? "" : "[" + variant + "]"),
                                   JUnitReport::Case::Outcome::Passed,
                                   result.line,
                                   "",
                                   output,
                                   result.seconds};
        if (!result.failure) {
            ++passed;
            std::cout << "passed " << path << suffix << "\n";
        } else {
            ++failed;
            failures.push_back(path + (result.line ? ":" + std::to_string(*result.line) : "") +
                               ": " + *result.failure + suffix);
            std::cout << "FAILED " << failures.back() << "\n";
            testCase.outcome = JUnitReport::Case::Outcome::Failed;
            testCase.message = *result.failure + suffix;
            if (annotate) {
                std::cout << "::error file=" << annotationText(path, true)
                          << (result.line ? ",line=" + std::to_string(*result.line) : "")
                          << "::" << annotationText(testCase.message, false) << "\n";
            }
        }
        for (const std::string& note : result.written) {
            std::cout << "  " << note << "\n";
        }
        report.add(std::move(testCase));
    };
    const size_t parallel = line.jobs ? line.jobs : ProcessPool::cores();
    ProcessPool::run(
        jobs.size(), parallel,
        [&](size_t index) {
            const Job& job = jobs[index];
            return runInChild(scripts[job.script], variants[job.variant], original, settings,
                              line.pictures);
        },
        [&](size_t index, ProcessPool::Outcome outcome) {
            results[index] = readResult(outcome);
            for (; printed < jobs.size() && results[printed]; ++printed) {
                print(jobs[printed], *results[printed]);
            }
            std::cout.flush();
        });

    std::cout << passed << " passed, " << failed << " failed";
    if (!notRun.empty()) {
        std::cout << ", " << notRun.size() << " not run";
    }
    if (written) {
        std::cout << "; " << written << (written == 1 ? " picture" : " pictures")
                  << " recorded or updated";
    }
    std::cout << "\n";
    for (const std::string& failure : failures) {
        std::cout << "  " << failure << "\n";
    }
    if (line.junit) {
        report.write(*line.junit);
    }
    return failures.empty() && notRun.empty() ? 0 : 1;
}
