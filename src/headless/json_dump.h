#pragma once
// The practice state as JSON, as the headless host's "dump" prints it: the practice,
// the reader and the band, every control and timer, the settings, and once there
// are any, the threshold run's result, the learning record and the error analysis.
#include "form/session.h"

#include <nlohmann/json.hpp>

namespace tessaly {

nlohmann::ordered_json dumpState(const Session& session);

}  // namespace tessaly
