#include "tools/capture/GoldenFrames.h"

#include <cstdio>
#include <filesystem>

#include "platform/os/AssertionCapture.h"
#include "tools/capture/CaptureSession.h"
#include "tools/capture/PngFile.h"

namespace golden {
namespace {

namespace fs = std::filesystem;

CaptureSession::Setup smallSetup() {
    CaptureSession::Setup setup;
    setup.width = kWidth;
    setup.height = kHeight;
    return setup;
}

bool compareOne(const Image& actual, const std::string& folder, const std::string& outFolder,
                const std::string& name, const GoldenTolerance& tolerance) {
    const std::optional<Image> expected = png::read((fs::path(folder) / name).string());
    if (!expected) {
        std::fprintf(stderr, "%s: no golden picture in %s\n", name.c_str(), folder.c_str());
    }
    const ImageDifference difference =
        expected ? ImageDifference::between(*expected, actual, tolerance.pixelThreshold)
                 : ImageDifference{};
    const bool passed = difference.within(tolerance);
    std::fprintf(stderr, "%-16s %s  %s\n", name.c_str(), passed ? "ok    " : "FAILED",
                 expected ? difference.describe().c_str() : "missing");
    if (!passed) {
        const fs::path stem = fs::path(outFolder) / fs::path(name).stem();
        png::write(stem.string() + "-actual.png", actual);
        if (difference.sameSize) {
            png::write(stem.string() + "-diff.png", difference.picture);
        }
    }
    return passed;
}

}  // namespace

std::vector<Rational> keyTimes() {
    std::vector<Rational> times;
    for (const char* text : {"1", "10", "28", "40", "53.8", "54.2", "56", "62", "69.6", "70.2",
                             "75", "90", "100", "112", "116", "120", "123.5"}) {
        times.push_back(*parseRational(text));
    }
    return times;
}

std::string fileName(Rational seconds) {
    std::string decimal = seconds.toDecimal(3);
    const std::size_t whole = decimal.find('.');
    decimal.insert(0, whole < 3 ? 3 - whole : 0, '0');
    return "t_" + decimal + ".png";
}

int check(const std::string& folder, const std::string& outFolder,
          const GoldenTolerance& tolerance) {
    std::error_code error;
    fs::create_directories(outFolder, error);
    os::AssertionCapture reports;
    CaptureSession session(smallSetup());
    if (!session.start()) {
        std::fprintf(stderr, "capture: %s\n", session.error().c_str());
        return 1;
    }
    int failed = 0;
    for (const Rational& time : keyTimes()) {
        if (!session.render(time)) {
            std::fprintf(stderr, "capture: %s\n", session.error().c_str());
            return 1;
        }
        failed += compareOne(session.grabber().rgb(), folder, outFolder, fileName(time), tolerance)
                      ? 0
                      : 1;
    }
    if (reports.count() > 0) {
        std::fprintf(stderr, "%zu failure reports while rendering\n", reports.count());
        ++failed;
    }
    if (failed > 0) {
        std::fprintf(stderr,
                     "%d golden frames differ; pictures in %s. After an intended change run "
                     "tools/capture/regenerate_golden.sh\n",
                     failed, outFolder.c_str());
    }
    return failed == 0 ? 0 : 1;
}

int update(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    CaptureSession session(smallSetup());
    if (!session.start()) {
        std::fprintf(stderr, "capture: %s\n", session.error().c_str());
        return 1;
    }
    for (const Rational& time : keyTimes()) {
        const std::string path = (fs::path(folder) / fileName(time)).string();
        if (!session.render(time) || !png::write(path, session.grabber().rgb())) {
            std::fprintf(stderr, "capture: cannot make %s: %s\n", path.c_str(),
                         session.error().c_str());
            return 1;
        }
    }
    std::fprintf(stderr, "wrote %zu golden frames into %s\n", keyTimes().size(), folder.c_str());
    return 0;
}

}  // namespace golden
