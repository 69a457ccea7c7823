// The reader: one character of the practice text per tick of Timer2.
#include "practice/main_form.h"

namespace tessaly {

void MainForm::Timer2_Timer() {
    ++readPos;
    const std::string& text = Text1.text();
    const std::string character =
        readPos >= 1 && static_cast<std::size_t>(readPos) <= text.size() ? text.substr(static_cast<std::size_t>(readPos - 1), 1) : "";
    clipName = ResToStr(character);
    if (clipName == "NULL" && groupedReading()) {
        // End of a callsign in grouped reading: wait for the answer, and skip the LF.
        waitingForAnswer = true;
        Timer2.setEnabled(false);
        ++readPos;
    }
    Text5.setText(std::to_string(readPos) + clipName);
    StartClip();
    if (!text.empty() && readPos >= textLength - 1) endOfReading();
}

void MainForm::Slider1_Change() {
    if (practising) restartReaderInterval();
}

}  // namespace tessaly
