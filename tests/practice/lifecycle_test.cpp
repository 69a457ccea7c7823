#include "support/form_fixture.h"

namespace tessaly::testing {
namespace {

// What the load handler does beyond the controls' design-time values.
TEST_F(FormTest, LoadPreparesTheNoiseLoopSilentlyAndTheTimers) {
    EXPECT_FALSE(form.controls().Text6.enabled);
    EXPECT_FALSE(form.timer("Timer3")->enabled());
    EXPECT_EQ(form.timer("Timer3")->interval(), 1000);
    EXPECT_EQ(form.timer("Timer11")->interval(), 10);
    // The noise loop is made silent at a quarter of its rate; nothing plays.
    auto noise = ops("noise");
    ASSERT_EQ(noise.size(), 3u);
    EXPECT_EQ(noise[1].op, "volume");
    EXPECT_EQ(noise[1].value, -10000);
    EXPECT_EQ(noise[2].value, 11025);
    EXPECT_TRUE(ops("noise", "play").empty());
}

}  // namespace
}  // namespace tessaly::testing
