// Starting and stopping a practice, and the end of reading.
#include "practice/main_form.h"

namespace tessaly {

void MainForm::Command4_Click() {
    Text1.setText("");
    Text6.setText("");
    ListView1.clear();
    readPos = 0;
    answerCount = 0;
    elapsedSeconds = 0;
    Option10.enabled = false;
    Option11.enabled = false;
    Command1_Click();  // the generator, pressed in code
    Option8.enabled = false;
    Option9.enabled = false;
    restartReaderInterval();
    Timer2.setEnabled(true);
    Text6.enabled = true;
    waitingForAnswer = false;
    practising = true;
    // Without a sound device the noise loops do not exist: the practice runs silently.
    if (noiseBuffer) noiseBuffer->play(true);
    if (Check1.ticked() && qrnBuffer) qrnBuffer->play(true);
    if (Check2.ticked()) Timer3.setEnabled(true);
    if (Check3.ticked()) {
        Timer4.setInterval(drawTimerInterval());
        Timer4.setEnabled(true);
    }
    if (Check4.ticked()) {
        Timer6.setInterval(drawTimerInterval());
        Timer6.setEnabled(true);
    }
    if (Check5.ticked()) {
        Timer8.setInterval(2000);
        Timer8.setEnabled(true);
    }
    if (Check6.ticked()) {
        Timer9.setInterval(1000);
        Timer9.setEnabled(true);
    }
    Timer12.setInterval(1000);
    Timer12.setEnabled(true);
    host_.focusControl(Text6.name);
    Timer11.setEnabled(true);
    Command4.enabled = false;
}

void MainForm::Command5_Click() {
    practising = false;
    Timer11.setEnabled(false);
    // The interferer's clip is left to finish; its timer stops below.
    for (auto* buffer : {&clipBuffer, &noiseBuffer, &qrnBuffer})
        if (*buffer) (*buffer)->stop();
    for (Timer* t : {&Timer2, &Timer3, &Timer4, &Timer5, &Timer6, &Timer7, &Timer8, &Timer9, &Timer10})
        t->setEnabled(false);
    Text6.enabled = false;
    if (!Text1.text().empty()) {
        MarkAnswers();
        Timer2.setEnabled(false);
        readPos = 0;
        answerCount = 0;
    }
    Timer12.setEnabled(false);
    Command4.enabled = true;
    for (OptionButton* o : {&Option8, &Option9, &Option10, &Option11}) o->enabled = true;
}

void MainForm::endOfReading() {
    Timer2.setEnabled(false);
    Timer11.setEnabled(false);
    readPos = 0;
    practising = false;
    for (auto* buffer : {&clipBuffer, &noiseBuffer, &qrnBuffer, &qrmBuffer})
        if (*buffer) (*buffer)->stop();
    for (Timer* t : {&Timer2, &Timer3, &Timer4, &Timer5, &Timer6, &Timer7, &Timer8, &Timer9, &Timer10})
        t->setEnabled(false);
    Command4.enabled = true;
}

}  // namespace tessaly
