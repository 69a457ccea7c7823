// The reader: one character of the practice text per tick of Timer2.
#include "speech/speech_output.h"

namespace tessaly {

void SpeechOutput::Timer2_Timer() {
    ++f.readPos;
    const std::string& text = f.Text1.text();
    const std::string character =
        f.readPos >= 1 && static_cast<std::size_t>(f.readPos) <= text.size() ? text.substr(static_cast<std::size_t>(f.readPos - 1), 1) : "";
    // A callsign's first character: the reader has begun that line.
    if (!character.empty() && character != "\r" && character != "\n" && (f.readPos == 1 || text[static_cast<std::size_t>(f.readPos - 2)] == '\n')) {
        ++f.linesStarted;
        if (f.onCallsignBegins) f.onCallsignBegins();
    }
    f.clipName = ResToStr(character);
    if (f.clipName == "NULL" && f.groupedReading()) {
        // End of a callsign in grouped reading: wait for the answer, and skip the LF.
        f.waitingForAnswer = true;
        f.Timer2.setEnabled(false);
        ++f.readPos;
    }
    f.Text5.setText(std::to_string(f.readPos) + f.clipName);
    StartClip();
    if (f.clipName != "NULL") ++f.unitsStarted;
    if (!text.empty() && f.readPos >= f.textLength - 1) endOfReading();
}

void SpeechOutput::endOfReading() {
    f.Timer2.setEnabled(false);
    f.Timer11.setEnabled(false);
    f.readPos = 0;
    f.practising = false;
    for (auto* buffer : {&f.clipBuffer, &f.noiseBuffer, &f.qrnBuffer, &f.qrmBuffer})
        if (*buffer) (*buffer)->stop();
    for (Timer* t : {&f.Timer2, &f.Timer3, &f.Timer4, &f.Timer5, &f.Timer6, &f.Timer7, &f.Timer8, &f.Timer9, &f.Timer10})
        t->setEnabled(false);
    f.Command4.enabled = true;
}

void SpeechOutput::Slider1_Change() {
    if (f.practising) f.restartReaderInterval();
}

}  // namespace tessaly
