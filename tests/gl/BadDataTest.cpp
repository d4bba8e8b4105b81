// The real program offscreen on a copy of its data directory in which one file is missing, cut to
// half its length or replaced by garbage. Each case runs in a fresh process (the data file cache
// and the graphics context live for the whole process), which also turns a crash into a failed
// case instead of a lost test run. The child prints one summary line; the parent judges it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "demo/DemoDriver.h"
#include "gfx/GraphicsContext.h"
#include "platform/os/AssertionCapture.h"
#include "platform/os/MessageBoxCapture.h"
#include "platform/os/QuitRequest.h"
#include "tools/capture/CaptureSession.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 320;
constexpr int kHeight = 180;
// The letterbox rule gives 320 x 179 at the top of a 320 x 180 buffer.
constexpr int kPictureRows = 179;
// Moments in the intro, the tube, the model and the text parts, before the final fade.
constexpr std::uint32_t kMomentsMs[] = {10000, 60000, 90000, 115000};
constexpr int kMoments = static_cast<int>(std::size(kMomentsMs));

enum class Damage { missing, truncated, garbage };

// What a case must show besides "no crash, orderly shutdown".
enum class Expect {
    // The image or model is reported only when missing; the show renders every moment.
    quietLoss,
    // An effect file: the effect creation report whenever the effect cannot be made.
    effectReport,
    // The model: the importer names the file and its problem; the show goes on without it.
    modelReport,
    // The music: either the show runs, or the start-up report and an orderly end.
    orderlyMusic,
};

struct Case {
    const char* file;
    Damage damage;
    Expect expect;
};

struct ManualClock final : IMusicClock {
    std::uint32_t ms = 0;
    std::optional<std::uint32_t> positionMs() override { return ms; }
    bool fetchSpectrum(float*, int) override { return false; }
};

std::string damageName(Damage damage) {
    switch (damage) {
        case Damage::missing:
            return "missing";
        case Damage::truncated:
            return "truncated";
        case Damage::garbage:
            return "garbage";
    }
    return "?";
}

std::vector<char> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void damageFile(const fs::path& path, Damage damage) {
    std::vector<char> bytes = readBytes(path);
    switch (damage) {
        case Damage::missing:
            fs::remove(path);
            return;
        case Damage::truncated:
            bytes.resize(bytes.size() / 2);
            break;
        case Damage::garbage: {
            std::mt19937 random(1234);
            for (char& b : bytes) {
                b = static_cast<char>(random());
            }
            break;
        }
    }
    writeBytes(path, bytes);
}

// A copy of the build's data directory (the working directory's data/) under a fresh temporary
// directory, with the one file damaged.
fs::path damagedDataCopy(const Case& c) {
    std::string pattern = (fs::temp_directory_path() / "kelvo-baddata-XXXXXX").string();
    const fs::path root = mkdtemp(pattern.data());
    fs::create_directory(root / "data");
    for (const auto& entry : fs::directory_iterator("data")) {
        if (entry.is_regular_file()) {
            fs::copy_file(entry.path(), root / "data" / entry.path().filename());
        }
    }
    damageFile(root / "data" / c.file, c.damage);
    return root;
}

// Largest channel sum in the picture area of the back buffer, read back the Direct3D way.
int brightestPicturePixel() {
    IDirect3DDevice9* device = kelvo::GraphicsContext::instance().device;
    IDirect3DSurface9 *back = nullptr, *copy = nullptr;
    if (device == nullptr ||
        device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back) != D3D_OK) {
        return -1;
    }
    int best = -1;
    D3DLOCKED_RECT locked{};
    if (device->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                            &copy, nullptr) == D3D_OK &&
        device->GetRenderTargetData(back, copy) == D3D_OK &&
        copy->LockRect(&locked, nullptr, D3DLOCK_READONLY) == D3D_OK) {
        for (int y = 0; y < kPictureRows; ++y) {
            const auto* row = reinterpret_cast<const D3DCOLOR*>(
                static_cast<const std::uint8_t*>(locked.pBits) + std::size_t(y) * locked.Pitch);
            for (int x = 0; x < kWidth; ++x) {
                const D3DCOLOR p = row[x];
                best = std::max(best, int((p >> 16) & 0xFF) + int((p >> 8) & 0xFF) + int(p & 0xFF));
            }
        }
        copy->UnlockRect();
    }
    if (copy != nullptr) {
        copy->Release();
    }
    back->Release();
    return best;
}

// Runs the program on the damaged copy and prints
// "started=S frames=F lit=L boxes=[caption:text;...] reports=[file:line;...]".
void runShowOnDamagedData(const Case& c) {
    const fs::path root = damagedDataCopy(c);
    fs::current_path(root);
    os::clearQuitRequest();
    os::AssertionCapture reports;
    os::MessageBoxCapture boxes;

    ManualClock clock;
    DemoDriver::Options options;
    options.askUser = false;
    options.config.width = kWidth;
    options.config.height = kHeight;
    // The music cases play the real stream (on the dummy audio driver); the rest run offline.
    if (c.expect != Expect::orderlyMusic) {
        options.clock = &clock;
    }
    DemoDriver driver(options);
    const bool started = driver.startUp();
    int frames = 0;
    int lit = 0;
    if (started) {
        for (const std::uint32_t ms : kMomentsMs) {
            clock.ms = ms;
            driver.frameLoop()->step();
            ++frames;
            lit += brightestPicturePixel() > 30 ? 1 : 0;
        }
    }
    driver.shutDown();

    std::string summary = "started=" + std::to_string(started) +
                          " frames=" + std::to_string(frames) + " lit=" + std::to_string(lit) +
                          " boxes=[";
    for (const auto& box : boxes.records()) {
        summary += box.caption + ":" + box.text + ";";
    }
    summary += "] reports=[";
    for (const auto& report : reports.records()) {
        summary += report.file + ":" + std::to_string(report.line) + ";";
    }
    summary += "]";
    std::fprintf(stderr, "%s\n", summary.c_str());
    std::fflush(stderr);
    fs::remove_all(root);
    std::_Exit(0);
}

class BadDataTest : public ::testing::TestWithParam<Case> {};

TEST_P(BadDataTest, TheProgramReportsTheLossAndEndsOrCarriesOnInOrder) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const Case c = GetParam();
    using ::testing::AllOf;
    using ::testing::AnyOf;
    using ::testing::HasSubstr;
    using ::testing::Not;
    const std::string allFrames = "started=1 frames=" + std::to_string(kMoments);
    const auto missingReport = HasSubstr("error:Couldn't open file!;");
    const auto effectReport = HasSubstr("gfx/EffectHandler:49;");
    const auto anyOtherReport = testing::ContainsRegex("reports=\\[[^]]*[a-zA-Z]");

    switch (c.expect) {
        case Expect::quietLoss: {
            const std::string everyMomentLit = allFrames + " lit=" + std::to_string(kMoments);
            if (c.damage == Damage::missing) {
                EXPECT_EXIT(runShowOnDamagedData(c), testing::ExitedWithCode(0),
                            AllOf(HasSubstr(allFrames), missingReport, Not(anyOtherReport)));
            } else {
                EXPECT_EXIT(
                    runShowOnDamagedData(c), testing::ExitedWithCode(0),
                    AllOf(HasSubstr(everyMomentLit), HasSubstr("boxes=[]"), Not(anyOtherReport)));
            }
            break;
        }
        case Expect::effectReport:
            EXPECT_EXIT(runShowOnDamagedData(c), testing::ExitedWithCode(0),
                        AllOf(HasSubstr(allFrames), effectReport,
                              c.damage == Damage::missing ? HasSubstr("Couldn't open file!")
                                                          : HasSubstr("boxes=[]")));
            break;
        case Expect::modelReport:
            EXPECT_EXIT(runShowOnDamagedData(c), testing::ExitedWithCode(0),
                        AllOf(HasSubstr(allFrames + " lit=" + std::to_string(kMoments)),
                              HasSubstr("boxes=[error:Couldn't read model data\\mekki_rampa.3ds: "),
                              Not(anyOtherReport)));
            break;
        case Expect::orderlyMusic:
            if (c.damage == Damage::missing) {
                EXPECT_EXIT(runShowOnDamagedData(c), testing::ExitedWithCode(0),
                            AllOf(HasSubstr("started=0 frames=0"), missingReport));
            } else {
                EXPECT_EXIT(runShowOnDamagedData(c), testing::ExitedWithCode(0),
                            AnyOf(AllOf(HasSubstr(allFrames), HasSubstr("boxes=[]")),
                                  AllOf(HasSubstr("started=0 frames=0"),
                                        HasSubstr("error:Couldn't decode data/vorx.mp3: "))));
            }
            break;
    }
}

std::vector<Case> everyFileEveryDamage() {
    const struct {
        const char* file;
        Expect expect;
    } files[] = {
        {"vorx.mp3", Expect::orderlyMusic},        {"loading.jpg", Expect::quietLoss},
        {"nieluspace.jpg", Expect::quietLoss},     {"stars.jpg", Expect::quietLoss},
        {"vor2010.png", Expect::quietLoss},        {"text2.jpg", Expect::quietLoss},
        {"text3.jpg", Expect::quietLoss},          {"text4.jpg", Expect::quietLoss},
        {"text5.jpg", Expect::quietLoss},          {"credz.jpg", Expect::quietLoss},
        {"mekki_rampa.3ds", Expect::modelReport},  {"rampa_tx.png", Expect::quietLoss},
        {"SolidObject.fxo", Expect::effectReport}, {"BloomEffect.fxo", Expect::effectReport},
        {"MappedBlur.fxo", Expect::effectReport},  {"textGRR.fxo", Expect::effectReport},
        {"Fade.fxo", Expect::effectReport},        {"zoot.fxo", Expect::effectReport},
        {"tube.fxo", Expect::effectReport},        {"tube2x.fxo", Expect::effectReport},
    };
    std::vector<Case> cases;
    for (const auto& f : files) {
        for (Damage d : {Damage::missing, Damage::truncated, Damage::garbage}) {
            cases.push_back({f.file, d, f.expect});
        }
    }
    return cases;
}

std::string caseName(const testing::TestParamInfo<Case>& info) {
    std::string name = std::string(info.param.file) + "_" + damageName(info.param.damage);
    std::replace_if(
        name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryDataFile, BadDataTest, testing::ValuesIn(everyFileEveryDamage()),
                         caseName);

// Offline runs (capture, benchmarks) decode the music for its spectrum and sound: a damaged
// track either decodes as far as it goes and the frames render, or the run stops at start-up
// with a clear error; never a crash and never a report.
TEST(BadMusicOfflineTest, ADamagedTrackRendersOrStopsWithAClearError) {
    os::AssertionCapture reports;
    os::MessageBoxCapture boxes;
    const fs::path directory = fs::temp_directory_path();
    for (Damage damage : {Damage::missing, Damage::truncated, Damage::garbage}) {
        const fs::path track = directory / ("kelvo-baddata-" + damageName(damage) + ".mp3");
        fs::copy_file("data/vorx.mp3", track, fs::copy_options::overwrite_existing);
        damageFile(track, damage);
        CaptureSession::Setup setup;
        setup.width = kWidth;
        setup.height = kHeight;
        setup.musicFile = track.string();
        CaptureSession session(setup);
        if (session.start()) {
            for (const std::uint32_t ms : kMomentsMs) {
                EXPECT_TRUE(session.render(Rational::reduced(ms, 1000))) << damageName(damage);
            }
        } else {
            // Where capture looks for data is worth saying only when the file was not there.
            EXPECT_EQ(session.error().find("looks for data/") != std::string::npos,
                      damage == Damage::missing)
                << session.error();
        }
        session.shutDown();
        fs::remove(track);
    }
    EXPECT_EQ(reports.count(), 0u);
}

}  // namespace
