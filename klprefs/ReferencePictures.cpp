#include "ReferencePictures.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "HostError.h"
#include "PNGCodec.h"
#include "automation/ViewFinder.h"

namespace {

bool isNameCharacter(unsigned char c) {
    return std::isalnum(c) || c == '-' || c == '_';
}

// The file's bytes, or nothing when there is no file; fails on a file that
// cannot be a reference.
std::optional<std::string> readReference(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return std::nullopt;
    }
    if (status.type() != std::filesystem::file_type::regular) {
        HostError::throwStep("the reference " + path + " is not a regular file");
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > ReferencePictures::kMaximumFileSize) {
        HostError::throwStep("the reference " + path + " is " +
                             (error ? "unreadable" : "larger than 64 MiB"));
    }
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    if (!file) {
        HostError::throwStep("cannot read the reference " + path + ": " + std::strerror(errno));
    }
    return bytes.str();
}

} // namespace

std::optional<ReferencePictures::Update> ReferencePictures::updateNamed(const std::string& name) {
    if (name == "missing") {
        return Update::Missing;
    }
    if (name == "all") {
        return Update::All;
    }
    if (name == "changed") {
        return Update::Changed;
    }
    if (name == "none") {
        return Update::None;
    }
    return std::nullopt;
}

ReferencePictures::ReferencePictures(const std::string& scriptPath, std::string variant,
                                     double scale, Policy policy)
    : _folder((std::filesystem::path(scriptPath).parent_path() / "__snapshots__" /
               std::filesystem::path(scriptPath).stem())
                  .string()),
      _variant(std::move(variant)), _scale(scale), _policy(policy) {}

PictureComparison::Image ReferencePictures::draw(PageHost& host,
                                                 const std::vector<std::string>& arguments) const {
    // Whatever is read in the background shows once it has arrived, so
    // that the picture never depends on how fast it came.
    if (!host.settleAfterBackgroundWork()) {
        HostError::throwStep("background work was still under way after " +
                             std::to_string(static_cast<int>(PageHost::kBackgroundWorkLimit)) +
                             " seconds, so the picture would depend on when it is taken");
    }
    SDKPageRenderer renderer(host.window(), _scale);
    std::string error;
    if (arguments.size() == 1) {
        PictureComparison::Image image = renderer.makeImage(&error);
        if (!image) {
            HostError::throwStep(error);
        }
        return image;
    }
    const PageHost::Row row = ViewFinder(host).row(arguments[2]);
    host.window()->layoutIfNeeded();
    // The row's frame, as far as it lies in the window.
    const CGRect cell = row.cell->convertRectToView(row.cell->bounds(), nullptr);
    const CGRect window = host.window()->bounds();
    const CGFloat left = std::max(CGRectGetMinX(cell), CGRectGetMinX(window));
    const CGFloat top = std::max(CGRectGetMinY(cell), CGRectGetMinY(window));
    const CGRect frame =
        CGRectMake(left, top, std::min(CGRectGetMaxX(cell), CGRectGetMaxX(window)) - left,
                   std::min(CGRectGetMaxY(cell), CGRectGetMaxY(window)) - top);
    const int width = static_cast<int>(std::ceil(frame.size.width * _scale - 1e-9));
    const int height = static_cast<int>(std::ceil(frame.size.height * _scale - 1e-9));
    if (width <= 0 || height <= 0) {
        HostError::throwStep(ViewFinder::describeRow(row) + " has no area in the window to draw");
    }
    PictureComparison::Image image(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height),
                                   &cairo_surface_destroy);
    cairo_t* cairo = cairo_create(image.get());
    renderer.drawRegion(cairo, frame);
    cairo_destroy(cairo);
    cairo_surface_flush(image.get());
    return image;
}

void ReferencePictures::write(const std::string& path, const std::string& bytes) const {
    // A temporary file renamed over the old one: a reader sees the old
    // picture or the new, and a link in its place is replaced, not followed.
    std::error_code ignored;
    std::filesystem::create_directories(_folder, ignored);
    std::string temporary = path + ".XXXXXX";
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        HostError::throwStep("cannot write " + path + ": " + std::strerror(errno));
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        done += static_cast<size_t>(count);
    }
    const int cause = done == bytes.size() ? 0 : errno;
    // The file is readable by all, as a file a program writes usually is.
    fchmod(descriptor, 0644);
    if (close(descriptor) != 0 || cause != 0 || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int reason = cause ? cause : errno;
        std::filesystem::remove(temporary, ignored);
        HostError::throwStep("cannot write " + path + ": " + std::strerror(reason));
    }
}

void ReferencePictures::removeStale(const std::string& stem) const {
    std::error_code ignored;
    std::filesystem::remove(stem + ".actual.png", ignored);
    std::filesystem::remove(stem + ".diff.png", ignored);
}

std::string ReferencePictures::stem(const std::string& name) const {
    return _folder + "/" + name + (_variant.empty() ? "" : "." + _variant);
}

std::string ReferencePictures::picture(PageHost& host,
                                       const std::vector<std::string>& arguments) const {
    if (arguments.size() != 1 && (arguments.size() != 3 || arguments[1] != "row")) {
        HostError::throwStep(
            "expect image is written expect image NAME or expect image NAME row ROW");
    }
    const std::string& name = arguments[0];
    if (name.empty() || name.size() > kMaximumNameLength ||
        !std::all_of(name.begin(), name.end(), isNameCharacter)) {
        HostError::throwStep("a picture's name is up to 100 letters, digits, - and _, not " +
                             HostError::quoted(name));
    }
    PictureComparison::Image image = draw(host, arguments);
    std::string error;
    std::string bytes = PNGCodec::encode(image.get(), &error);
    if (bytes.empty()) {
        HostError::throwStep(error);
    }
    return bytes;
}

std::string ReferencePictures::record(const std::string& name, const std::string& bytes) const {
    const std::string path = stem(name) + ".png";
    write(path, bytes);
    removeStale(stem(name));
    return path;
}

void ReferencePictures::expect(PageHost& host, const std::vector<std::string>& arguments) {
    const std::string bytes = picture(host, arguments);
    const std::string& name = arguments[0];
    const std::string stem = this->stem(name);
    const std::string path = stem + ".png";
    const std::optional<std::string> reference = readReference(path);
    if (!reference) {
        if (_policy.update == Update::None) {
            HostError::throwStep(
                "there is no reference picture " + path +
                " (--update-snapshots missing records it; with --ci or CI=true a missing "
                "picture fails)");
        }
        write(path, bytes);
        _written.push_back("recorded " + path);
        return;
    }
    if (*reference == bytes) {
        removeStale(stem);
        return;
    }
    if (_policy.update == Update::All) {
        write(path, bytes);
        removeStale(stem);
        _written.push_back("updated " + path);
        return;
    }
    // The drawn picture as it reads back from its file, so that both sides
    // went through the same encoding.
    std::string error;
    PictureComparison::Image actual = PNGCodec::decode(bytes);
    PictureComparison::Image stored = PNGCodec::decode(*reference, &error);
    std::string difference;
    if (!stored) {
        difference = "the reference picture " + path + " cannot be read: " + error +
                     "; the picture drawn is in " + stem + ".actual.png";
    } else {
        PictureComparison comparison(stored.get(), actual.get(), _policy.threshold);
        if (comparison.changedPixels() <= _policy.maxDiffPixels) {
            removeStale(stem);
            return;
        }
        if (_policy.update != Update::Changed) {
            write(stem + ".actual.png", bytes);
            PictureComparison::Image diff = comparison.diffImage();
            if (diff) {
                write(stem + ".diff.png", PNGCodec::encode(diff.get()));
            }
        }
        const auto size = [](cairo_surface_t* picture) {
            return std::to_string(cairo_image_surface_get_width(picture)) + " by " +
                   std::to_string(cairo_image_surface_get_height(picture));
        };
        difference =
            "the picture " + HostError::quoted(name) + " differs from " + path + " in " +
            std::to_string(comparison.changedPixels()) + " pixels" +
            (_policy.maxDiffPixels ? " (" + std::to_string(_policy.maxDiffPixels) + " allowed)"
                                   : "") +
            (comparison.sameSize() ? ""
                                   : "; it is " + size(actual.get()) + " pixels, the reference " +
                                         size(stored.get())) +
            "; see " + stem + ".actual.png and " + stem + ".diff.png";
    }
    if (_policy.update == Update::Changed) {
        write(path, bytes);
        removeStale(stem);
        _written.push_back("updated " + path);
        return;
    }
    if (!stored) {
        write(stem + ".actual.png", bytes);
    }
    HostError::throwStep(difference);
}
