// The UI thread changing voices while another thread renders, as the audio callback
// does. Meant above all for the thread-sanitizer build (scripts/tsan-mixer.sh).
#include "engine_test_support.h"

#include "engine/engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

namespace tessaly {
namespace {

using namespace enginetest;

TEST(MixerThreads, UiChangesVoicesWhileTheCallbackRenders) {
    TestWaves waves;
    waves.add("short", 22050, sine(700, 22050, 441, 0.3f));  // 20 ms: ends often
    waves.add("long", 44100, sine(90, 44100, 44100, 0.2f));
    auto mixer = std::make_shared<Mixer>(48000);
    auto engine = std::make_shared<Engine>(mixer, waves.lookup());
    auto device = engine->platform().openDefaultDevice();

    std::atomic<bool> done{false};
    std::atomic<long> blocks{0};
    std::thread callback([&] {
        std::vector<float> out(256);
        while (!done.load(std::memory_order_relaxed)) {
            mixer->render(out.data(), out.size());
            blocks.fetch_add(1, std::memory_order_relaxed);
        }
    });

    std::mt19937 random(1);
    std::vector<std::shared_ptr<SoundBuffer>> buffers(24);
    std::vector<std::shared_ptr<ParamEq>> eqs(buffers.size());
    int endedOnce = 0;
    for (int step = 0; step < 30000 || blocks.load() < 200; ++step) {
        const std::size_t i = random() % buffers.size();
        auto& b = buffers[i];
        switch (random() % 9) {
        case 0:
            b = device->createBuffer(Bus::Reader, random() % 2 ? "short" : "long", kFlagsWithTone);
            eqs[i].reset();
            break;
        case 1: if (b) b->play(random() % 2); break;
        case 2: if (b) b->stop(); break;
        case 3: if (b) b->setVolume(-static_cast<int>(random() % 10001)); break;
        case 4: if (b) b->setFrequency(random() % 2 ? 22050 : 23000); break;
        case 5:
            if (b && b->setFxParamEq()) eqs[i] = b->paramEqInPath(0);
            break;
        case 6: if (eqs[i]) eqs[i]->setAllParameters({static_cast<float>(80 + random() % 4920), 36, 15}); break;
        case 7: b.reset(); eqs[i].reset(); break;
        case 8: if (b && b->getStatus() == 0) ++endedOnce; break;
        }
        engine->beginOperation();
    }
    buffers.clear();
    eqs.clear();
    done = true;
    callback.join();
    EXPECT_GT(blocks.load(), 0);
    EXPECT_GT(endedOnce, 0);
}

}  // namespace
}  // namespace tessaly
