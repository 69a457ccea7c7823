#include "wav_file.h"

#include <sndfile.h>

namespace tessaly::noise {

std::string writeWav(const std::string& path, int rateHz, SampleFormat format,
                     const std::vector<std::int16_t>& samples) {
  SF_INFO info{};
  info.samplerate = rateHz;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | (format == SampleFormat::Pcm16 ? SF_FORMAT_PCM_16 : SF_FORMAT_PCM_U8);
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) return sf_strerror(nullptr);
  const auto count = static_cast<sf_count_t>(samples.size());
  std::string error;
  if (sf_write_short(file, samples.data(), count) != count) error = sf_strerror(file);
  if (sf_close(file) != 0 && error.empty()) error = "cannot finish " + path;
  return error;
}

}  // namespace tessaly::noise
