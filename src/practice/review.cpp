// The review list's summary: the count of correct copies, shown as the list's tooltip.
#include "practice/main_form.h"

namespace tessaly {

int MainForm::CountCorrect() {
    int correct = 0;
    for (rowIndex = 1; rowIndex <= groupCount && rowIndex <= static_cast<int>(ListView1.rows.size()); ++rowIndex)
        if (ListView1.rows[static_cast<std::size_t>(rowIndex - 1)][3] == "Y") ++correct;
    return correct;
}

void MainForm::ListView1_MouseMove() {
    // During a practice the tooltip keeps the previous practice's summary.
    if (ListView1.rows.empty() || practising) return;
    ListView1.toolTip = "本次练习呼号听抄正确共" + std::to_string(CountCorrect()) + "个";
}

}  // namespace tessaly
