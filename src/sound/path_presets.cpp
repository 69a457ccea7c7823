#include "sound/path_presets.h"

#include <algorithm>
#include <array>

namespace tessaly {
namespace {

// good .. flutter: the CCIR two-path conditions. mid-* and high-*: the mid- and
// high-latitude quiet, moderate and disturbed conditions of ITU-R F.1487 (the mid-latitude
// ones repeat good, moderate and poor). The spread is 2 sigma, as both tables give it.
constexpr std::array kPresets{
    PathPreset{"off", "关", 0.0, 0.0, "不经电离层路径，声音原样"},
    PathPreset{"good", "良好", 0.5, 0.1, "十来秒一次缓慢起伏，一个字内听不出变化"},
    PathPreset{"moderate", "一般", 1.0, 0.5, "一两秒起落一次，字与字响度不同"},
    PathPreset{"poor", "较差", 2.0, 1.0, "约一秒起落一次，字内也会变弱，声音发空"},
    PathPreset{"flutter", "颤动", 0.5, 10.0, "每秒十来次的快速颤抖，像极光路径"},
    PathPreset{"mid-quiet", "中纬度平静", 0.5, 0.1, "中纬度平静：十来秒一次缓慢起伏"},
    PathPreset{"mid-moderate", "中纬度一般", 1.0, 0.5, "中纬度一般：一两秒起落一次"},
    PathPreset{"mid-disturbed", "中纬度扰动", 2.0, 1.0, "中纬度扰动：约一秒起落一次，声音发空"},
    PathPreset{"high-quiet", "高纬度平静", 1.0, 0.5, "高纬度平静：一两秒起落一次，音色略空"},
    PathPreset{"high-moderate", "高纬度一般", 3.0, 10.0, "高纬度一般：快速颤抖，声音像在管子里"},
    PathPreset{"high-disturbed", "高纬度扰动", 7.0, 30.0, "高纬度扰动：沙哑的颤音夹着回声，很难听清"},
};

}  // namespace

std::span<const PathPreset> pathPresets() { return kPresets; }

const PathPreset* findPathPreset(std::string_view name) {
    for (const PathPreset& p : kPresets) {
        if (name == p.name) return &p;
    }
    return nullptr;
}

double longestPathDelayMs() {
    double longest = 0;
    for (const PathPreset& p : kPresets) longest = std::max(longest, p.delayMs);
    return longest;
}

std::string pathPresetNames() {
    std::string names;
    for (const PathPreset& p : pathPresets()) names += (names.empty() ? "" : ", ") + std::string(p.name);
    return names;
}

}  // namespace tessaly
