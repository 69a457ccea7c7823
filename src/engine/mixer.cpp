#include "engine/mixer.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

Mixer::Mixer(int outputRate, float outputGainDb)
    : rate_(outputRate),
      rampFrames_(std::max(1, outputRate / 1000)),
      outputGain_(std::pow(10.0f, outputGainDb / 20.0f)), stage_(outputRate) {}

Voice* Mixer::takeFinished() {
    Voice* voice = nullptr;
    return finished_.pop(voice) ? voice : nullptr;
}

void Mixer::render(float* out, std::size_t frames) {
    applyDue();
    while (frames > 0) {
        std::size_t n = std::min<std::size_t>(frames, kBlockFrames);
        // Up to the next command's frame, so that it takes effect exactly there.
        if (const Command* next = commands_.front()) n = std::min<std::size_t>(n, static_cast<std::size_t>(next->frame - frame_));
        renderBlock(out, static_cast<int>(n));
        out += n;
        frames -= n;
        frame_ += static_cast<std::int64_t>(n);
        applyDue();
    }
}

bool Mixer::quiet() {
    if (commands_.front()) return false;
    for (int i = 0; i < voiceCount_; ++i) {
        const Voice& v = *voices_[static_cast<std::size_t>(i)];
        if (v.playing && v.frames) return false;
    }
    return true;
}

void Mixer::skip(std::int64_t frames) {
    if (frames <= 0) return;
    for (int i = voiceCount_ - 1; i >= 0; --i) {
        Voice& v = *voices_[static_cast<std::size_t>(i)];
        if (v.playing && skipVoice(v, static_cast<std::size_t>(frames)) && v.released) retire(i);
    }
    frame_ += frames;
}

void Mixer::applyDue() {
    while (const Command* next = commands_.front()) {
        if (next->frame > frame_) return;
        const Command command = *next;
        commands_.dropFront();
        if (command.frame < frame_) {
            late_.fetch_add(1, std::memory_order_relaxed);
            mostLate_.store(frame_ - command.frame, std::memory_order_relaxed);
        }
        apply(command);
    }
}

void Mixer::apply(const Command& c) {
    if (c.kind == Command::Kind::Channel) {
        stage_.apply(c.change);
        return;
    }
    Voice& v = *c.voice;
    switch (c.kind) {
    case Command::Kind::Add:
        // The UI thread keeps at most kMaxVoices voices alive, so there is room.
        voices_[static_cast<std::size_t>(voiceCount_++)] = c.voice;
        v.bus = c.bus;
        break;
    case Command::Kind::Play:
        v.playing = true;
        v.looping = c.flag;
        v.playSeq = c.seq;
        break;
    case Command::Kind::Stop:
        v.playing = false;
        break;
    case Command::Kind::Volume:
        v.targetGain = c.gain;
        if (v.playing) {
            v.rampLeft = rampFrames_;
            v.gainStep = (v.targetGain - v.gain) / static_cast<float>(rampFrames_);
        } else {
            v.gain = v.targetGain;
            v.rampLeft = 0;
        }
        break;
    case Command::Kind::Rendition:
        // The same point of the recording in the new rendition (products stay below
        // 2^50 because renditions are at most 2^25 frames).
        v.position = v.length ? std::min(v.position * c.length / v.length, c.length - 1) : 0;
        v.frames = c.frames;
        v.length = c.length;
        break;
    case Command::Kind::Eq:
        if (c.flag && !v.eqOn) v.eq.reset();
        v.eqOn = c.flag;
        v.eqParams = c.eq;
        v.eqDirty = true;
        break;
    case Command::Kind::Release:
        v.released = true;
        // A clip still being read plays out to its end: cutting a word short would
        // teach the ear a sound that does not exist. Loops and stopped voices go now.
        if (!(v.playing && !v.looping)) {
            for (int i = 0; i < voiceCount_; ++i) {
                if (voices_[static_cast<std::size_t>(i)] == c.voice) {
                    retire(i);
                    break;
                }
            }
        }
        return;  // no acknowledgement: the UI thread may free the voice from now on
    case Command::Kind::Channel: break;
    }
    // Release ordering: the UI thread frees a replaced rendition only after it sees
    // this count, so the switch above must be complete before it is published.
    v.applied.store(c.count, std::memory_order_release);
}

void Mixer::renderBlock(float* out, int frames) {
    std::fill_n(out, frames, 0.0f);
    for (int b = 0; b < kBusCount; ++b)
        if (stage_.separate(static_cast<Bus>(b))) std::fill_n(buses_[static_cast<std::size_t>(b)].data(), frames, 0.0f);
    // Downwards, so that retiring (which moves the last voice into the hole) never
    // skips a voice.
    for (int i = voiceCount_ - 1; i >= 0; --i) {
        Voice& v = *voices_[static_cast<std::size_t>(i)];
        if (!v.playing) continue;
        float* into = stage_.separate(v.bus) ? buses_[static_cast<std::size_t>(v.bus)].data() : out;
        if (renderVoice(v, into, frames) && v.released) retire(i);
    }
    for (int b = 0; b < kBusCount; ++b) {
        const Bus bus = static_cast<Bus>(b);
        if (!stage_.separate(bus)) continue;
        float* sound = buses_[static_cast<std::size_t>(b)].data();
        stage_.processBus(bus, sound, frames);
        for (int i = 0; i < frames; ++i) out[i] += sound[i];
    }
    if (stage_.receiverOn()) stage_.processReceiver(out, frames);
    for (int i = 0; i < frames; ++i) {
        const float x = out[i] * outputGain_;
        // Comparisons with NaN are false, so a NaN becomes silence, never a full-scale spike.
        out[i] = x > 1.0f ? 1.0f : x < -1.0f ? -1.0f : x == x ? x : 0.0f;
    }
}

bool Mixer::renderVoice(Voice& v, float* mix, int frames) {
    if (!v.frames) return skipVoice(v, static_cast<std::size_t>(frames));
    float* s = scratch_.data();
    int filled = 0;
    while (filled < frames) {
        if (v.position >= v.length) {
            if (!v.looping || v.length == 0) break;
            v.position = 0;  // the rendition is a cycle: wrapping has no seam
        }
        const int take = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(frames - filled),
                                                                v.length - v.position));
        std::copy_n(v.frames + v.position, take, s + filled);
        filled += take;
        v.position += static_cast<std::size_t>(take);
    }

    if (v.eqOn) {
        if (v.eqDirty) {
            v.eq.setCoefficients(peakingCoefficients(v.eqParams, rate_));
            v.eqDirty = false;
        }
        v.eq.process(s, filled);
    }

    int i = 0;
    for (; i < filled && v.rampLeft > 0; ++i, --v.rampLeft) {
        v.gain += v.gainStep;
        mix[i] += s[i] * v.gain;
    }
    if (v.rampLeft == 0) v.gain = v.targetGain;
    const float gain = v.gain;
    if (gain != 0.0f) {
        for (; i < filled; ++i) mix[i] += s[i] * gain;
    }

    if (v.looping || v.position < v.length) return false;
    return endOnce(v);
}

bool Mixer::skipVoice(Voice& v, std::size_t frames) {
    if (v.length == 0) return false;
    const std::size_t end = v.position + frames;
    v.gain = v.targetGain;
    v.rampLeft = 0;
    if (v.looping) {
        v.position = end % v.length;
        return false;
    }
    if (end < v.length) {
        v.position = end;
        return false;
    }
    return endOnce(v);
}

bool Mixer::endOnce(Voice& v) {
    // A once-play reached its end: the buffer stops by itself and rewinds, so that a
    // later Play reads it again from the start.
    v.playing = false;
    v.position = 0;
    v.eq.reset();
    v.gain = v.targetGain;
    v.rampLeft = 0;
    v.endedPlay.store(v.playSeq, std::memory_order_release);
    return true;
}

void Mixer::retire(int index) {
    Voice* voice = voices_[static_cast<std::size_t>(index)];
    voices_[static_cast<std::size_t>(index)] = voices_[static_cast<std::size_t>(--voiceCount_)];
    // Never full: it holds kMaxVoices and no more voices than that exist.
    finished_.push(voice);
}

}  // namespace tessaly
