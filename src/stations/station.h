#pragma once
// One transmitting station as the listener's sound device plays it: the clip it is
// saying now, on the station's own bus, with or without a tone boost. Each clip is a
// buffer of its own; a new one drops the one before, which plays out to its end.
#include "sound/device_link.h"
#include "sound/sound_api.h"

#include <memory>
#include <optional>
#include <string>

namespace tessaly {

class Station {
public:
    // `toned`: its clips carry the equaliser that shapes their tone.
    Station(SoundPlatform& platform, Bus bus, bool toned) : device_(platform), bus_(bus), toned_(toned) {}
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    // Says one clip once, at `volume` (hundredths of a dB) and `frequency`, with the
    // tone boost `tone` when the station is toned. The device is opened again first.
    void say(const std::string& clipName, int volume, int frequency, const ParamEqParameters& tone = {});
    // The clip now sounding: stopped, its volume, its tone. Nothing without one.
    void stop();
    void setVolume(int volume);
    void setTone(const ParamEqParameters& tone);
    // Stops the clip if it is still playing (not a loop), keeping the buffer.
    void stopIfPlaying();
    // Lets the clip and the device go: the clip stopped if still playing, then dropped.
    void release();
    bool hasClip() const { return buffer_ != nullptr; }
    bool hasTone() const { return tone_ != nullptr; }
    Bus bus() const { return bus_; }

private:
    DeviceLink device_;
    const Bus bus_;
    const bool toned_;
    std::shared_ptr<SoundBuffer> buffer_;
    std::shared_ptr<ParamEq> tone_;  // holds its buffer too, until the next clip's tone replaces it
};

}  // namespace tessaly
