#include "practice/practice.h"

#include "base/lines.h"
#include "practice/clock.h"
#include "practice/expected_copy.h"

#include <algorithm>
#include <cmath>

namespace tessaly {
namespace {

int countCrLf(const std::string& text) {
    int count = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++count;
    return count;
}

}  // namespace

Practice::Practice(WindowControls& controls, TimerClock& clock, FormHost& host) : controls_(controls), host_(host) {
    Timer12.attach(&clock, [this] { Timer12_Timer(); });
    controls_.Text2.onChange = [this] { Text2_Change(); };
    controls_.ListView1.onMouseMove = [this] { ListView1_MouseMove(); };
}

void Practice::clearForStart() {
    controls_.Text1.setText("");
    controls_.Text6.setText("");
    controls_.ListView1.clear();
    rows_.clear();
    answerCount_ = 0;
    elapsedSeconds_ = 0;
    controls_.Option10.enabled = false;
    controls_.Option11.enabled = false;
}

void Practice::appendCallsigns(const std::vector<std::string>& callsigns) {
    std::string text = controls_.Text1.text();
    for (const std::string& callsign : callsigns) text += callsign + "\r\n";
    controls_.Text1.setText(std::move(text));
    textLength_ = static_cast<std::int32_t>(controls_.Text1.text().size());
    groupCount_ = countCrLf(controls_.Text1.text());  // the edit box's line count minus one
    // Numbered 1 .. groupCount after the rows there are, as the window numbers them.
    for (int number = 1; number <= groupCount_; ++number) {
        CallsignRow row;
        row.line = readline(controls_.Text1.text(), static_cast<int>(rows_.size()) + 1);
        row.expected = ExpectedCopy(row.line);
        rows_.push_back(std::move(row));
        controls_.ListView1.addRow({std::to_string(number), "", "", ""});
    }
}

int Practice::addCallsign(const std::string& callsign) {
    controls_.Text1.setText(controls_.Text1.text() + callsign + "\r\n");
    textLength_ = static_cast<std::int32_t>(controls_.Text1.text().size());
    ++groupCount_;
    CallsignRow row;
    row.line = callsign;
    row.expected = ExpectedCopy(callsign);
    rows_.push_back(std::move(row));
    controls_.ListView1.addRow({std::to_string(rows_.size()), "", "", ""});
    return static_cast<int>(rows_.size());
}

void Practice::beginRunning() {
    controls_.Option8.enabled = false;
    controls_.Option9.enabled = false;
    controls_.Text6.enabled = true;
    practising_ = true;
}

void Practice::startClock() {
    Timer12.setInterval(1000);
    Timer12.setEnabled(true);
    host_.focusControl(controls_.Text6.name);
    controls_.Command4.enabled = false;
    callsignsBegun_ = 0;
    for (CallsignRow& row : rows_) row.unitsRead = 0;
}

void Practice::callsignBegins(std::int64_t nowMs, std::optional<double> snrDb, const std::string& speaker) {
    ++callsignsBegun_;
    if (static_cast<std::size_t>(callsignsBegun_) > rows_.size()) return;
    CallsignRow& row = rows_[static_cast<std::size_t>(callsignsBegun_ - 1)];
    row.begun = true;
    row.begunAtMs = nowMs;
    row.snrDb = snrDb;
    row.speaker = speaker;
}

void Practice::unitRead() {
    if (callsignsBegun_ >= 1 && static_cast<std::size_t>(callsignsBegun_) <= rows_.size())
        ++rows_[static_cast<std::size_t>(callsignsBegun_ - 1)].unitsRead;
}

void Practice::rowHeard(int row, std::int64_t nowMs, std::optional<double> snrDb, const std::string& speaker) {
    CallsignRow& r = rows_.at(static_cast<std::size_t>(row - 1));
    if (!r.begun) {
        r.begun = true;
        r.begunAtMs = nowMs;
        r.snrDb = snrDb;
        r.speaker = speaker;
    }
    r.unitsRead = static_cast<int>(r.line.size());
}

void Practice::storeAnswerAt(int row, const std::string& answer) {
    ++answerCount_;
    rows_.at(static_cast<std::size_t>(row - 1)).answer = answer;
    showRow(static_cast<std::size_t>(row - 1));
    controls_.ListView1.selectedRow = row;
}

void Practice::readingFinished() {
    practising_ = false;
    controls_.Command4.enabled = true;
}

Practice::Confirmed Practice::confirmAnswer() {
    if (controls_.Text6.text().empty()) return Confirmed::Nothing;
    ++answerCount_;
    if (answerCount_ > groupCount_) return Confirmed::PastTheLastRow;
    if (static_cast<std::size_t>(answerCount_) <= rows_.size()) {
        rows_[static_cast<std::size_t>(answerCount_ - 1)].answer = controls_.Text6.text();
        showRow(static_cast<std::size_t>(answerCount_ - 1));
    }
    controls_.ListView1.selectedRow = answerCount_;
    return Confirmed::Stored;
}

void Practice::markAll() {
    const auto marked = std::min<std::size_t>(static_cast<std::size_t>(std::max(groupCount_, 0)), rows_.size());
    for (std::size_t i = 0; i < marked; ++i) {
        CallsignRow& row = rows_[i];
        row.expected = ExpectedCopy(readline(controls_.Text1.text(), static_cast<int>(i) + 1));
        row.copied = row.answer == row.expected;
    }
    // The expected copies first, then the marks, as the list is filled.
    for (std::size_t i = 0; i < marked; ++i) controls_.ListView1.setCell(i, 2, rows_[i].expected);
    for (std::size_t i = 0; i < marked; ++i) showRow(i);
}

void Practice::showRow(std::size_t i) {
    const CallsignRow& row = rows_[i];
    controls_.ListView1.setCell(i, 1, row.answer);
    if (row.copied) {
        controls_.ListView1.setCell(i, 2, row.expected);
        controls_.ListView1.setCell(i, 3, *row.copied ? "Y" : "N");
    }
}

void Practice::stopClock() {
    Timer12.setEnabled(false);
    controls_.Command4.enabled = true;
    for (OptionButton* o : {&controls_.Option8, &controls_.Option9, &controls_.Option10, &controls_.Option11})
        o->enabled = true;
}

int Practice::CountCorrect() const {
    const auto counted = std::min<std::size_t>(static_cast<std::size_t>(std::max(groupCount_, 0)), rows_.size());
    return static_cast<int>(std::count_if(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(counted),
                                          [](const CallsignRow& row) { return row.copied.value_or(false); }));
}

void Practice::ListView1_MouseMove() {
    // During a practice the tooltip keeps the previous practice's summary.
    if (rows_.empty() || practising_) return;
    controls_.ListView1.toolTip = "本次练习呼号听抄正确共" + std::to_string(CountCorrect()) + "个" +
                                  (summaryAddition_.empty() ? "" : "\n" + summaryAddition_);
}

void Practice::Timer12_Timer() {
    ++elapsedSeconds_;
    controls_.Label6.caption = formattime(std::to_string(elapsedSeconds_));
}

void Practice::Text2_Change() {
    const auto number = parseNumber(controls_.Text2.text());
    if (!number) {
        host_.messageBox("错误", "练习组数必须为数字!");
        controls_.Text2.setText("10");
        return;
    }
    // A value too large for a 16-bit integer counts as above 500, and so does one
    // too large for a double, of either sign.
    const double whole = roundHalfEven(*number);
    if (std::isfinite(whole) && whole <= 500) return;
    host_.messageBox("错误", "练习组数不要大于500组!");
    controls_.Text2.setText("10");
}

}  // namespace tessaly
