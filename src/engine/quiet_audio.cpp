#include "engine/quiet_audio.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>

#include <mutex>

namespace tessaly {
namespace {

void ignoreAlsa(const char*, int, const char*, int, const char*, ...) {}
void ignoreJack(const char*) {}

using JackMessageSetter = void (*)(void (*)(const char*));

}  // namespace

void quietAudioLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        snd_lib_error_set_handler(&ignoreAlsa);
        // JACK is loaded only as PortAudio's dependency, if PortAudio was built with
        // it: look its setters up instead of linking it ourselves.
        for (const char* name : {"jack_set_error_function", "jack_set_info_function"}) {
            if (void* setter = dlsym(RTLD_DEFAULT, name)) reinterpret_cast<JackMessageSetter>(setter)(&ignoreJack);
        }
    });
}

}  // namespace tessaly
