#pragma once
// The practice state as JSON, as the headless host's "dump" prints it.
#include "form/main_form.h"

#include <nlohmann/json.hpp>

namespace tessaly {

nlohmann::ordered_json dumpState(FormState& form);
// The same, and "analysis" (per character read: read, missed, writtenAs) once a
// practice has been marked.
nlohmann::ordered_json dumpState(MainForm& form);

}  // namespace tessaly
