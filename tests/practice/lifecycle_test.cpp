#include "form_fixture.h"

namespace tessaly::testing {
namespace {

class LifecycleTest : public FormTest {};

TEST_F(LifecycleTest, FreshWindowShowsTheDefaults) {
    EXPECT_EQ(form.Label6.caption, "00:00:00");
    EXPECT_TRUE(form.ListView1.rows.empty());
    EXPECT_FALSE(form.Text6.enabled);
    EXPECT_TRUE(form.Option1.value);
    EXPECT_TRUE(form.Option8.value);
    EXPECT_TRUE(form.Option10.value);
    EXPECT_TRUE(form.Option7[4].value);
    EXPECT_EQ(form.Slider1.value, 5);
    EXPECT_EQ(form.Slider2.value, 2500);
    EXPECT_EQ(form.Text2.text(), "20");
    EXPECT_TRUE(form.Command4.enabled);
    EXPECT_TRUE(form.Command5.enabled);
    EXPECT_FALSE(form.Timer3.enabled());
    EXPECT_EQ(form.Timer3.interval(), 1000);
    EXPECT_EQ(form.Timer11.interval(), 10);
    EXPECT_EQ(form.prefixText.size(), 4172u);
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
