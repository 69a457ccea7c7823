# Spoken clips: made at build time from the word lists beside this file by
# make_clips.sh (flite, festival and sox, installed by scripts/setup.sh), one
# command per list, plus the silent pause clip "NULL". Each word is trimmed and
# levelled by tessaly_make_clip, with the rule voice packs are loaded with.
# Then every built-in speaker (speakers/<name>.txt) says the words of all the
# lists in its own voice, one command per speaker: its clip X is the resource
# "<name>/X". Appends each clip to TESSALY_RESOURCE_ENTRIES and the target that
# makes them to TESSALY_RESOURCE_TARGETS.
foreach(tool flite festival sox soxi)
  find_program(TESSALY_${tool}_PROGRAM ${tool})
  if(NOT TESSALY_${tool}_PROGRAM)
    message(FATAL_ERROR "The voices are made with ${tool}, which is missing: run scripts/setup.sh.")
  endif()
endforeach()

set(voices_source "${CMAKE_CURRENT_LIST_DIR}")

pkg_check_modules(SNDFILE_CLIPS REQUIRED IMPORTED_TARGET sndfile)
add_executable(tessaly_make_clip
  "${voices_source}/make_clip.cpp"
  "${PROJECT_SOURCE_DIR}/src/voices/clip_conditioning.cpp")
target_include_directories(tessaly_make_clip PRIVATE "${PROJECT_SOURCE_DIR}/src")
target_link_libraries(tessaly_make_clip PRIVATE PkgConfig::SNDFILE_CLIPS)
set(voices_out "${CMAKE_CURRENT_BINARY_DIR}/voices")
set(voices_script "${voices_source}/make_clips.sh")
set(voices_files "")
set(voices_lists "")
set(voices_clips "")
foreach(list letters_standard letters_places letters_other letters_exam digits_plain digits_exam digits_figures designators)
  set(list_file "${voices_source}/${list}.txt")
  # A clip added to a list must reach the table of resources too.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${list_file}")
  file(STRINGS "${list_file}" lines)
  set(outputs "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*(#|$)" OR line MATCHES "^voice[ \t]")
      continue()
    endif()
    string(REGEX MATCH "^[^ \t]+" name "${line}")
    list(APPEND outputs "${voices_out}/${name}.wav")
    list(APPEND TESSALY_RESOURCE_ENTRIES WAVE "${name}" "${voices_out}/${name}.wav")
    list(APPEND voices_clips "${name}")
  endforeach()
  list(APPEND voices_lists "${list_file}")
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND bash "${voices_script}" "$<TARGET_FILE:tessaly_make_clip>" "${list_file}" "${voices_out}"
    DEPENDS "${list_file}" "${voices_script}" tessaly_make_clip
    COMMENT "Speaking the clips of ${list}.txt"
    VERBATIM)
  list(APPEND voices_files ${outputs})
endforeach()

# The pause: 14,300 bytes of 8-bit silence (128) at 11025 Hz, which the reader
# plays at 22050 Hz, so about 0.65 s.
set(null_clip "${voices_out}/NULL.wav")
add_custom_command(
  OUTPUT "${null_clip}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${voices_out}"
  COMMAND "${TESSALY_sox_PROGRAM}" -D -R -V1 -r 11025 -n -c 1 -b 8 -e unsigned-integer "${null_clip}" trim 0 14300s
  COMMENT "Making the pause clip NULL"
  VERBATIM)
list(APPEND voices_files "${null_clip}")
list(APPEND TESSALY_RESOURCE_ENTRIES WAVE NULL "${null_clip}")

# The speakers, each saying every clip of the lists above (after the clips
# played most, since a resource is found by a search in order).
foreach(speaker awb kal rms slt slt-hts)
  set(speaker_file "${voices_source}/speakers/${speaker}.txt")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${speaker_file}")
  set(outputs "")
  foreach(name IN LISTS voices_clips)
    list(APPEND outputs "${voices_out}/${speaker}/${name}.wav")
    list(APPEND TESSALY_RESOURCE_ENTRIES WAVE "${speaker}/${name}" "${voices_out}/${speaker}/${name}.wav")
  endforeach()
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND bash "${voices_script}" "$<TARGET_FILE:tessaly_make_clip>" --speaker "${speaker_file}"
            "${voices_out}/${speaker}" ${voices_lists}
    DEPENDS "${speaker_file}" ${voices_lists} "${voices_script}" tessaly_make_clip
    COMMENT "Speaking every clip as ${speaker}"
    VERBATIM)
  list(APPEND voices_files ${outputs})
endforeach()

add_custom_target(tessaly_voices DEPENDS ${voices_files})
list(APPEND TESSALY_RESOURCE_TARGETS tessaly_voices)
