// Seeded mutations of valid inputs through every reader (script parser and runner,
// results and record readers with the stats, settings parser, voice-pack loader,
// WAVE decoder): each answers with a result or an error, never a crash or a hang.
// TESSALY_FUZZ_SECONDS and TESSALY_FUZZ_SEED lengthen or vary a run; with
// TESSALY_FUZZ_KEEP=1 each input is first written to $TMPDIR/tessaly_fuzz_last.<target>.
#include "engine/wave_decoder.h"
#include "headless/headless_session.h"
#include "headless/script_parser.h"
#include "headless/script_runner.h"
#include "learning/learning_record.h"
#include "learning/learning_settings.h"
#include "learning/results_csv.h"
#include "learning/stats_report.h"
#include "learning/stats_text.h"
#include "voices/voice_pack.h"
#include "support/scratch_folder.h"
#include "support/sound_file.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
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

// Runs `target` on mutated inputs for the time budget.
void fuzz(const char* name, Mutator& mutator, const std::function<void(const Bytes&)>& target) {
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
    ::testing::Test::RecordProperty("inputs", static_cast<int>(runs));
    EXPECT_GT(runs, 0u);
}

// Every other input runs interactively, line by line as it comes: a bad or
// over-long line is an error event, and the run goes on.
TEST(Fuzz, ScriptParserAndRunner) {
    HeadlessSession session({});
    const ControlRegistry& controls = session.form().controls().registry();
    Mutator mutator(
        {"click Command4\nwait 1100\ndump\n",
         "settext Text2 \"3\"\nclick Option9\nslide Slider1 7\nclick Command4\nwait 5000\ntype Text6 \"BA4XY\\r\"\n",
         "# comment\ntype Text6 \"a\\\\b\\\"c\\r\\n\\b\"   # after\nhover Command4\nreplay 1\ndrill on\nexport \"x.csv\"\nclose\n",
         "settext Text2 \"1e400\"\nsettext Text2 \"0x10\"\nsettext Text2 \" 12.5e1 \"\n",
         "snr -3\npath good\nagc fast\npassband on\nthreshold on\nclick Command4\nwait 9000\ntype Text6 \"K\\r\"\n" +
             std::string(70000, '#') + "\ndump\n"},
        {"click ", "type ", "settext ", "slide ", "hover ", "wait ", "dump", "close", "replay ", "drill ", "\"", "\\",
         "Text2 ", "Text6 ", "Command4", "Slider1 ", "Option7(3)", "9999999999999999999", "-2147483649", "1e308",
         std::string(300, '1'), "\r", "\t", "#", "snr ", "path ", "agc ", "threshold ", "passband ", "on", "off"},
        seed());
    std::size_t seen = 0;
    fuzz("script", mutator, [&](const Bytes& text) {
        ScriptOptions o;
        o.seed = 1;
        o.scriptPath = "fuzz";
        o.interactive = seen++ % 2 == 1;
        std::istringstream in(text);
        std::vector<ScriptAction> actions;
        try {
            if (!o.interactive) actions = parseScript(in, controls);
        } catch (const ScriptError& e) {
            EXPECT_GE(e.line, 1);
            EXPECT_FALSE(e.message.empty());
            return;
        }
        // Run those that stay short in virtual time and keep nothing on disk.
        std::int64_t waits = 0;
        for (const ScriptAction& a : actions) waits += a.kind == ScriptAction::Kind::Wait ? a.number : 0;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t wait = line.find("wait");
            if (o.interactive && wait != std::string::npos) waits += std::llabs(std::atoll(line.c_str() + wait + 4));
            if (line.find("export") != std::string::npos || line.find("record") != std::string::npos) return;
        }
        if (waits > 60'000 || waits < 0) return;
        std::istringstream again(text);
        std::ostringstream out, err;
        const int status = runScript(o, again, out, err);
        EXPECT_TRUE(status == 0 || (status == 2 && !o.interactive)) << status << ": " << err.str();
    });
}

// Results files read strictly (a file that is not one is refused whole), the
// learning record leniently (a damaged line skipped); what is read goes through
// the digest and the stats, and is written back and read again as it was.
TEST(Fuzz, ResultsFilesAndTheRecord) {
    PracticeRecord practice{"2024-05-01", "10:00:00", "exam", "5", "snr", {"qrn"},
                            {{1, "BA4XY", "BA4XY", true, "BA4XY", 6.0}, {2, "=K1", "K1ABC/QRP", false, "K1ABC/q", -2.5}}};
    practice.thresholdDb = -3, practice.thresholdSe = 1.5, practice.id = "0123456789abcdef", practice.seconds = 80;
    const std::string old = std::string(kResultsHeaderBefore) +
                            "\r\n1,\"G4A,\"\"C\",G4ABC/QRP,N,2024-05-01,10:00:00,standard,5,S2,qrn qsb,G 4 A B C / QRP\r\n";
    Mutator mutator({recordLines(practice, true) + recordLines(practice, false), "\xEF\xBB\xBF" + old + resultsCsv(practice)},
                    {",", "\"", "\"\"", "\r\n", "\n", "'", "=", "MOBILE", "QRP", " ", "Y", "N", "2024-02-29", "9999-12-31",
                     "99:99:99", "\xC3\xA4", "\xC3", "\xEF\xBB\xBF", "0123456789abcdef", "mid-quiet",
                     std::string(kResultsHeader) + "\r\n", std::string(kResultsHeaderWithoutId) + "\r\n", std::string(300, 'A')},
                    seed() + 1);
    fuzz("results", mutator, [&](const Bytes& text) {
        std::vector<PracticeRecord> strict;
        std::string error;
        if (!parseResultsCsv(text, strict, error)) {
            EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
            EXPECT_TRUE(strict.empty());
        }
        RecordContents read;
        RecordLimits limits;
        limits.warnings = 5;
        readRecordText(text, 1, limits, read, "2024-12-31");
        EXPECT_LE(read.warnings.size(), limits.warnings + 1);
        EXPECT_FALSE(statsText(statsReport(read.practices, "2024-06-01")).empty());
        std::string again;
        for (const PracticeRecord& p : read.practices) again += recordLines(p, again.empty());
        RecordContents reread;
        readRecordText(again, 1, limits, reread, "2024-12-31");
        EXPECT_TRUE(reread.warnings.empty()) << reread.warnings.front();
        EXPECT_EQ(reread.practices.size(), read.practices.size());
    });
}

TEST(Fuzz, SettingsParser) {
    LearningSettings settings{true, PracticeSettings{}, true};
    settings.lastPractice->snrDb = -4.5;
    settings.lastPractice->path = "good";
    Mutator mutator({learningSettingsJson(settings), "{\"record\": false}"},
                    {"{", "}", "[", "]", "\"", ":", ",", "true", "null", "1e999", "\"practice\"", "\"speed\"", "\\u0000",
                     "\xC3", std::string(100, '[')},
                    seed() + 4);
    fuzz("settings", mutator, [&](const Bytes& text) {
        LearningSettings read;
        std::string error;
        if (!parseLearningSettings(text, read, error)) {
            EXPECT_FALSE(error.empty());
            return;
        }
        // What is written of it reads back to the same (an SNR is written to a tenth of a dB).
        LearningSettings again;
        EXPECT_TRUE(parseLearningSettings(learningSettingsJson(read), again, error)) << error;
        EXPECT_EQ(learningSettingsJson(again), learningSettingsJson(read));
    });
}

std::string recording(int format, int channels, int rate, float peak) {
    const fs::path path = fs::path(::testing::TempDir()) / "tessaly_fuzz_seed.wav";
    std::vector<float> frames(static_cast<std::size_t>(rate / 10));
    for (std::size_t i = 0; i < frames.size(); ++i) frames[i] = peak * static_cast<float>(std::sin(0.05 * static_cast<double>(i)));
    testing::writeSoundFile(path, rate, channels, format, frames);
    const std::string bytes = fileText(path);
    fs::remove(path);
    return bytes;
}

TEST(Fuzz, VoicePackLoaderAndWaveDecoder) {
    const ScratchFolder scratch;
    const fs::path pack = scratch.path();
    Mutator mutator({recording(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 22050, 0.5f),
                     recording(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, 0.9f),
                     recording(SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1, 8000, 0.2f),
                     recording(SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 11025, 0.7f),
                     recording(SF_FORMAT_WAVEX | SF_FORMAT_DOUBLE, 1, 44100, 0.4f),
                     recording(SF_FORMAT_RF64 | SF_FORMAT_PCM_16, 2, 16000, 0.3f)},
                    {"RIFF", "WAVE", "fmt ", "data", "LIST", "fact", "RF64", "ds64", std::string(4, '\xFF'),
                     std::string(8, '\0')},
                    seed() + 2);
    fuzz("wav", mutator, [&](const Bytes& bytes) {
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
}

}  // namespace
}  // namespace tessaly
