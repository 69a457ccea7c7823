#include "headless/voice_pack_option.h"

#include "voices/voice_pack.h"

#include <filesystem>
#include <ostream>

namespace tessaly {

std::optional<WaveLookup> wavesWithVoicePack(const std::string& command, const std::string& folder, std::ostream& err) {
    if (folder.empty()) return builtInWaves();
    std::string error;
    auto pack = VoicePack::load(folder, error);
    if (!pack) {
        err << "tessaly " << command << ": voice pack " << folder << ": " << error << '\n';
        return std::nullopt;
    }
    const auto path = [&](const std::string& file) { return (std::filesystem::path(folder) / file).string(); };
    for (const std::string& warning : pack->warnings())
        err << "tessaly " << command << ": warning: voice pack " << folder << ": " << warning << '\n';
    const auto refused = pack->refused();
    for (const PackClip* clip : refused) err << "tessaly " << command << ": " << path(clip->file) << ": " << refusalText(*clip) << '\n';
    if (!refused.empty()) return std::nullopt;
    return pack->lookup(builtInWaves());
}

}  // namespace tessaly
