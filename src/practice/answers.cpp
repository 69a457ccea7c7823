// Taking answers from the answer box, and marking them.
#include "practice/answers.h"

#include "practice/main_form.h"
#include "sources/lines.h"

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

void MainForm::Text6_KeyPress(int& KeyAscii) {
    if (KeyAscii >= 'a' && KeyAscii <= 'z') KeyAscii -= 32;
    if (KeyAscii != 13) return;
    if (!Text6.text().empty()) {
        ++answerCount;
        if (answerCount <= groupCount) {
            if (static_cast<std::size_t>(answerCount) <= ListView1.rows.size())
                ListView1.rows[static_cast<std::size_t>(answerCount - 1)][1] = Text6.text();
            ListView1.selectedRow = answerCount;
            if (practising && !Timer2.enabled() && groupedReading()) {
                waitingForAnswer = false;
                Timer2.setEnabled(true);
            }
        } else {
            // An answer past the last row ends the practice; it is not stored.
            Command5_Click();
            Text6.enabled = false;
        }
        if (!practising) {
            Text6.enabled = false;
            MarkAnswers();
            for (OptionButton* o : {&Option8, &Option9, &Option10, &Option11}) o->enabled = true;
            Timer12.setEnabled(false);
            Text1.setText("");
        }
    }
    Text6.setText("");
}

void MainForm::MarkAnswers() {
    const auto rows = std::min<std::size_t>(static_cast<std::size_t>(std::max(groupCount, 0)), ListView1.rows.size());
    for (rowIndex = 1; rowIndex <= static_cast<int>(rows); ++rowIndex)
        ListView1.rows[static_cast<std::size_t>(rowIndex - 1)][2] = ExpectedCopy(readline(Text1.text(), rowIndex));
    for (rowIndex = 1; rowIndex <= static_cast<int>(rows); ++rowIndex) {
        auto& row = ListView1.rows[static_cast<std::size_t>(rowIndex - 1)];
        row[3].assign(1, row[1] == row[2] ? 'Y' : 'N');
    }
}

}  // namespace tessaly
