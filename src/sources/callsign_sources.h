#pragma once
// The callsign sources: random callsigns built from the prefix list, or real ones
// drawn from the callsign library, as many as a practice asks for.
#include "base/random_source.h"

#include <string>
#include <vector>

namespace tessaly {

class CallsignSources {
public:
    explicit CallsignSources(RandomSource& random) : random_(random) {}

    // Reads the prefix list (the window's load step).
    void loadPrefixes();

    // `count` callsigns: random ones (the exam word set reads them without suffixes),
    // at least half of them holding one of `drillUnits` when there are any; or real
    // ones from the library, none twice.
    std::vector<std::string> randomCallsigns(int count, bool examSet, const std::vector<std::string>& drillUnits);
    std::vector<std::string> libraryCallsigns(int count);

private:
    RandomSource& random_;
    std::string prefixText_;
    std::string callsignText_;
};

}  // namespace tessaly
