// Starting and stopping a practice.
#include "practice/practice_control.h"

namespace tessaly {

void PracticeControl::Command4_Click() {
    f.Text1.setText("");
    f.Text6.setText("");
    f.ListView1.clear();
    f.readPos = 0;
    f.answerCount = 0;
    f.elapsedSeconds = 0;
    f.Option10.enabled = false;
    f.Option11.enabled = false;
    if (f.onStarting) f.onStarting();
    f.Command1.press();  // the generator
    f.Option8.enabled = false;
    f.Option9.enabled = false;
    f.restartReaderInterval();
    f.Timer2.setEnabled(true);
    f.Text6.enabled = true;
    f.waitingForAnswer = false;
    f.practising = true;
    if (f.onStartConditions) f.onStartConditions();  // the band noise and the ticked conditions
    f.Timer12.setInterval(1000);
    f.Timer12.setEnabled(true);
    f.host().focusControl(f.Text6.name);
    f.Timer11.setEnabled(true);
    f.Command4.enabled = false;
    f.linesStarted = 0;
    f.unitsStarted = 0;
    if (f.onStarted) f.onStarted();
}

void PracticeControl::Command5_Click() {
    f.practising = false;
    f.Timer11.setEnabled(false);
    // The interferer's clip is left to finish; its timer stops below.
    for (auto* buffer : {&f.clipBuffer, &f.noiseBuffer, &f.qrnBuffer})
        if (*buffer) (*buffer)->stop();
    for (Timer* t : {&f.Timer2, &f.Timer3, &f.Timer4, &f.Timer5, &f.Timer6, &f.Timer7, &f.Timer8, &f.Timer9, &f.Timer10})
        t->setEnabled(false);
    f.Text6.enabled = false;
    if (!f.Text1.text().empty()) {
        MarkAnswers();
        f.Timer2.setEnabled(false);
        f.readPos = 0;
        f.answerCount = 0;
    }
    f.Timer12.setEnabled(false);
    f.Command4.enabled = true;
    for (OptionButton* o : {&f.Option8, &f.Option9, &f.Option10, &f.Option11}) o->enabled = true;
}

}  // namespace tessaly
