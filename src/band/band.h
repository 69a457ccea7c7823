#pragma once
// The band: everything the listener hears besides the stations' own voices, and the
// one owner of every level on the air. The band noise's volume comes from one figure
// (noiseVolume) that combines the level buttons, the SNR that is set, a threshold
// trial's SNR and the random noise variation's dips. The static crackle (QRN), the
// fading of the reader (QSB), the ionospheric path of each station and the receiver
// are the band's too. The buffers it makes name their buses.
#include "practice/excursion.h"
#include "practice/timer.h"
#include "practice/window_controls.h"
#include "sound/clip_catalogue.h"
#include "sound/device_link.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// The band noise plays at a quarter of its recorded rate: two octaves down.
constexpr int kBandNoiseFrequency = 11025;

class Band {
public:
    Band(WindowControls& controls, SoundPlatform& platform, TimerClock& clock, RandomSource& random);

    // The window's load step: the two noise loops, the band noise silent.
    void load();

    // ---- a practice
    // Start: the band noise loops, at the SNR when one applies. An SNR is reckoned with
    // the reader's `voice` (its clips' powers).
    void startNoise(const Speech& voice);
    // Start: each station's path, drawn from the practice's random source; a pile-up's
    // `callers` stations each have theirs too.
    void startPaths(int callers = 0);
    // The pile-up is over: its stations' paths are let go (set off), so that a later
    // pile-up, or none, finds them as they were before it.
    void endCallerPaths();
    // Start: the ticked conditions: QRN, QSB, the noise variation (not in trials).
    void startConditions();
    // Stop and the end of reading: the loops stop (keeping their place), and the timers.
    void stopLoops();
    void stopTimers();
    // The supervisory timer: the level of the noise again, unless its variation runs.
    void keepNoiseLevel();
    // The window closes: the crackle's buffer goes, and the device.
    void release();

    // ---- the level buttons and condition boxes
    void levelChosen(int level);  // Option1..Option6: 0 off, 1..5 for S1..S5
    void Check1_Click(bool practising);
    // QSB; true when fading stopped, so that the reader's clip is back at full volume.
    bool Check3_Click(bool practising);
    void Check4_Click(bool practising);
    void Timer4_Timer() { fade_.schedulerTick(); }
    void Timer5_Timer();
    void Timer6_Timer() { noiseDip_.schedulerTick(); }
    void Timer7_Timer();
    // The reader's clips start at this volume: QSB's fade (hundredths of a dB).
    int fadeLevel() const { return fade_.value(); }
    bool fading() const { return controls_.Check3.value == 1; }

    // ---- the SNR
    // The setting (snr DB, or none: back to the level buttons).
    void setSnr(std::optional<double> snrDb, bool practising, const Speech& voice);
    const std::optional<double>& snrSetting() const { return snr_; }
    // A threshold run's trials: the noise follows them alone, the buttons and the
    // noise variation wait. Each callsign's SNR is given as the run fixes it.
    void beginTrials(double snrDb);
    void setTrialSnr(double snrDb) { callsignSnr_ = snrDb; }
    void endTrials();
    bool inTrials() const { return trials_; }
    // The reader begins a callsign: its SNR applies from its first clip.
    void callsignBegins(const Speech& voice);
    // The SNR the callsign now being read is heard at; none while the buttons set the noise.
    const std::optional<double>& callsignSnr() const { return callsignSnr_; }
    // The level button (1..5 for S1..S5) whose band noise comes nearest `snrDb` with the
    // voice as it is set now: 6 for noise well beyond S5, 0 well below S1; nullopt
    // where the sound cannot tell.
    std::optional<int> levelNear(double snrDb, const Speech& voice) const;

    // ---- the path and the receiver
    void setPath(const std::string& preset, bool practising);
    const std::string& path() const { return path_; }
    void setReceiver(bool passband, const std::string& agc);
    bool passband() const { return passband_; }
    const std::string& agc() const { return agc_; }

    // ---- what the others read
    int noiseDipLevel() const { return noiseDip_.value(); }
    std::vector<const Timer*> timers() const { return {&Timer4, &Timer5, &Timer6, &Timer7}; }

private:
    // The band noise's buffer volume as everything set now has it, hundredths of a dB.
    int noiseVolume() const;
    void setNoiseVolume(int volume);
    void enableLevelButtons();
    void applySnr(const Speech& voice);
    void applyPath();
    int callers_ = 0;  // the pile-up's stations, whose paths are the band's too
    int pathedCallers_ = 0;  // the first this many of them have a path in the channel now
    SnrReference snrReference(const Speech& voice) const;
    int drawTimerInterval();  // reseeded, 50 .. 140 ms

    WindowControls& controls_;
    DeviceLink device_;
    RandomSource& random_;
    std::shared_ptr<SoundBuffer> noiseBuffer_, qrnBuffer_;
    Timer Timer4{"Timer4", 4}, Timer5{"Timer5", 5};  // QSB: the wait for a fade, and its steps
    Timer Timer6{"Timer6", 6}, Timer7{"Timer7", 7};  // noise variation: the wait for a dip, and its steps
    Excursion<int, float> fade_;
    Excursion<int, float> noiseDip_;
    std::optional<double> snr_;          // the SNR setting
    std::optional<double> callsignSnr_;  // what the callsign being read is heard at
    bool trials_ = false;
    std::optional<double> appliedSnr_;   // what the received channel was last told
    std::string path_ = "off", appliedPath_ = "off";
    bool passband_ = false;
    std::string agc_ = "off";
};

}  // namespace tessaly
