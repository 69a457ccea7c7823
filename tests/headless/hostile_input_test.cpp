// The commands as a hostile or careless user meets them: huge numbers, outputs
// that name an input or something that is no regular file, endless inputs, a disk
// that fills, empty option values.
#include "headless/practice_render.h"
#include "headless/script_parser.h"
#include "headless/script_runner.h"
#include "headless/voices_command.h"
#include "learning/learning_record.h"
#include "practice/clock.h"
#include "support/record_folders.h"
#include "support/run_tessaly.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using Outcome = testing::ProgramRun;
using testing::ProgramOutput;

const std::string kRow = "1,BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2,,B A 4 X Y\r\n";
const std::string kCsv = "number,answer,expected,mark,date,time,words,speed,noise,conditions,read\r\n" + kRow;

// A command as main() runs it, its output caught.
Outcome command(const std::function<int(const std::vector<std::string>&)>& main, const std::vector<std::string>& args) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    Outcome r;
    r.status = main(args);
    r.out = ::testing::internal::GetCapturedStdout();
    r.err = ::testing::internal::GetCapturedStderr();
    return r;
}

// The program itself, for the commands that live in it alone (stats).
Outcome tessaly(const std::vector<std::string>& args, ProgramOutput output = ProgramOutput::caught,
                const std::string* input = nullptr) {
    return testing::runTessaly(args, output, input);
}

Outcome statsCommand(std::vector<std::string> args) {
    args.insert(args.begin(), "stats");
    return tessaly(args);
}

Outcome script(const std::string& text, ScriptOptions o = {}) {
    o.seed = 3;
    if (o.scriptPath.empty()) o.scriptPath = "test.script";
    std::istringstream in(text);
    std::ostringstream out, err;
    const int status = runScript(o, in, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> messageBoxes(const std::string& jsonLines) {
    std::vector<std::string> texts;
    std::istringstream lines(jsonLines);
    for (std::string line; std::getline(lines, line);)
        if (const Json j = Json::parse(line); j.value("event", "") == "msgbox") texts.push_back(j["text"]);
    return texts;
}

class HostileInput : public ::testing::Test {
protected:
    std::string at(const std::string& name) const { return scratch / name; }
    std::size_t entries() const { return scratch.entries(); }
    ScratchFolder scratch;
    const fs::path dir{scratch.path()};
};

// Any length of number in one pass: huge ones count as above 500, notation that
// is not plain decimal is no number, and nothing crashes.
TEST(GroupCount, ReadsNumbersOfAnyLengthAndRefusesHugeOnes) {
    struct Case {
        std::string text;
        const char* box;  // "" when the count is taken
    } cases[] = {
        {std::string(30000, '1'), "练习组数不要大于500组!"},
        {std::string(30000, '0'), ""},
        {"0." + std::string(30000, '0') + "1", ""},
        {"1e400", "练习组数不要大于500组!"},
        {"-1e400", "练习组数不要大于500组!"},
        {" +12.5e1 ", ""},
        {"500.4", ""},
        {"501", "练习组数不要大于500组!"},
        {".5", ""},
        {"5.", ""},
        {"0x10", "练习组数必须为数字!"},
        {"$5", "练习组数必须为数字!"},
        {"1,000", "练习组数必须为数字!"},
        {"1e", "练习组数必须为数字!"},
        {".", "练习组数必须为数字!"},
        {"", "练习组数必须为数字!"},
        {"inf", "练习组数必须为数字!"},
        {"nan", "练习组数必须为数字!"},
        {std::string(30000, '-'), "练习组数必须为数字!"},
    };
    for (const Case& c : cases) {
        const Outcome r = script("settext Text2 \"" + c.text + "\"\n");
        ASSERT_EQ(r.status, 0) << r.err;
        const auto boxes = messageBoxes(r.out);
        if (*c.box == '\0') EXPECT_TRUE(boxes.empty()) << c.text.substr(0, 20);
        else EXPECT_EQ(boxes, std::vector<std::string>{c.box}) << c.text.substr(0, 20);
    }
    EXPECT_EQ(parseNumber(std::string(30000, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(parseNumber(" 2.5e1\t"), 25.0);
    EXPECT_FALSE(parseNumber("1 2"));
}

// No command writes over its own input, over another of its outputs, into a voice
// pack it reads, or over the learner's record or its settings (whether the record
// is on or not); each says which names collide.
TEST_F(HostileInput, NoOutputReplacesAnInputOrAnotherOutput) {
    const testing::RecordFolders folders;
    fs::create_directories(fs::path(folders.record()).parent_path());
    fs::create_directories(fs::path(folders.settings()).parent_path());
    std::ofstream(folders.record()) << kCsv;
    std::ofstream(folders.settings()) << "{\"record\": false}\n";
    const std::string scriptFile = at("s.txt"), csv = at("in.csv"), pack = at("pack");
    std::ofstream(scriptFile) << "click Command4\nwait 100\n";
    std::ofstream(csv) << kCsv;
    fs::create_directory(pack);
    std::ofstream(pack + "/301.wav") << "not a recording, but the pack's";
    fs::create_symlink("s.txt", at("s.link"));
    fs::create_hard_link(csv, at("hard.csv"));
    const auto renderRun = [](std::vector<std::string> args) {
        args.insert(args.end(), {"--groups", "1", "--answer-pause", "0"});
        return command(renderCommand, args);
    };
    struct Case {
        const char* what;
        std::function<Outcome()> run;
        const char* said;
    } cases[] = {
        {"script --wav the script", [&] { return command(scriptCommand, {scriptFile, "--wav", scriptFile}); }, "the script itself"},
        {"script --wav another spelling", [&] { return command(scriptCommand, {at("s.link"), "--wav", dir.string() + "/./s.txt"}); },
         "the script itself"},
        {"script --wav a pack file",
         [&] { return command(scriptCommand, {scriptFile, "--voices", pack, "--wav", pack + "/301.wav"}); }, "voice pack"},
        {"export the script",
         [&] {
             std::ofstream(at("e.txt")) << "export \"" << at("e.txt") << "\"\n";
             return command(scriptCommand, {at("e.txt")});
         },
         "line 1: export names the script itself"},
        {"export the WAV",
         [&] {
             std::ofstream(at("w.txt")) << "wait 10\nexport \"" << at("w.wav") << "\"\n";
             return command(scriptCommand, {at("w.txt"), "--wav", at("w.wav")});
         },
         "line 2: export names the file --wav writes"},
        {"render into the pack", [&] { return renderRun({"--voices", pack, "--out", pack + "/301.wav"}); }, "voice pack"},
        {"render key into the pack", [&] { return renderRun({"--voices", pack, "--out", at("p.wav"), "--key", pack + "/./301.wav"}); },
         "voice pack"},
        {"stats --png the CSV", [&] { return statsCommand({csv, "--png", csv}); }, "results file"},
        {"stats --png a hard link", [&] { return statsCommand({csv, "--png", at("hard.csv")}); }, "results file"},
        {"stats --png the record", [&] { return statsCommand({"--png", folders.record()}); }, "the learning record ("},
        {"stats --png the settings", [&] { return statsCommand({csv, "--png", folders.settings()}); }, "settings file"},
        {"script --wav the record", [&] { return command(scriptCommand, {scriptFile, "--wav", folders.record()}); },
         "the learning record ("},
        {"export the record",
         [&] {
             std::ofstream(at("r.txt")) << "record on\nexport \"" << folders.record() << "\"\n";
             return command(scriptCommand, {at("r.txt")});
         },
         "line 2: export names the learning record ("},
        {"export the settings",
         [&] {
             std::ofstream(at("c.txt")) << "export \"" << folders.config() << "/tessaly/./settings.json\"\n";
             return command(scriptCommand, {at("c.txt")});
         },
         "line 1: export names the learning record's settings file"},
        {"render onto the record", [&] { return renderRun({"--out", folders.record()}); }, "the learning record ("},
    };
    for (const Case& c : cases) {
        const Outcome r = c.run();
        EXPECT_EQ(r.status, 2) << c.what << ": " << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << c.what << ": " << r.err;
    }
    EXPECT_EQ(fileText(scriptFile), "click Command4\nwait 100\n");
    EXPECT_EQ(fileText(csv), kCsv);
    EXPECT_EQ(fileText(pack + "/301.wav"), "not a recording, but the pack's");
    EXPECT_EQ(fileText(folders.record()), kCsv);
    EXPECT_EQ(fileText(folders.settings()), "{\"record\": false}\n");
    EXPECT_FALSE(fs::exists(at("w.wav")));
    EXPECT_FALSE(fs::exists(at("p.wav")));

    // The script read from standard input is the same file as --wav.
    const int saved = ::dup(0);
    const int in = ::open(scriptFile.c_str(), O_RDONLY);
    ::dup2(in, 0);
    const Outcome r = command(scriptCommand, {"-", "--wav", scriptFile});
    ::dup2(saved, 0);
    ::close(in);
    ::close(saved);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(fileText(scriptFile), "click Command4\nwait 100\n");
}

// Every command that writes refuses a target that is no regular file (here a
// FIFO), naming what it is, and leaves it as it was.
TEST_F(HostileInput, NoCommandTurnsAFifoIntoAFile) {
    const std::string fifo = at("fifo"), scriptFile = at("s.txt"), csv = at("in.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::ofstream(scriptFile) << "wait 10\n";
    std::ofstream(csv) << kCsv;
    struct Case {
        const char* what;
        std::function<Outcome()> run;
        int status;
    } cases[] = {
        {"render --out", [&] { return command(renderCommand, {"--groups", "1", "--out", fifo}); }, 1},
        {"render --key", [&] { return command(renderCommand, {"--groups", "1", "--out", at("p.wav"), "--key", fifo}); }, 1},
        {"script --wav", [&] { return command(scriptCommand, {scriptFile, "--wav", fifo}); }, 1},
        {"stats --png", [&] { return statsCommand({csv, "--png", fifo}); }, 1},
    };
    for (const Case& c : cases) {
        const Outcome r = c.run();
        EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
        EXPECT_NE(r.err.find("a FIFO (named pipe), not a regular file"), std::string::npos) << c.what << ": " << r.err;
    }
    // A script's export says so in the window's message box.
    const Outcome r = script("settext Text2 \"1\"\nclick Command4\nwait 12000\ntype Text6 \"X\\r\"\nwait 5000\nexport \"" + fifo + "\"\n");
    const auto boxes = messageBoxes(r.out);
    ASSERT_FALSE(boxes.empty()) << r.out;
    EXPECT_NE(boxes.back().find("not a regular file"), std::string::npos) << boxes.back();
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(entries(), 3u) << "nothing is left behind";

    // Read, a FIFO with nobody writing to it holds nothing up (as the learning record
    // or its settings: learning_record_test.cpp, learning_settings_test.cpp).
    EXPECT_EQ(statsCommand({fifo}).status, 2);
}

// Endless or oversized inputs end at once with the line they got to.
TEST_F(HostileInput, ReadersStopAtTheirBounds) {
    std::ofstream(at("long.txt")) << "wait 1\n" << std::string(70000, 'x') << "\n";
    std::ofstream(at("nul.txt")) << "click Comm\x01" "and4\nwait 1 \x1b[2J\n";
    std::ofstream(at("blank.csv")) << kCsv << "\r\n\r\n";
    std::ofstream(at("big.csv")) << kCsv << "2," << std::string(20000, 'A') << ",x,N,2024-05-01,10:00:00,standard,5,S2,,B\r\n";
    struct Case {
        const char* what;
        std::function<Outcome()> run;
        int status;
        const char* said;
    } cases[] = {
        {"script /dev/zero", [] { return command(scriptCommand, {"/dev/zero"}); }, 2, "line 1: the line is longer than 65536 bytes"},
        {"script long line", [&] { return command(scriptCommand, {at("long.txt")}); }, 2, "line 2: the line is longer"},
        {"script endless lines", [] { return script(std::string(17 << 20, '\n')); }, 2, "goes on past 16 MiB"},
        {"script control bytes", [&] { return command(scriptCommand, {at("nul.txt")}); }, 2, "Comm\\x01and4"},
        {"stats /dev/zero", [] { return statsCommand({"/dev/zero"}); }, 2, "goes on past 64 MiB"},
        {"stats missing", [&] { return statsCommand({at("missing.csv")}); }, 2, "No such file or directory"},
        {"stats huge answer", [&] { return statsCommand({at("big.csv")}); }, 2, "line 3: answer is longer than 200"},
        {"stats blank end", [&] { return statsCommand({at("blank.csv")}); }, 0, ""},
    };
    for (const Case& c : cases) {
        const Outcome r = c.run();
        EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << c.what << ": " << r.err;
        EXPECT_EQ(r.err.find('\x01'), std::string::npos) << c.what;
        EXPECT_EQ(r.err.find('\0'), std::string::npos) << c.what;
    }
}

// An over-long line of an interactive run is one error, and none of it runs: not
// its tail, not the byte at the bound.
TEST(InteractiveScript, AnOverLongLineIsSkippedWhole) {
    const std::string longLine(kLongestScriptLine, '#');
    const std::pair<std::string, std::string> cases[] = {
        // input, and the events it gives
        {longLine + " record delete\ndump\n", "error(1) dump "},
        {longLine + "dump\nwait 1\n", "error(1) "},
        {longLine + "click Command4\n", "error(1) "},
        {"dump" + std::string(kLongestScriptLine - 4, ' ') + "\n", "dump "},
    };
    for (const auto& [input, expected] : cases) {
        ScriptOptions o;
        o.interactive = true;
        const Outcome r = script(input, o);
        std::string events;
        std::istringstream lines(r.out);
        for (std::string line; std::getline(lines, line);) {
            const Json j = Json::parse(line);
            events += j.contains("dump") ? "dump " : j.value("event", "") + "(" + j.value("line", Json(0)).dump() + ") ";
        }
        EXPECT_EQ(events, expected) << input.substr(kLongestScriptLine - 10);
    }
}

// A write to standard output that fails fails the command, with the reason; a run
// whose output nobody reads stops at once, with nothing recorded.
TEST_F(HostileInput, AnOutputThatCannotBeWrittenFailsTheCommand) {
    const testing::RecordFolders folders;
    std::ofstream(at("s.txt")) << "click Command4\nwait 5000\n";
    std::ofstream(at("in.csv")) << kCsv;
    fs::create_directory(at("pack"));
    const std::string interactive = "record on\n" + [] {
        std::string practices;
        for (int i = 0; i < 50; ++i) practices += "settext Text2 \"1\"\nclick Command4\nwait 12000\ntype Text6 \"X\\r\"\n";
        return practices;
    }();
    struct Case { std::vector<std::string> args; ProgramOutput output; const std::string* input = nullptr; } cases[] = {
        {{"script", at("s.txt")}, ProgramOutput::full},
        {{"script", at("s.txt")}, ProgramOutput::unread},
        {{"script", "-", "--interactive"}, ProgramOutput::unread, &interactive},
        {{"stats", at("in.csv"), "--json"}, ProgramOutput::full},
        {{"stats", at("in.csv")}, ProgramOutput::unread},
        {{"voices", at("pack")}, ProgramOutput::full},
        {{"render", "--groups", "1", "--out", at("p.wav")}, ProgramOutput::full},
        {{"--help"}, ProgramOutput::full},
    };
    for (const Case& c : cases) {
        const Outcome r = tessaly(c.args, c.output, c.input);
        EXPECT_EQ(r.status, 1) << ::testing::PrintToString(c.args) << ": " << r.err;
        EXPECT_NE(r.err.find("cannot write the output"), std::string::npos) << ::testing::PrintToString(c.args) << ": " << r.err;
    }
    EXPECT_FALSE(fs::exists(folders.record())) << "the interactive run stopped before its first practice";
}

TEST_F(HostileInput, StatsCountsAFileOnceHoweverItIsNamed) {
    std::ofstream(at("a.csv")) << kCsv;
    fs::create_symlink("a.csv", at("b.csv"));
    const Outcome once = statsCommand({at("a.csv")});
    const Outcome thrice = statsCommand({at("a.csv"), at("b.csv"), dir.string() + "/./a.csv"});
    ASSERT_EQ(thrice.status, 0) << thrice.err;
    EXPECT_EQ(thrice.out, once.out);
    EXPECT_NE(thrice.err.find("counted once"), std::string::npos);
}

TEST(CommandLines, RefuseEmptyNamesAndShowTheirHelp) {
    const std::vector<std::vector<std::string>> empty = {
        {"render", "--out", "p.wav", "--key", ""}, {"render", "--out", "p.wav", "--voices", ""},
        {"render", "--out", ""},                   {"script", "s.txt", "--wav", ""},
        {"script", "s.txt", "--voices", ""},       {"stats", "in.csv", "--png", ""},
    };
    for (const auto& args : empty) {
        const Outcome r = tessaly(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(r.err.find("not \"\""), std::string::npos) << r.err;
    }
    EXPECT_EQ(tessaly({"--voices", ""}).status, 2);
    const Outcome help = command(voicesCommand, {"--help"});
    EXPECT_NE(help.out.find("  --help  this text\n"), std::string::npos) << help.out;
}

// The output's file system or the process's file-size limit cannot take it:
// refused before rendering when that is known, stopped at the first failed write
// when it shows only then; the file that was there stays, nothing is left beside it.
TEST_F(HostileInput, AnOutputThatCannotFitIsRefusedOrStopped) {
    const std::string out = at("p.wav");
    std::ofstream(at("year.txt")) << "click Command4\nwait 31622400000\n";
    const Outcome year = command(scriptCommand, {at("year.txt"), "--wav", out});
    EXPECT_EQ(year.status, 1);
    EXPECT_NE(year.err.find("longer than a WAV output may be (100 hours)"), std::string::npos) << year.err;

    const std::vector<std::string> args = {"--groups", "3", "--seed", "4", "--answer-pause", "1", "--out", out};
    ASSERT_EQ(command(renderCommand, args).status, 0);
    const auto size = fs::file_size(out);
    std::ofstream(out) << "the old practice";
    // In a child, so that the file-size limit stays there: what it printed, and its status.
    const auto underLimit = [](rlim_t limit, const std::function<Outcome()>& run) {
        int pipeFd[2];
        EXPECT_EQ(::pipe(pipeFd), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            const rlimit fileSize{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &fileSize);
            ::signal(SIGXFSZ, SIG_IGN);
            const Outcome r = run();
            (void)!::write(pipeFd[1], (r.out + r.err).data(), r.out.size() + r.err.size());
            ::_exit(r.status);
        }
        ::close(pipeFd[1]);
        Outcome r;
        char buffer[4096];
        for (ssize_t n; (n = ::read(pipeFd[0], buffer, sizeof buffer)) > 0;) r.out.append(buffer, static_cast<std::size_t>(n));
        ::close(pipeFd[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return r;
    };
    // Below the least the practice needs, then just below what it takes.
    for (const rlim_t limit : {rlim_t{100000}, static_cast<rlim_t>(size - 20000)}) {
        const Outcome r = underLimit(limit, [&] { return command(renderCommand, args); });
        EXPECT_EQ(r.status, 1) << limit << ": " << r.out;
        EXPECT_NE(r.out.find("ulimit -f"), std::string::npos) << r.out;
        EXPECT_EQ(fileText(out), "the old practice");
        EXPECT_EQ(entries(), 2u) << "no temporary file is left";
    }
    // An interactive run stops at its first failed write, with an error event.
    std::string practices;
    for (int i = 0; i < 20; ++i) practices += "click Command4\nwait 10000\nclick Command5\n";
    ScriptOptions interactive;
    interactive.interactive = true;
    interactive.scriptPath = "-";
    interactive.wavPath = out;
    const Outcome r = underLimit(200000, [&] { return script(practices + "dump\n", interactive); });
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("\"event\":\"error\",\"line\":2,\"message\":\"the sound could not be written"), std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("\"dump\""), std::string::npos) << "nothing after it runs";
    EXPECT_EQ(fileText(out), "the old practice");
}

}  // namespace
}  // namespace tessaly
