// bench: the show's frame cost at three sizes, beside the floor of the same number of plain
// full-screen passes. A benchmark, not a test: it prints figures and judges nothing.
//
// Usage: bench [--seconds S] [--sizes 640x360,1280x720,1920x1080] [--passes] [--stride N]
//        bench --replica [--sizes 640x360,1280x720] [--rounds N]
// --passes adds the GPU time of each pass per frame (see PassClock); it serialises every pass,
// so the frame times of such a run are not the show's. --stride N renders every N-th frame only.
// Each size runs in a child process (bench --one WxH --seconds S); the parent gathers the
// children's "key value" lines into one Markdown table on standard output.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "demo/Main.h"
#include "tools/bench/show/BenchRun.h"
#include "tools/bench/show/ReplicaRun.h"

namespace {

using Results = std::map<std::string, std::string>;

bool parseSize(const std::string& text, int& width, int& height) {
    return std::sscanf(text.c_str(), "%dx%d", &width, &height) == 2 && width >= 16 && height >= 16;
}

Results runChild(const std::string& command) {
    Results results;
    std::FILE* child = popen(command.c_str(), "r");
    if (child == nullptr) {
        return results;
    }
    char line[512];
    while (std::fgets(line, sizeof line, child) != nullptr) {
        std::string text(line);
        text.erase(text.find_last_not_of("\r\n") + 1);
        const auto space = text.find(' ');
        if (space != std::string::npos) {
            results[text.substr(0, space)] = text.substr(space + 1);
        }
    }
    results["exit"] = std::to_string(pclose(child));
    return results;
}

std::string get(const Results& results, const std::string& key) {
    const auto found = results.find(key);
    return found != results.end() ? found->second : "-";
}

std::string ratio(const Results& results, const std::string& show, const std::string& floor) {
    const double a = std::atof(get(results, show).c_str());
    const double b = std::atof(get(results, floor).c_str());
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", b > 0 ? a / b : 0.0);
    return text;
}

void printTable(const std::vector<std::pair<std::string, Results>>& runs) {
    std::printf(
        "| size | frames | frame median / p95 / worst (ms) | engine CPU median / p95 (ms) "
        "| device median (ms) | floor median / p95 (ms) | passes | median / floor | "
        "loading (ms) | peak RSS (MB) | created after frame 2 |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const auto& [size, r] : runs) {
        if (get(r, "exit") != "0") {
            std::printf("| %s | failed (exit %s) |||||||||\n", size.c_str(),
                        get(r, "exit").c_str());
            continue;
        }
        std::printf(
            "| %s | %s | %s / %s / %s | %s / %s | %s | %s / %s | %s | %s | %s | %s | %s |\n",
            size.c_str(), get(r, "frames").c_str(), get(r, "frame_median").c_str(),
            get(r, "frame_p95").c_str(), get(r, "frame_worst").c_str(),
            get(r, "engine_median").c_str(), get(r, "engine_p95").c_str(),
            get(r, "device_median").c_str(), get(r, "floor_median").c_str(),
            get(r, "floor_p95").c_str(), get(r, "passes").c_str(),
            ratio(r, "frame_median", "floor_median").c_str(), get(r, "loading_ms").c_str(),
            get(r, "peak_rss_mb").c_str(), get(r, "created_after_second_frame").c_str());
    }
    if (!runs.empty()) {
        std::printf("\nRenderer: %s\n", get(runs.front().second, "renderer").c_str());
    }
}

// The per-pass lines ("pass.LABEL ms|calls|share") of each size, most expensive first.
void printPasses(const std::vector<std::pair<std::string, Results>>& runs) {
    for (const auto& [size, r] : runs) {
        std::vector<std::pair<double, std::string>> rows;
        for (const auto& [key, value] : r) {
            if (key.rfind("pass.", 0) == 0) {
                std::string cells = value;
                for (auto bar = cells.find('|'); bar != std::string::npos;
                     bar = cells.find('|', bar + 3)) {
                    cells.replace(bar, 1, " | ");
                }
                rows.emplace_back(std::atof(value.c_str()), key.substr(5) + " | " + cells);
            }
        }
        if (rows.empty()) {
            continue;
        }
        std::sort(rows.rbegin(), rows.rend());
        std::printf("\nPasses at %s:\n\n", size.c_str());
        std::printf("| pass | ms / frame | calls / frame | share (%%) |\n|---|---|---|---|\n");
        for (const auto& row : rows) {
            std::printf("| %s |\n", row.second.c_str());
        }
    }
}

std::string benchChild(const std::string& self, const std::string& size, double seconds,
                       bool passes, int stride) {
    return "'" + self + "' --one " + size + " --seconds " + std::to_string(seconds) + " --stride " +
           std::to_string(stride) + (passes ? " --passes" : "");
}

std::string replicaChild(const std::string& self, const std::string& size, bool passes,
                         int rounds) {
    return "'" + self + "' --replica-one " + size + " --rounds " + std::to_string(rounds) +
           (passes ? " --passes" : "");
}

// "device|replica|ratio|p10|p90|samples" as table cells.
std::string replicaCells(const std::string& value) {
    double device = 0, replica = 0, ratio = 0, low = 0, high = 0;
    int samples = 0;
    if (std::sscanf(value.c_str(), "%lf|%lf|%lf|%lf|%lf|%d", &device, &replica, &ratio, &low, &high,
                    &samples) != 6) {
        return "- | - | - | - |";
    }
    char text[160];
    std::snprintf(text, sizeof text, "%.3f | %.3f | %.2f | %.2f to %.2f | %d |", device, replica,
                  ratio, low, high, samples);
    return text;
}

// One table per size: the whole frame (from the plain run), then each pass (from the
// bracketed run), then how far the replica's pixels were from the device's at each time.
void printReplica(const std::string& size, const Results& frames, const Results& passes) {
    std::printf("\nDevice against its raw-OpenGL replica at %s (medians of paired frames):\n\n",
                size.c_str());
    std::printf(
        "| what | device ms | replica ms | device / replica | spread (p10 to p90) | "
        "frames |\n|---|---|---|---|---|---|\n");
    std::printf("| whole frame | %s\n", replicaCells(get(frames, "replica.frame")).c_str());
    std::printf("| floor frame | %s\n", replicaCells(get(frames, "replica.floor")).c_str());
    for (const auto& [key, value] : passes) {
        if (key.rfind("replica.pass.", 0) == 0) {
            std::printf("| %s | %s\n", key.substr(13).c_str(), replicaCells(value).c_str());
        }
    }
    std::printf(
        "\nPixels of the replica's read-back that differ from the device's "
        "(bytes | largest difference):");
    for (const auto& [key, value] : frames) {
        if (key.rfind("replica.agree.", 0) == 0) {
            std::printf(" %s: %s;", key.substr(14).c_str(), value.c_str());
        }
    }
    std::printf("\n");
    for (const Results* r : {&frames, &passes}) {
        if (get(*r, "exit") != "0") {
            std::printf("(a run failed: exit %s)\n", get(*r, "exit").c_str());
        }
    }
}

int usage() {
    std::fprintf(stderr,
                 "usage: bench [--seconds S] [--sizes 640x360,1280x720,1920x1080] [--passes]\n"
                 "             [--stride N]\n"
                 "Renders the show (the first S seconds, default all 126) offscreen at each size\n"
                 "and prints frame, engine and floor times as a Markdown table; --passes adds\n"
                 "the GPU time of each pass (every pass then waits for the last); --stride N\n"
                 "renders every N-th frame only.\n"
                 "       bench --replica [--sizes 640x360,1280x720] [--rounds N]\n"
                 "Renders key frames of the show on the device and on a raw-OpenGL replica of\n"
                 "the same frames, alternating, and prints device time over replica time for\n"
                 "the whole frame and for each pass.\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    double seconds = 126.0;
    std::string sizes = "640x360,1280x720,1920x1080";
    std::string one;
    bool passes = false;
    bool replica = false;
    bool sizesGiven = false;
    int stride = 1;
    int rounds = 8;
    std::string replicaOne;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--passes" || arg == "--replica") {
            (arg == "--passes" ? passes : replica) = true;
            continue;
        }
        if (i + 1 >= argc) {
            return usage();
        }
        const std::string value = argv[++i];
        if (arg == "--seconds") {
            seconds = std::atof(value.c_str());
        } else if (arg == "--sizes") {
            sizes = value;
            sizesGiven = true;
        } else if (arg == "--rounds") {
            rounds = std::atoi(value.c_str());
        } else if (arg == "--replica-one") {
            replicaOne = value;
        } else if (arg == "--stride") {
            stride = std::atoi(value.c_str());
        } else if (arg == "--one") {
            one = value;
        } else {
            return usage();
        }
    }
    if (seconds <= 0.0 || seconds > 126.0 || stride < 1 || rounds < 1) {
        return usage();
    }
    std::error_code error;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
    enterExecutableDirectory();
    if (!one.empty()) {
        BenchRunSettings settings;
        settings.seconds = seconds;
        settings.passes = passes;
        settings.stride = stride;
        return parseSize(one, settings.width, settings.height) ? runBenchSize(settings, stdout)
                                                               : usage();
    }
    if (!replicaOne.empty()) {
        ReplicaRunSettings settings;
        settings.passes = passes;
        settings.rounds = rounds;
        return parseSize(replicaOne, settings.width, settings.height)
                   ? runReplicaSize(settings, stdout)
                   : usage();
    }
    if (replica && !sizesGiven) {
        sizes = "640x360,1280x720";
    }
    std::vector<std::pair<std::string, Results>> runs;
    std::size_t begin = 0;
    while (begin <= sizes.size()) {
        const std::size_t comma = std::min(sizes.find(',', begin), sizes.size());
        const std::string size = sizes.substr(begin, comma - begin);
        int width = 0, height = 0;
        if (!parseSize(size, width, height)) {
            return usage();
        }
        std::fprintf(stderr, "bench: %s ...\n", size.c_str());
        begin = comma + 1;
        if (replica) {
            const Results frames = runChild(replicaChild(self, size, false, rounds));
            printReplica(size, frames, runChild(replicaChild(self, size, true, rounds)));
            continue;
        }
        runs.emplace_back(size, runChild(benchChild(self, size, seconds, passes, stride)));
    }
    if (replica) {
        return 0;
    }
    printTable(runs);
    printPasses(runs);
    return 0;
}
