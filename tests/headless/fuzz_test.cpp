// Random input, seeded: mutations of valid scripts, results files and recordings
// go through the script parser and runner, the results reader and the stats, the
// voice-pack loader and the WAVE decoder. Each reader must answer every input with
// a result or an error, never a crash, a hang or unbounded memory (the sanitizer
// build catches what a plain run cannot see).
//
// A few seconds a target by default; longer on demand:
//   TESSALY_FUZZ_SECONDS=600 TESSALY_FUZZ_SEED=7 tessaly_tests --gtest_filter='Fuzz*'
// With TESSALY_FUZZ_KEEP=1 each input is first written to
// $TMPDIR/tessaly_fuzz_last.<target>, so that the one that brought a run down is
// kept (at the cost of most of the speed).
#include "engine/wave_decoder.h"
#include "headless/headless_session.h"
#include "headless/script_parser.h"
#include "headless/script_runner.h"
#include "learning/results_csv.h"
#include "learning/stats_report.h"
#include "learning/stats_text.h"
#include "voices/voice_pack.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

double budgetSeconds() {
    const char* s = std::getenv("TESSALY_FUZZ_SECONDS");
    return s ? std::atof(s) : 2.0;
}

std::uint64_t seed() {
    const char* s = std::getenv("TESSALY_FUZZ_SEED");
    return s ? std::strtoull(s, nullptr, 10) : 20240501;
}

// Mutates a copy of one of the seeds: a few of flips, interesting bytes, cuts,
// copies of a stretch, splices with another seed and words of the input's language.
class Mutator {
public:
    Mutator(std::vector<Bytes> seeds, std::vector<Bytes> words, std::uint64_t seed)
        : seeds_(std::move(seeds)), words_(std::move(words)), random_(seed) {}

    Bytes next() {
        Bytes b = seeds_[pick(seeds_.size())];
        const int edits = 1 + static_cast<int>(pick(8));
        for (int e = 0; e < edits; ++e) mutate(b);
        return b;
    }

private:
    std::size_t pick(std::size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }

    void mutate(Bytes& b) {
        static const unsigned char kInteresting[] = {0, 1, 0x7F, 0x80, 0xFF, '\n', '\r', '"', '\\', ',', ' ', '-', '9'};
        const std::size_t at = pick(b.size() + 1);
        switch (pick(8)) {
            case 0:
                if (at < b.size()) b[at] = static_cast<char>(b[at] ^ (1 << pick(8)));
                break;
            case 1:
                if (at < b.size()) b[at] = static_cast<char>(kInteresting[pick(std::size(kInteresting))]);
                break;
            case 2: b.erase(at, pick(16)); break;
            case 3: b.insert(at, words_[pick(words_.size())]); break;
            case 4: {  // a stretch copied elsewhere, now and then many times
                const std::size_t from = pick(b.size() + 1), length = pick(64);
                const Bytes stretch = b.substr(from, length);
                const std::size_t times = pick(10) == 0 ? 1 + pick(2000) : 1;
                for (std::size_t i = 0; i < times && b.size() < (1u << 20); ++i) b.insert(at, stretch);
                break;
            }
            case 5: {  // a 32-bit field set to an edge value (sizes, rates, counts)
                static const std::uint32_t kEdges[] = {0, 1, 2, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 44, 48000, 192001};
                const std::uint32_t v = kEdges[pick(std::size(kEdges))];
                if (at + 4 <= b.size())
                    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
                break;
            }
            case 6: {
                const Bytes& other = seeds_[pick(seeds_.size())];
                const std::size_t from = pick(other.size() + 1);
                b = b.substr(0, at) + other.substr(from);
                break;
            }
            default: b.insert(at, 1, static_cast<char>(pick(256))); break;
        }
    }

    std::vector<Bytes> seeds_, words_;
    std::mt19937_64 random_;
};

// Runs `target` on mutated inputs for the time budget; returns how many ran.
std::size_t fuzz(const char* name, Mutator& mutator, const std::function<void(const Bytes&)>& target) {
    const bool keep = std::getenv("TESSALY_FUZZ_KEEP") != nullptr;
    const fs::path last = fs::path(::testing::TempDir()) / (std::string("tessaly_fuzz_last.") + name);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(budgetSeconds());
    std::size_t runs = 0;
    while (std::chrono::steady_clock::now() < end) {
        const Bytes input = mutator.next();
        if (keep) std::ofstream(last, std::ios::binary) << input;
        target(input);
        ++runs;
    }
    std::cout << "[ fuzz     ] " << name << ": " << runs << " inputs, seed " << seed() << '\n';
    ::testing::Test::RecordProperty("inputs", static_cast<int>(runs));
    return runs;
}

TEST(Fuzz, ScriptParserAndRunner) {
    HeadlessSession session({});
    const ControlRegistry& controls = session.form().controls().registry();
    Mutator mutator(
        {"click Command4\nwait 1100\ndump\n",
         "settext Text2 \"3\"\nclick Option9\nslide Slider1 7\nclick Command4\nwait 5000\ntype Text6 \"BA4XY\\r\"\n",
         "# comment\ntype Text6 \"a\\\\b\\\"c\\r\\n\\b\"   # after\nhover Command4\nreplay 1\ndrill on\nexport \"x.csv\"\nclose\n",
         "settext Text2 \"1e400\"\nsettext Text2 \"0x10\"\nsettext Text2 \" 12.5e1 \"\n"},
        {"click ", "type ", "settext ", "slide ", "hover ", "wait ", "dump", "close", "replay ", "drill ", "\"", "\\",
         "Text2 ", "Text6 ", "Command4", "Slider1 ", "Option7(3)", "9999999999999999999", "-2147483649", "1e308",
         std::string(300, '1'), "\r", "\t", "#"},
        seed());
    std::size_t ran = 0;
    const auto runs = fuzz("script", mutator, [&](const Bytes& text) {
        std::istringstream in(text);
        std::vector<ScriptAction> actions;
        try {
            actions = parseScript(in, controls);
        } catch (const ScriptError& e) {
            EXPECT_GE(e.line, 1);
            EXPECT_FALSE(e.message.empty());
            return;
        }
        // Run those that stay short in virtual time and export nothing.
        std::int64_t waits = 0;
        for (const ScriptAction& a : actions) {
            waits += a.kind == ScriptAction::Kind::Wait ? a.number : 0;
            if (a.kind == ScriptAction::Kind::Export) return;
        }
        if (waits > 60'000) return;
        ScriptOptions o;
        o.seed = 1;
        o.scriptPath = "fuzz";
        std::istringstream again(text);
        std::ostringstream out, err;
        const int status = runScript(o, again, out, err);
        EXPECT_TRUE(status == 0 || status == 2) << status << ": " << err.str();
        ++ran;
    });
    EXPECT_GT(runs, 0u);
    std::cout << "[ fuzz     ] script: " << ran << " of them run\n";
}

TEST(Fuzz, ResultsReaderAndStats) {
    const std::string header = std::string(kResultsHeader) + "\r\n";
    Mutator mutator(
        {header + "1,BA4XY,BA4XY,Y,2024-05-01,10:00:00,standard,5,S2,,B A 4 X Y\r\n"
                  "2,\"G4A,\"\"C\",G4ABC/QRP,N,2024-05-01,10:00:00,standard,5,S2,qrn qsb,G 4 A B C / QRP\r\n",
         "\xEF\xBB\xBF" + header + "1,,JA1ABC/M,N,2024-12-31,23:59:59,mixed,random,random,vary-tone,J A 1 A B C / MOBILE\r\n" +
             header + "7,K1,K1,Y,2023-01-01,00:00:00,exam,0,off,,K 1\n"},
        {",", "\"", "\"\"", "\r\n", "\n", "MOBILE", "QRP", " ", "Y", "N", "2024-02-29", "99:99:99", "\xC3\xA4", "\xC3",
         "\xEF\xBB\xBF", header, std::string(300, 'A')},
        seed() + 1);
    const auto runs = fuzz("csv", mutator, [&](const Bytes& text) {
        std::vector<PracticeRecord> records;
        std::string error;
        if (!parseResultsCsv(text, records, error)) {
            EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
            EXPECT_TRUE(records.empty());
            return;
        }
        const StatsReport report = statsReport(records);
        EXPECT_FALSE(statsText(report).empty());
    });
    EXPECT_GT(runs, 0u);
}

std::string recording(int format, int channels, int rate, float peak) {
    const fs::path path = fs::path(::testing::TempDir()) / "tessaly_fuzz_seed.wav";
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_TRUE(f) << sf_strerror(nullptr);
    std::vector<float> frames(static_cast<std::size_t>(rate / 10 * channels));
    for (std::size_t i = 0; i < frames.size(); ++i) frames[i] = peak * static_cast<float>(std::sin(0.05 * static_cast<double>(i)));
    sf_writef_float(f, frames.data(), rate / 10);
    sf_close(f);
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    fs::remove(path);
    return bytes;
}

TEST(Fuzz, VoicePackLoaderAndWaveDecoder) {
    const fs::path pack = fs::path(::testing::TempDir()) / "tessaly_fuzz_pack";
    fs::remove_all(pack);
    fs::create_directories(pack);
    Mutator mutator({recording(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 22050, 0.5f),
                     recording(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, 0.9f),
                     recording(SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1, 8000, 0.2f),
                     recording(SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 11025, 0.7f),
                     recording(SF_FORMAT_WAVEX | SF_FORMAT_DOUBLE, 1, 44100, 0.4f),
                     recording(SF_FORMAT_RF64 | SF_FORMAT_PCM_16, 2, 16000, 0.3f)},
                    {"RIFF", "WAVE", "fmt ", "data", "LIST", "fact", "RF64", "ds64", std::string(4, '\xFF'),
                     std::string(8, '\0')},
                    seed() + 2);
    const auto runs = fuzz("wav", mutator, [&](const Bytes& bytes) {
        std::string error;
        const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        if (const auto wave = decodeWave(view, error)) {
            for (float s : wave->samples) ASSERT_TRUE(std::isfinite(s));
        }
        std::ofstream(pack / "301.wav", std::ios::binary) << bytes;
        const auto loaded = VoicePack::load(pack.string(), error);
        ASSERT_TRUE(loaded) << error;
        const PackClip& clip = loaded->clips()[std::size_t{26 * 3}];  // 301
        ASSERT_EQ(clip.name, "301");
        if (!clip.found()) return;
        EXPECT_TRUE(std::isfinite(clip.rmsDb) && std::isfinite(clip.peakDb)) << clip.rmsDb << " " << clip.peakDb;
        EXPECT_LE(clip.seconds, kLongestPackClipSeconds);
    });
    fs::remove_all(pack);
    EXPECT_GT(runs, 0u);
}

}  // namespace
}  // namespace tessaly
