#include "tools/capture/VideoEncoder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/sound/WavWriter.h"

extern char** environ;

namespace {

std::string systemError(const std::string& what, int code) {
    return what + ": " + std::strerror(code);
}

constexpr int kTrialSampleRate = 44100;

bool isExecutable(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

VideoEncoder::~VideoEncoder() {
    if (input_ >= 0) {
        close(input_);
    }
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

std::vector<std::string> VideoEncoder::commandLine(const Settings& s) {
    const std::string size = std::to_string(s.width) + "x" + std::to_string(s.height);
    const std::string rate = std::to_string(s.fps.num) + "/" + std::to_string(s.fps.den);
    std::vector<std::string> args{s.ffmpeg, "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
                                  // Input 0: the frames, exactly one per frame time.
                                  "-f", "rawvideo", "-pix_fmt",
                                  s.format.deep() ? "rgb48le" : "bgr0", "-video_size", size,
                                  "-framerate", rate, "-i", "pipe:0",
                                  // Input 1: the music over the same span.
                                  "-i", s.audioWav, "-map", "0:v:0", "-map", "1:a:0"};
    const std::vector<std::string> format = s.format.ffmpegArguments(s.container);
    args.insert(args.end(), format.begin(), format.end());
    // An interrupted capture ends the file with its last frame.
    args.insert(args.end(), {"-shortest", s.output});
    return args;
}

bool VideoEncoder::tryOut(const Settings& settings, std::string* error) {
    Settings trial = settings;
    // A hidden name of the same kind beside the output: ".show.trial.mkv".
    const std::filesystem::path output(settings.output);
    std::string name(1, '.');
    name += output.stem().string();
    name += ".trial";
    name += output.extension().string();
    trial.output = (output.parent_path() / name).string();
    const std::size_t frameBytes =
        std::size_t(settings.width) * settings.height * (settings.format.deep() ? 6 : 4);
    trial.audioWav = trial.output + ".wav";
    const std::vector<float> silence(std::size_t(kTrialSampleRate) / 10 * 2, 0.0f);
    VideoEncoder encoder;
    const std::vector<std::uint8_t> black(frameBytes, 0);
    const bool made = sound::WavWriter::write(trial.audioWav, silence, 2, kTrialSampleRate) &&
                      encoder.start(trial, error) && encoder.writeFrame(black, error) &&
                      encoder.finish(error);
    std::error_code ignored;
    std::filesystem::remove(trial.output, ignored);
    std::filesystem::remove(trial.audioWav, ignored);
    if (!made) {
        *error = "ffmpeg refused a trial frame of this video: " + *error;
    }
    return made;
}

std::string VideoEncoder::findExecutable(const std::string& command) {
    if (command.find('/') != std::string::npos) {
        return isExecutable(command) ? command : std::string();
    }
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : "/usr/bin:/bin";
    while (!dirs.empty()) {
        const auto colon = dirs.find(':');
        const std::filesystem::path candidate =
            std::filesystem::path(dirs.substr(0, colon)) / command;
        if (isExecutable(candidate)) {
            return candidate.string();
        }
        dirs.remove_prefix(colon == std::string_view::npos ? dirs.size() : colon + 1);
    }
    return {};
}

bool VideoEncoder::start(const Settings& settings, std::string* error) {
    const std::string program = findExecutable(settings.ffmpeg);
    if (program.empty()) {
        *error = "cannot find ffmpeg ('" + settings.ffmpeg +
                 "'): install it (apt-get install ffmpeg) or name it with --ffmpeg";
        return false;
    }
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        *error = systemError("cannot make a pipe to ffmpeg", errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    posix_spawnattr_setsigdefault(&attributes, &defaults);

    std::vector<std::string> args = commandLine(settings);
    args[0] = program;
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const int spawned =
        posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(pipeEnds[0]);
    if (spawned != 0) {
        close(pipeEnds[1]);
        pid_ = -1;
        *error = systemError("cannot start " + program, spawned);
        return false;
    }
    input_ = pipeEnds[1];
    return true;
}

bool VideoEncoder::writeFrame(std::span<const std::uint8_t> pixels, std::string* error) {
    const std::uint8_t* data = pixels.data();
    std::size_t left = pixels.size();
    while (left > 0) {
        const ssize_t written = write(input_, data, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            *error = errno == EPIPE ? std::string("ffmpeg stopped taking frames (see its message)")
                                    : systemError("writing a frame to ffmpeg", errno);
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

bool VideoEncoder::finish(std::string* error) {
    if (input_ >= 0) {
        close(input_);
        input_ = -1;
    }
    if (pid_ <= 0) {
        return true;
    }
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        return true;
    }
    *error = WIFEXITED(status) ? "ffmpeg failed with exit code " +
                                     std::to_string(WEXITSTATUS(status)) + " (see its message)"
                               : "ffmpeg ended by signal " + std::to_string(WTERMSIG(status));
    return false;
}
