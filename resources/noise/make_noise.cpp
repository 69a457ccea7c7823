// make_noise zaoyin|qrn OUT.wav
//
// Synthesises one of the two noise recordings that are built into the program.
// The seeds are fixed, so every build writes the same bytes.
#include <cstdint>
#include <iostream>
#include <string>

#include "band_hiss.h"
#include "static_crashes.h"
#include "wav_file.h"

namespace {

constexpr std::uint64_t kHissSeed = 0x5a414f59494eULL;
constexpr std::uint64_t kStaticSeed = 0x51524eULL;

}  // namespace

int main(int argc, char** argv) {
  using namespace tessaly::noise;
  if (argc != 3) {
    std::cerr << "usage: make_noise zaoyin|qrn OUT.wav\n";
    return 2;
  }
  const std::string which = argv[1];
  const std::string out = argv[2];
  std::string error;
  if (which == "zaoyin") {
    error = writeWav(out, kHissRateHz, SampleFormat::Pcm16, makeBandHiss(kHissSeed));
  } else if (which == "qrn") {
    error = writeWav(out, kStaticRateHz, SampleFormat::PcmU8, makeStaticCrashes(kStaticSeed));
  } else {
    std::cerr << "make_noise: unknown recording '" << which << "' (zaoyin or qrn)\n";
    return 2;
  }
  if (!error.empty()) {
    std::cerr << "make_noise: " << out << ": " << error << "\n";
    return 1;
  }
  return 0;
}
