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

std::vector<std::string> voicePackInputs(const std::string& folder) {
    std::vector<std::string> files;
    if (folder.empty()) return files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (isClipFileName(it->path().filename().string())) files.push_back(it->path().string());
    return files;
}

}  // namespace tessaly
