#include "headless/voices_command.h"

#include "engine/wave_decoder.h"
#include "headless/command_line.h"
#include "voices/voice_pack.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>

namespace tessaly {
namespace {

struct Level {
    double seconds = 0, rmsDb = 0, peakDb = 0;
};

std::optional<Level> levelOf(std::span<const std::uint8_t> bytes) {
    std::string error;
    const auto wave = decodeWave(bytes, error);
    if (!wave || wave->samples.empty()) return std::nullopt;
    double sum = 0;
    float peak = 0;
    for (float s : wave->samples) {
        sum += double{s} * s;
        peak = std::max(peak, std::abs(s));
    }
    const auto db = [](double a) { return a > 0 ? 20 * std::log10(a) : -200.0; };
    return Level{static_cast<double>(wave->samples.size()) / wave->sampleRate,
                 db(std::sqrt(sum / static_cast<double>(wave->samples.size()))), db(peak)};
}

std::string row(const std::string& clip, const std::string& source, const std::optional<Level>& level) {
    char text[256];
    if (level)
        std::snprintf(text, sizeof text, "%-9s %-28s %5.2f s  %6.1f  %6.1f\n", clip.c_str(), source.c_str(), level->seconds,
                      level->rmsDb, level->peakDb);
    else
        std::snprintf(text, sizeof text, "%-9s %s\n", clip.c_str(), source.c_str());
    return text;
}

int check(const std::string& folder) {
    std::string error;
    const auto pack = VoicePack::load(folder, error);
    if (!pack) {
        std::cerr << "tessaly voices: " << folder << ": " << error << '\n';
        return 2;
    }
    const auto builtIn = builtInWaves();
    const int refused = static_cast<int>(pack->refused().size());
    const int found = pack->foundCount();
    const int total = static_cast<int>(pack->clips().size());
    std::cout << "voice pack " << folder << ": " << plural(found, "clip", "clips") << " found, "
              << total - found - refused << " built-in, " << refused << " refused\n\n";
    char header[128];
    std::snprintf(header, sizeof header, "%-9s %-28s %7s  %6s  %6s\n", "clip", "source", "length", "RMS dB", "peak");
    std::cout << header;
    for (const PackClip& c : pack->clips()) {
        if (c.found()) {
            std::cout << row(c.name, "found " + c.file, Level{c.seconds, c.rmsDb, c.peakDb});
        } else if (c.refused()) {
            std::cout << row(c.name, "refused " + c.file + ": " + refusalText(c), std::nullopt);
        } else {
            const auto bytes = builtIn(c.name);
            std::cout << row(c.name, "built-in", bytes ? levelOf(*bytes) : std::nullopt);
        }
    }
    for (const std::string& warning : pack->warnings()) std::cout << "warning: " << warning << '\n';
    if (refused > 0)
        std::cout << "\n" << plural(refused, "file is", "files are")
                  << " refused: a practice with this pack would not start (the window uses the built-in clips for them).\n";
    return refused > 0 ? 2 : 0;
}

}  // namespace

int voicesCommand(const std::vector<std::string>& args) {
    const CommandLine line("voices", "DIR",
                           "Checks a voice pack (WAV files named by clip: 001.wav .. 326.wav, 00.wav .. 19.wav,\n"
                           "PORTABLE.wav, MOBILE.wav, QRP.wav) without starting a practice.",
                           {"DIR         the folder of the pack"}, {});
    return line.main(args, [](const std::vector<std::string>& folders) {
        if (folders.size() != 1) {
            std::cerr << "tessaly voices: " << (folders.empty() ? "no folder given" : "one folder, please")
                      << "\n(tessaly voices --help)\n";
            return 2;
        }
        return check(folders[0]);
    });
}

}  // namespace tessaly
