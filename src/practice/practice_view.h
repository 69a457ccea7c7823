#pragma once
// What a host may read of a practice, and nothing it could change: the render
// loop, progress displays and tests look at the practice through this.
#include "practice/form_state.h"

#include <string>
#include <vector>

namespace tessaly {

class PracticeView {
public:
    explicit PracticeView(const FormState& form) : f_(form) {}

    bool practising() const { return f_.practising; }
    // Grouped reading: the reader has halted at the end of a callsign.
    bool waitingForAnswer() const { return f_.waitingForAnswer; }
    int groupCount() const { return f_.groupCount; }
    int answerCount() const { return f_.answerCount; }
    int elapsedSeconds() const { return f_.elapsedSeconds; }
    // One callsign a line, each ended by CR LF; empty once a finished practice is marked.
    const std::string& practiceText() const { return f_.Text1.text(); }
    // How far the reader has come through the practice text, 0 .. 1.
    double readingProgress() const {
        return f_.textLength > 0 ? static_cast<double>(f_.readPos) / f_.textLength : 0.0;
    }
    const std::vector<ListView::Row>& rows() const { return f_.ListView1.rows; }

private:
    const FormState& f_;
};

}  // namespace tessaly
