# Noise recordings: the band noise "ZAOYIN" and the static crackle "QRN",
# synthesised at build time by our own generator with fixed seeds, so every
# build embeds the same bytes. Appends them to TESSALY_RESOURCE_ENTRIES and
# the target that makes them to TESSALY_RESOURCE_TARGETS.
pkg_check_modules(TESSALY_NOISE_SNDFILE REQUIRED IMPORTED_TARGET sndfile)

set(noise_source "${CMAKE_CURRENT_LIST_DIR}")
set(noise_out "${CMAKE_CURRENT_BINARY_DIR}/noise")
add_executable(tessaly_make_noise
  "${noise_source}/make_noise.cpp"
  "${noise_source}/band_hiss.cpp"
  "${noise_source}/static_crashes.cpp"
  "${noise_source}/periodic_filter.cpp"
  "${noise_source}/level.cpp"
  "${noise_source}/wav_file.cpp")
target_link_libraries(tessaly_make_noise PRIVATE PkgConfig::TESSALY_NOISE_SNDFILE)

set(noise_files "")
foreach(recording ZAOYIN QRN)
  string(TOLOWER "${recording}" which)
  set(file "${noise_out}/${recording}.wav")
  add_custom_command(
    OUTPUT "${file}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${noise_out}"
    COMMAND tessaly_make_noise ${which} "${file}"
    DEPENDS tessaly_make_noise
    COMMENT "Synthesising the noise recording ${recording}"
    VERBATIM)
  list(APPEND noise_files "${file}")
  list(APPEND TESSALY_RESOURCE_ENTRIES WAVE ${recording} "${file}")
endforeach()

add_custom_target(tessaly_noise DEPENDS ${noise_files})
list(APPEND TESSALY_RESOURCE_TARGETS tessaly_noise)
