#pragma once
// What a host may read of a practice, and nothing it could change: the render
// loop, progress displays and tests look at the practice through this.
#include "form/session.h"

#include <string>
#include <vector>

namespace tessaly {

class PracticeView {
public:
    explicit PracticeView(const Session& session) : s_(session) {}

    bool practising() const { return s_.practice().practising(); }
    // Grouped reading: the reader has halted at the end of a callsign.
    bool waitingForAnswer() const { return s_.reader().waitingForAnswer(); }
    int groupCount() const { return s_.practice().groupCount(); }
    int answerCount() const { return s_.practice().answerCount(); }
    int elapsedSeconds() const { return s_.practice().elapsedSeconds(); }
    // One callsign a line, each ended by CR LF; empty once a finished practice is marked.
    const std::string& practiceText() const { return s_.practice().text(); }
    // How far the reader has come through the practice text, 0 .. 1.
    double readingProgress() const {
        const auto length = s_.practice().textLength();
        return length > 0 ? static_cast<double>(s_.reader().readPos()) / length : 0.0;
    }
    const std::vector<CallsignRow>& rows() const { return s_.practice().rows(); }

private:
    const Session& s_;
};

}  // namespace tessaly
