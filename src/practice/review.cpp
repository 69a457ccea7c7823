// The review list's summary: the count of correct copies, shown as the list's tooltip.
#include "practice/practice_control.h"

namespace tessaly {

int PracticeControl::CountCorrect() {
    int correct = 0;
    for (f.rowIndex = 1; f.rowIndex <= f.groupCount && f.rowIndex <= static_cast<int>(f.ListView1.rows.size()); ++f.rowIndex)
        if (f.ListView1.rows[static_cast<std::size_t>(f.rowIndex - 1)][3] == "Y") ++correct;
    return correct;
}

void PracticeControl::ListView1_MouseMove() {
    // During a practice the tooltip keeps the previous practice's summary.
    if (f.ListView1.rows.empty() || f.practising) return;
    f.ListView1.toolTip = "本次练习呼号听抄正确共" + std::to_string(CountCorrect()) + "个" +
                          (f.summaryAddition.empty() ? "" : "\n" + f.summaryAddition);
}

}  // namespace tessaly
