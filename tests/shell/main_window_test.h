#pragma once
#include <QObject>

namespace tessaly::qt::testing {

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void freshWindowShowsTheDefaults();
    void wholePracticeFromStartToTheMarks();
    void answerBoxKeepsItsCaretAtTheEnd();
    void groupCountEditsAreChecked_data();
    void groupCountEditsAreChecked();
    void groupCountMessageIsAModalInformationBox();
    void practiceLocksTheModeSettings();
    void variationDisablesItsManualControl_data();
    void variationDisablesItsManualControl();
    void sliderDragChangesTheSpeedWhenLetGo();
    void quitEndsWithoutTheUnloadStep();
    void closingWhilePractisingUnloadsAndStopsEveryTimer();
};

}  // namespace tessaly::qt::testing
