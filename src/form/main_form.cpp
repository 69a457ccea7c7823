#include "form/main_form.h"

#include "base/resource_store.h"

namespace tessaly {

MainForm::MainForm(TimerClock& clock, SoundPlatform& platform, RandomSource& random, FormHost& host)
    : FormState(clock, platform, random, host), practice(*this), sources(*this), speech(*this), channel(*this, speech),
      learning(*this), review(*this, speech, learning) {
    Command1.onClick = [this] { sources.Command1_Click(); };
    Command4.onClick = [this] { practice.Command4_Click(); };
    Command5.onClick = [this] { practice.Command5_Click(); };
    Text2.onChange = [this] { practice.Text2_Change(); };
    Text6.onKeyPress = [this](int& key) { practice.Text6_KeyPress(key); };
    ListView1.onMouseMove = [this] { practice.ListView1_MouseMove(); };
    Slider1.onChange = [this] { speech.Slider1_Change(); };
    Slider2.onChange = [this] { speech.Slider2_Change(); };
    Slider2.onScroll = [this] { speech.Slider2_Scroll(); };
    Option1.onClick = [this] { channel.Option1_Click(); };
    Option2.onClick = [this] { channel.Option2_Click(); };
    Option3.onClick = [this] { channel.Option3_Click(); };
    Option4.onClick = [this] { channel.Option4_Click(); };
    Option5.onClick = [this] { channel.Option5_Click(); };
    Option6.onClick = [this] { channel.Option6_Click(); };
    Check1.onClick = [this] { channel.Check1_Click(); };
    Check2.onClick = [this] { channel.Check2_Click(); };
    Check3.onClick = [this] { channel.Check3_Click(); };
    Check4.onClick = [this] { channel.Check4_Click(); };
    Check5.onClick = [this] { channel.Check5_Click(); };
    Check6.onClick = [this] { channel.Check6_Click(); };
    mquit.onClick = [this] { mquit_Click(); };
    mabout.onClick = [this] { mabout_Click(); };
    onStartConditions = [this] { channel.startTicked(); };
    onCallsignBegins = [this] {
        review.callsignBegins();  // a threshold run's SNR for this callsign first
        channel.callsignBegins();
    };
    onStarting = [this] { review.starting(); };
    noiseLevelNear = [this](double snrDb) { return channel.levelNear(snrDb); };
    onStarted = [this] { review.started(); };
    onAnswered = [this](int row) { review.answered(row); };
    onMarked = [this] { review.marked(); };

    Timer2.attach(&clock, [this] { speech.Timer2_Timer(); });
    Timer3.attach(&clock, [this] { channel.Timer3_Timer(); });
    Timer4.attach(&clock, [this] { channel.Timer4_Timer(); });
    Timer5.attach(&clock, [this] { channel.Timer5_Timer(); });
    Timer6.attach(&clock, [this] { channel.Timer6_Timer(); });
    Timer7.attach(&clock, [this] { channel.Timer7_Timer(); });
    Timer8.attach(&clock, [this] { channel.Timer8_Timer(); });
    Timer9.attach(&clock, [this] { channel.Timer9_Timer(); });
    Timer10.attach(&clock, [this] { channel.Timer10_Timer(); });
    Timer11.attach(&clock, [this] { channel.Timer11_Timer(); });
    Timer12.attach(&clock, [this] { practice.Timer12_Timer(); });
    // Timer1 ticks at 200 ms from load with no handler: it is left unattached,
    // so it shows its settings but never costs a wake-up.
}

void MainForm::Form_Load() {
    // Sound set-up: a failing step is skipped and the load goes on.
    speech.ReopenDevice();
    if (ds) {
        noiseBuffer = ds->createBufferFromResource("zaoyin", kFlagsWithTone);
        qrnBuffer = ds->createBufferFromResource("qrn", kFlagsWithTone);
    }
    if (noiseBuffer) {
        noiseBuffer->setVolume(kVolumeSilent);
        noiseBuffer->setFrequency(kBandNoiseFrequency);
    }
    Timer3.setEnabled(false);
    Timer3.setInterval(1000);
    Timer1.setEnabled(true);
    Timer1.setInterval(200);
    Timer11.setEnabled(false);
    Timer11.setInterval(10);
    prefixText = resourceText("CUSTOM", "227");
    Text6.enabled = false;
}

void MainForm::Form_Unload() { speech.ReleaseSound(); }

void MainForm::mquit_Click() { host().quitNow(); }

void MainForm::mabout_Click() { host().showAbout(); }

}  // namespace tessaly
