#pragma once
// The practice state as JSON, as the headless host's "dump" prints it.
#include "practice/form_state.h"

#include <nlohmann/json.hpp>

namespace tessaly {

nlohmann::ordered_json dumpState(FormState& form);

}  // namespace tessaly
