// tessaly_make_clip IN.wav OUT.wav [--fade-out-ms N] [--min-seconds S]
//
// Build-time step of make_clips.sh: trims and levels one spoken word by the same
// rule that a voice pack's recordings go through at load, so that the built-in
// voices and the user's are cut alike. IN is mono at the clips' rate (sox brings
// the speaker's output there); OUT is 16-bit PCM, padded with silence at the end
// to S seconds when shorter. Prints the trimmed length in seconds (before the
// padding), which make_clips.sh uses to decide whether to speed a long word up.
#include "voices/clip_conditioning.h"

#include <sndfile.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "tessaly_make_clip: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return fail("usage: tessaly_make_clip IN.wav OUT.wav [--fade-out-ms N] [--min-seconds S]");
    tessaly::ConditioningRule rule;
    double minSeconds = 0;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        char* end = nullptr;
        const double value = std::strtod(argv[i + 1], &end);
        if (*end != '\0' || value < 0) return fail(option + " takes a number, not \"" + argv[i + 1] + "\"");
        if (option == "--fade-out-ms")
            rule.fadeOut = static_cast<int>(value * rule.rate / 1000.0 + 0.5);
        else if (option == "--min-seconds")
            minSeconds = value;
        else
            return fail("unknown option " + option);
    }
    if (argc % 2 == 0) return fail(std::string(argv[argc - 1]) + " needs a value");

    SF_INFO in{};
    SNDFILE* file = sf_open(argv[1], SFM_READ, &in);
    if (!file) return fail(std::string(argv[1]) + ": " + sf_strerror(nullptr));
    if (in.channels != 1 || in.samplerate != rule.rate) {
        sf_close(file);
        return fail(std::string(argv[1]) + ": not mono at " + std::to_string(rule.rate) + " Hz");
    }
    std::vector<float> samples(static_cast<std::size_t>(in.frames));
    samples.resize(static_cast<std::size_t>(sf_readf_float(file, samples.data(), in.frames)));
    sf_close(file);

    auto clip = tessaly::conditionRecording(samples, rule);
    if (!clip) return fail(std::string(argv[1]) + ": no sound in it");
    const auto wanted = static_cast<std::size_t>(minSeconds * rule.rate + 0.5);
    if (clip->samples.size() < wanted) clip->samples.resize(wanted, 0.0f);

    SF_INFO out{};
    out.samplerate = rule.rate;
    out.channels = 1;
    out.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* written = sf_open(argv[2], SFM_WRITE, &out);
    if (!written) return fail(std::string(argv[2]) + ": " + sf_strerror(nullptr));
    const auto frames = static_cast<sf_count_t>(clip->samples.size());
    const bool complete = sf_writef_float(written, clip->samples.data(), frames) == frames;
    sf_close(written);
    if (!complete) return fail(std::string(argv[2]) + ": could not be written");
    std::printf("%.4f\n", clip->seconds);
    return 0;
}
