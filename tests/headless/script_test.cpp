// The headless host as an outside caller sees it: script in, JSON Lines out.
#include "headless/script_parser.h"
#include "headless/script_runner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

namespace tessaly {
namespace {

using Json = nlohmann::json;

struct ScriptRun {
    int status;
    std::vector<Json> lines;
    std::string err;
};

ScriptRun run(const std::string& script, ScriptOptions options = {}) {
    if (!options.seed) options.seed = 5;
    options.scriptPath = "test.script";
    std::istringstream in(script);
    std::ostringstream out, err;
    ScriptRun r;
    r.status = runScript(options, in, out, err);
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) r.lines.push_back(Json::parse(line));
    r.err = err.str();
    return r;
}

std::vector<Json> events(const ScriptRun& r, const std::string& kind) {
    std::vector<Json> out;
    for (const Json& j : r.lines)
        if (j.value("event", "") == kind) out.push_back(j);
    return out;
}

TEST(ScriptParser, ReadsActionsCommentsAndEscapes) {
    auto a = parseScriptLine(R"(type Text6 "ab\\c\"d\r\b\n" # answer)", 3);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ScriptAction::Kind::Type);
    EXPECT_EQ(a->target, "Text6");
    EXPECT_EQ(a->text, "ab\\c\"d\r\b\n");
    EXPECT_FALSE(parseScriptLine("   # only a comment", 1));
    EXPECT_FALSE(parseScriptLine("", 1));
    EXPECT_EQ(parseScriptLine("click Option7(3)", 1)->target, "Option7(3)");
    EXPECT_EQ(parseScriptLine("type Text2 \"a#b\"", 1)->text, "a#b");
    EXPECT_EQ(parseScriptLine("slide Slider2 -40", 1)->number, -40);
    EXPECT_EQ(parseScriptLine("replay 3", 1)->number, 3);
    EXPECT_EQ(parseScriptLine("drill on", 1)->number, 1);
    EXPECT_EQ(parseScriptLine("drill off", 1)->number, 0);
    EXPECT_EQ(parseScriptLine("export \"my results.csv\"", 1)->text, "my results.csv");
}

TEST(ScriptParser, RejectsBadLinesNamingThem) {
    const char* bad[] = {"jump Text6",        "click",          "type Text6 abc",        "type Text6 \"abc",
                         "type Text6 \"a\\q\"", "wait -5",       "wait soon",             "wait 10 20",
                         "slide Slider1",     "dump now",       "settext Text2 \"1\" x", "wait 99999999999999999999",
                         "replay",            "replay x",       "drill maybe",           "export",
                         "export \"\""};
    for (const char* line : bad) {
        try {
            parseScriptLine(line, 7);
            ADD_FAILURE() << "accepted: " << line;
        } catch (const ScriptError& e) {
            EXPECT_EQ(e.line, 7);
            EXPECT_FALSE(e.message.empty());
        }
    }
}

TEST(ScriptRunner, PrintsClipsMessagesAndTheDumpStampedWithVirtualTime) {
    const ScriptRun r = run(
        "settext Text2 \"x\"\n"
        "settext Text2 \"2\"\n"
        "click Command4\n"
        "wait 1100\n"
        "dump\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto boxes = events(r, "msgbox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], Json::parse(R"({"t":0,"event":"msgbox","title":"错误","text":"练习组数必须为数字!"})"));
    const auto clips = events(r, "clip");
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0]["t"], 1100);
    EXPECT_EQ(clips[0]["volume"], 0);
    EXPECT_EQ(clips[0]["frequency"], 22050);
    const Json& d = r.lines.back()["dump"];
    EXPECT_EQ(r.lines.back()["t"], 1100);
    EXPECT_EQ(d["practising"], true);
    EXPECT_EQ(d["readPos"], 1);
    EXPECT_EQ(d["groupCount"], 2);
    EXPECT_EQ(d["rows"].size(), 2u);
    EXPECT_EQ(d["rows"][1][0], "2");
    EXPECT_EQ(d["label6"], "00:00:01");
    EXPECT_EQ(d["controls"]["Command4"]["enabled"], false);
    EXPECT_EQ(d["controls"]["Option7(4)"]["value"], true);
    EXPECT_EQ(d["controls"]["Check1"]["value"], 0);
    EXPECT_EQ(d["controls"]["Slider2"]["value"], 2500);
    EXPECT_EQ(d["controls"]["Text2"]["text"], "2");
    EXPECT_EQ(d["timers"]["Timer2"], Json::parse(R"({"enabled":true,"interval":1100})"));
    EXPECT_EQ(d["timers"]["Timer3"], Json::parse(R"({"enabled":false,"interval":1000})"));
    EXPECT_EQ(d["timers"].size(), 12u);
}

TEST(ScriptRunner, TraceShowsEverySoundOperationByBufferRole) {
    ScriptOptions o;
    o.trace = true;
    const ScriptRun r = run("click Option4\nclick Command4\nwait 1100\nclick Command5\n", o);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto sound = events(r, "sound");
    auto has = [&](const char* json) {
        const Json want = Json::parse(json);
        return std::any_of(sound.begin(), sound.end(), [&](const Json& j) {
            Json copy = j;
            copy.erase("t");
            return copy == want;
        });
    };
    EXPECT_TRUE(has(R"({"event":"sound","buffer":"noise","op":"create","name":"zaoyin"})"));
    EXPECT_TRUE(has(R"({"event":"sound","buffer":"noise","op":"frequency","value":11025})"));
    EXPECT_TRUE(has(R"({"event":"sound","buffer":"noise","op":"volume","value":-1500})"));
    EXPECT_TRUE(has(R"({"event":"sound","buffer":"noise","op":"play","loop":true})"));
    EXPECT_TRUE(has(R"({"event":"sound","buffer":"clip","op":"eq","center":2500.0,"bandwidth":36.0,"gain":15.0})"));
    EXPECT_TRUE(has(R"({"event":"sound","buffer":"clip","op":"play","loop":false})"));
    EXPECT_TRUE(has(R"({"event":"sound","buffer":"clip","op":"stop"})"));
    EXPECT_TRUE(events(run("click Command4\nwait 1100\n"), "sound").empty()) << "only with --trace";
}

TEST(ScriptRunner, SeedRepeatsARunAndDisabledControlsAreReported) {
    const std::string script = "click Command4\nclick Command4\nwait 9000\ndump\n";
    const ScriptRun a = run(script), b = run(script);
    EXPECT_EQ(a.lines, b.lines);
    const auto ignored = events(a, "ignored");
    ASSERT_EQ(ignored.size(), 1u);
    EXPECT_EQ(ignored[0]["name"], "Command4");
}

TEST(ScriptRunner, BadLinesStopTheRunBeforeAnythingHappens) {
    struct Case {
        const char* script;
        const char* mentions;
    } cases[] = {
        {"click Command4\nclick Command9\n", "line 2"},
        {"click Command4\nslide Text2 3\n", "line 2"},
        {"type Command4 \"x\"\n", "line 1"},
        {"dump\nwait x\n", "line 2"},
    };
    for (const Case& c : cases) {
        const ScriptRun r = run(c.script);
        EXPECT_EQ(r.status, 2) << c.script;
        EXPECT_TRUE(r.lines.empty()) << c.script;
        EXPECT_NE(r.err.find(c.mentions), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("test.script"), std::string::npos) << r.err;
    }
}

TEST(ScriptRunner, QuitAndCloseEndTheScript) {
    const ScriptRun quit = run("click mquit\ndump\n");
    ASSERT_EQ(quit.lines.size(), 1u);
    EXPECT_EQ(quit.lines[0]["event"], "exit");
    ScriptOptions o;
    o.trace = true;
    const ScriptRun closed = run("click Command4\nwait 1100\nclose\ndump\n", o);
    EXPECT_EQ(closed.lines.back()["event"], "exit");
    EXPECT_EQ(closed.lines.back()["how"], "close");
    EXPECT_FALSE(events(closed, "sound").empty());
    EXPECT_EQ(events(closed, "sound").back()["op"], "release");
}

TEST(ScriptOptions, ParsesTheCommandLine) {
    std::string error;
    auto o = parseScriptOptions({"p.txt", "--seed", "9", "--trace", "--wav", "out.wav"}, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->scriptPath, "p.txt");
    EXPECT_EQ(*o->seed, 9u);
    EXPECT_TRUE(o->trace);
    EXPECT_EQ(o->wavPath, "out.wav");
    EXPECT_TRUE(parseScriptOptions({"-"}, error));
    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {}, {"--seed", "x", "a"}, {"a", "--seed"}, {"a", "--bogus"}, {"a", "b"}, {"a", "--seed", "-1"},
             {"a", "--live", "--wav", "o.wav"}}) {
        error.clear();
        EXPECT_FALSE(parseScriptOptions(bad, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(ScriptCommand, RefusesWhatIsNotAReadableScriptAndOutputsItCannotWrite) {
    const std::string script = ::testing::TempDir() + "tessaly_ok.script";
    std::ofstream(script) << "dump\n";
    EXPECT_EQ(scriptCommand({::testing::TempDir()}), 2) << "a directory";
    EXPECT_EQ(scriptCommand({"/nonexistent-dir/s.txt"}), 2);
    EXPECT_EQ(scriptCommand({script, "--bogus"}), 2);
    EXPECT_EQ(scriptCommand({script, "--wav", "/nonexistent-dir/o.wav"}), 1);
    EXPECT_EQ(scriptCommand({"--help"}), 0);
    std::remove(script.c_str());
}

}  // namespace
}  // namespace tessaly
