#pragma once
// The practice state as JSON, as the headless host's "dump" prints it.
#include "practice/main_form.h"

#include <nlohmann/json.hpp>

namespace tessaly {

nlohmann::ordered_json dumpState(MainForm& form);

}  // namespace tessaly
