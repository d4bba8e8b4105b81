// The program's command line: what each option sets, what is refused and with which exit code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo/CommandLine.h"
#include "demo/DemoDriver.h"
#include "demo/Main.h"

namespace {

using Action = CommandLine::Action;

CommandLine parse(std::vector<std::string> args) {
    return parseCommandLine(args);
}

TEST(CommandLine, NoArgumentsAsksTheDialogAsAlways) {
    const CommandLine line = parse({});
    EXPECT_EQ(line.action, Action::run);
    EXPECT_EQ(line.startup, StartupPreset{});
    EXPECT_EQ(line.avOffsetMs, 0);
}

TEST(CommandLine, EachOptionSetsItsValue) {
    const CommandLine line =
        parse({"--windowed", "--mode", "1280x720", "--no-dialog", "--av-offset", "-150"});
    ASSERT_EQ(line.action, Action::run) << line.error;
    EXPECT_EQ(line.startup.fullscreen, false);
    EXPECT_EQ(line.startup.mode, (StartupPreset::Size{1280, 720}));
    EXPECT_FALSE(line.startup.ask);
    EXPECT_EQ(line.avOffsetMs, -150);

    const CommandLine joined = parse({"--fullscreen", "--mode=16x16", "--av-offset=10000"});
    ASSERT_EQ(joined.action, Action::run) << joined.error;
    EXPECT_EQ(joined.startup.fullscreen, true);
    EXPECT_EQ(joined.startup.mode, (StartupPreset::Size{16, 16}));
    EXPECT_TRUE(joined.startup.ask);
    EXPECT_EQ(joined.avOffsetMs, 10000);

    EXPECT_EQ(parse({"--help", "--bogus"}).action, Action::help) << "help reads no further";
    EXPECT_EQ(parse({"-h"}).action, Action::help);
    EXPECT_EQ(parse({"--version"}).action, Action::version);
}

TEST(CommandLine, BadArgumentsAreNamedInOneLine) {
    const struct {
        std::vector<std::string> args;
        std::string named;
    } cases[] = {
        {{"--windowed", "--fullscreen"}, "--windowed and --fullscreen"},
        {{"--mode", "800x600", "--mode=640x360"}, "--mode is given twice"},
        {{"--no-dialog", "--no-dialog"}, "--no-dialog is given twice"},
        {{"--bogus"}, "'--bogus'"},
        {{"-w"}, "'-w'"},
        {{"play"}, "'play'"},
        {{"--windowed=yes"}, "--windowed takes no value"},
        {{"--mode"}, "--mode wants a value"},
        {{"--av-offset"}, "--av-offset wants a value"},
    };
    for (const auto& c : cases) {
        const CommandLine line = parse(c.args);
        EXPECT_EQ(line.action, Action::error) << c.named;
        EXPECT_NE(line.error.find(c.named), std::string::npos) << line.error;
        EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
    }
}

TEST(CommandLine, BadValuesAreRefused) {
    for (const char* mode : {"", "1280", "1280x", "x720", "+1280x720", "1280x-720", "1280x720x2",
                             "1280 x720", "15x720", "1280x16385", "99999999999x720"}) {
        const CommandLine line = parse({"--mode", mode});
        EXPECT_EQ(line.action, Action::error) << mode;
        EXPECT_TRUE(line.error.starts_with("--mode")) << line.error;
    }
    for (const char* offset : {"", "1.5", "abc", "150ms", "10001", "-10001", "--"}) {
        const CommandLine line = parse({"--av-offset", offset});
        EXPECT_EQ(line.action, Action::error) << offset;
        EXPECT_TRUE(line.error.starts_with("--av-offset")) << line.error;
    }
}

TEST(CommandLine, ProgramAnswersHelpAndBadOptionsWithoutStarting) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(runDemo(std::vector<std::string>{"--help"}), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("--av-offset MS"), std::string::npos);

    testing::internal::CaptureStderr();
    EXPECT_EQ(runDemo(std::vector<std::string>{"--mode", "big"}), DemoDriver::kBadOptionsExitCode);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vornasto: --mode wants WIDTHxHEIGHT, such as 1280x720, not 'big'\n");
}

}  // namespace
