// Taking answers from the answer box, and marking them.
#include "practice/answers.h"

#include "practice/practice_control.h"
#include "base/lines.h"

#include <algorithm>
#include <cctype>

namespace tessaly {

std::string ExpectedCopy(const std::string& line) {
    std::string upper = line;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto lowPower = line.find("/q");
    if (lowPower == std::string::npos) return upper;
    return upper.substr(0, lowPower + 1) + "QRP";
}

void PracticeControl::Text6_KeyPress(int& KeyAscii) {
    if (KeyAscii >= 'a' && KeyAscii <= 'z') KeyAscii -= 32;
    if (KeyAscii != 13) return;
    if (!f.Text6.text().empty()) {
        ++f.answerCount;
        if (f.answerCount <= f.groupCount) {
            if (static_cast<std::size_t>(f.answerCount) <= f.ListView1.rows.size())
                f.ListView1.setCell(static_cast<std::size_t>(f.answerCount - 1), 1, f.Text6.text());
            f.ListView1.selectedRow = f.answerCount;
            if (f.onAnswered) f.onAnswered(f.answerCount);
            if (f.practising && !f.Timer2.enabled() && f.groupedReading()) {
                f.waitingForAnswer = false;
                f.Timer2.setEnabled(true);
            }
        } else {
            // An answer past the last row ends the practice; it is not stored.
            Command5_Click();
            f.Text6.enabled = false;
        }
        if (!f.practising) {
            f.Text6.enabled = false;
            MarkAnswers();
            for (OptionButton* o : {&f.Option8, &f.Option9, &f.Option10, &f.Option11}) o->enabled = true;
            f.Timer12.setEnabled(false);
            f.Text1.setText("");
        }
    }
    f.Text6.setText("");
}

void PracticeControl::MarkAnswers() {
    const auto rows = std::min<std::size_t>(static_cast<std::size_t>(std::max(f.groupCount, 0)), f.ListView1.rows.size());
    for (f.rowIndex = 1; f.rowIndex <= static_cast<int>(rows); ++f.rowIndex)
        f.ListView1.setCell(static_cast<std::size_t>(f.rowIndex - 1), 2, ExpectedCopy(readline(f.Text1.text(), f.rowIndex)));
    for (f.rowIndex = 1; f.rowIndex <= static_cast<int>(rows); ++f.rowIndex) {
        const auto& row = f.ListView1.rows[static_cast<std::size_t>(f.rowIndex - 1)];
        f.ListView1.setCell(static_cast<std::size_t>(f.rowIndex - 1), 3, row[1] == row[2] ? "Y" : "N");
    }
    if (f.onMarked) f.onMarked();
}

}  // namespace tessaly
