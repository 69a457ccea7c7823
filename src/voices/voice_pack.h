#pragma once
// A voice pack: a folder of WAV files recorded by the user, one per clip, named by
// the clip ("322.wav" says VIK-TAH; any case). Every clip found replaces the
// built-in one; every clip missing keeps the built-in one. Each file is read (any
// PCM or float WAV, mono or stereo, any common rate), brought to the clips' form
// and checked as it is loaded; the recordings stay on the user's machine and are
// never written anywhere.
#include "sound/clip_catalogue.h"
#include "sound/wave_lookup.h"
#include "voices/clip_conditioning.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tessaly {


// Longest clip a pack may hold after trimming, in seconds.
constexpr double kLongestPackClipSeconds = 2.0;

// True when a file of this name (any case) holds a clip: "301.wav", "mobile.WAV".
bool isClipFileName(const std::string& fileName);

// Longest file read at all, in seconds before trimming: told from its header, so
// that a long recording is refused before any of it is read.
constexpr double kLongestPackFileSeconds = 10.0;

enum class PackRefusal { None, NotAFile, NotReadable, NotPcm, NotFinite, Channels, NoSound, TooLongFile, TooLong };

struct PackClip {
    std::string name;       // clip name, as in spokenClipNames()
    std::string file;       // the file's name in the folder; empty: built-in
    PackRefusal refusal = PackRefusal::None;
    std::string detail;     // what the reader said, the channel count, the length
    double seconds = 0;     // after trimming (found clips)
    double rmsDb = 0, peakDb = 0;
    bool found() const { return !file.empty() && refusal == PackRefusal::None; }
    bool refused() const { return refusal != PackRefusal::None; }
};

// Why a file was refused, for a terminal (English) and for the window (Chinese).
std::string refusalText(const PackClip& clip);
std::string refusalTextZh(const PackClip& clip);

class VoicePack {
public:
    // Reads the folder. Null with a message when the folder itself cannot be read;
    // otherwise every clip and every file is accounted for in clips() and warnings().
    static std::unique_ptr<VoicePack> load(const std::string& folder, std::string& error,
                                           const ConditioningRule& rule = {});

    const std::string& folder() const { return folder_; }
    // One entry per clip name, in the catalogue's order.
    const std::vector<PackClip>& clips() const { return clips_; }
    // Files that are no clip's name, or a second file for one clip: warnings, not errors.
    const std::vector<std::string>& warnings() const { return warnings_; }
    std::vector<const PackClip*> refused() const;
    int foundCount() const;

    // The pack's clips in front of `fallback`, also for a speaker's name of a clip
    // ("awb/301"). The lookup keeps the pack's data alive.
    WaveLookup lookup(WaveLookup fallback) const;

private:
    std::string folder_;
    std::vector<PackClip> clips_;
    std::vector<std::string> warnings_;
    // Found clips as 16-bit PCM WAV bytes, by upper-case name.
    std::shared_ptr<std::map<std::string, std::vector<std::uint8_t>>> bytes_;
};

}  // namespace tessaly
