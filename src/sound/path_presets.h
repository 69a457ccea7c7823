#pragma once
// The ionospheric paths a station can be heard over: two paths of equal mean power,
// one delayed, each fading with a Gaussian Doppler spectrum (the two-path model of
// the HF channel simulator tables). "off" is the first entry and means no path at all.
#include <span>
#include <string>
#include <string_view>

namespace tessaly {

struct PathPreset {
    const char* name;           // "off", "good", ..., "high-disturbed"
    const char* nameZh;         // the menu's name for it
    double delayMs;             // differential delay between the two paths, ms
    double dopplerSpreadHz;     // two-sigma width of each path's Gaussian Doppler spectrum, Hz
    const char* descriptionZh;  // one short line on what it sounds like, for the menu
};

// Every preset, "off" first.
std::span<const PathPreset> pathPresets();

// The preset of this name (exact, lower case), or null.
const PathPreset* findPathPreset(std::string_view name);

// Every preset's name, "off, good, ..." for messages.
std::string pathPresetNames();

// The longest differential delay of any preset, ms: what a path allocates for.
double longestPathDelayMs();

}  // namespace tessaly
