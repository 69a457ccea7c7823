// tessaly_onsets OFFLINE.wav LIVE.wav: where the sounds of a live recording begin,
// against the offline render of the same practice. Each onset is the first frame at
// least -40 dBFS after 100 ms of quiet; the live onsets are aligned on the first
// offline one. Prints each pair and the largest difference, in ms.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

struct Sound {
    int rate = 0;
    std::vector<float> mono;
};

bool read(const char* path, Sound& sound) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (!file) {
        std::fprintf(stderr, "tessaly_onsets: cannot read %s: %s\n", path, sf_strerror(nullptr));
        return false;
    }
    std::vector<float> frames(static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels));
    sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    sound.rate = info.samplerate;
    sound.mono.resize(static_cast<std::size_t>(info.frames));
    for (std::size_t i = 0; i < sound.mono.size(); ++i) sound.mono[i] = frames[i * static_cast<std::size_t>(info.channels)];
    return true;
}

std::vector<double> onsetsMs(const Sound& s) {
    const float threshold = std::pow(10.0f, -40.0f / 20.0f);
    const std::size_t quiet = static_cast<std::size_t>(s.rate / 10);
    std::vector<double> onsets;
    std::size_t lastLoud = 0;
    bool any = false;
    for (std::size_t i = 0; i < s.mono.size(); ++i) {
        if (std::fabs(s.mono[i]) < threshold) continue;
        if (!any || i - lastLoud > quiet) onsets.push_back(1000.0 * static_cast<double>(i) / s.rate);
        any = true;
        lastLoud = i;
    }
    return onsets;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessaly_onsets OFFLINE.wav LIVE.wav\n");
        return 2;
    }
    Sound offline, live;
    if (!read(argv[1], offline) || !read(argv[2], live)) return 1;
    const auto a = onsetsMs(offline), b = onsetsMs(live);
    if (a.empty() || b.empty()) {
        std::fprintf(stderr, "tessaly_onsets: no sound found\n");
        return 1;
    }
    const std::size_t n = std::min(a.size(), b.size());
    double worst = 0, low = 0, high = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double d = (b[i] - b[0]) - (a[i] - a[0]);
        std::printf("%3zu  offline %9.2f ms  live %9.2f ms  difference %+7.2f ms\n", i + 1, a[i] - a[0], b[i] - b[0], d);
        worst = std::max(worst, std::fabs(d));
        low = std::min(low, d);
        high = std::max(high, d);
    }
    std::printf("%zu onsets offline, %zu live; live minus offline from %+.2f to %+.2f ms; largest %.2f ms\n", a.size(),
                b.size(), low, high, worst);
    return a.size() == b.size() ? 0 : 1;
}
