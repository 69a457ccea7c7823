#pragma once
// The practice: the practice set as typed rows (each callsign as read, answered and
// marked), the answers taken from the answer box, the elapsed-time clock and the
// group-count check, and whether a practice runs. The answer list, the practice text
// box and the clock label show this state; the practice alone writes them, and
// everyone else reads the rows, never the list's cells.
#include "practice/form_host.h"
#include "practice/timer.h"
#include "practice/window_controls.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// One callsign of the practice set.
struct CallsignRow {
    std::string line;             // the practice-text line as read, with its codes ("JA1ABC/m")
    std::string expected;         // what a correct copy is (ExpectedCopy of the line)
    std::string answer;           // as confirmed in the answer box; "" while none
    std::optional<bool> copied;   // the mark, once the list is marked: Y when true
    std::optional<double> snrDb;  // the SNR it was read at; none when no SNR was set
    bool begun = false;           // the reader has started its first character
    std::int64_t begunAtMs = -1;  // when, on the form clock
    std::string speaker;          // whose voice read it: "" for each word set's own
    int unitsRead = 0;            // characters whose clips the reader has started
};

class Practice {
public:
    Practice(WindowControls& controls, TimerClock& clock, FormHost& host);
    Practice(const Practice&) = delete;
    Practice& operator=(const Practice&) = delete;

    // ---- Start
    // Empties the practice text, the answer box and the list; the answer count and
    // the clock go back to 0; the source can no longer be changed.
    void clearForStart();
    // The generator's lines, appended to the practice text, and a numbered row for each
    // of its lines.
    void appendCallsigns(const std::vector<std::string>& callsigns);
    // One callsign more, as a pile-up's caller joins: its line and a row numbered after
    // the last. Its row number (from 1).
    int addCallsign(const std::string& callsign);
    // The reading mode locked, the answer box open: the practice runs.
    void beginRunning();
    // The clock runs, the answer box has the focus and Start waits for the end.
    void startClock();

    // ---- reading
    // The reader begins the next callsign at `nowMs`, heard at `snrDb`, in `speaker`'s voice.
    void callsignBegins(std::int64_t nowMs, std::optional<double> snrDb, const std::string& speaker);
    // The reader started the clip of one character of the callsign it is reading.
    void unitRead();
    // Row `row` (from 1) was heard whole at `nowMs` (a pile-up's caller calling).
    void rowHeard(int row, std::int64_t nowMs, std::optional<double> snrDb, const std::string& speaker);
    // The reader has reached the end of the practice text: reading finished.
    void readingFinished();

    // ---- answers
    enum class Confirmed { Nothing, Stored, PastTheLastRow };
    // Enter in the answer box: a non-empty answer is stored in the next row (its
    // number is answerCount()); one past the last row is not stored.
    Confirmed confirmAnswer();
    // An answer that belongs to row `row` (from 1) whatever the order: a pile-up's.
    void storeAnswerAt(int row, const std::string& answer);
    const std::string& answerBoxText() const { return controls_.Text6.text(); }
    // Empties the answer box (after every Enter).
    void clearAnswerBox() { controls_.Text6.setText(""); }

    // ---- ending
    // Stop's first step: no longer practising.
    void stopRunning() { practising_ = false; }
    void closeAnswerBox() { controls_.Text6.enabled = false; }
    // Each row gets its expected copy and its mark.
    void markAll();
    // After a stop that marked the list: the answers are counted from the start again.
    void resetAnswerCount() { answerCount_ = 0; }
    // The clock stops and Start and the reading settings are free again.
    void stopClock();
    // After the last answer marked the list: the practice text is gone.
    void dropPracticeText() { controls_.Text1.setText(""); }

    // ---- summary
    void ListView1_MouseMove();
    int CountCorrect() const;
    // A line under the summary ("本次字符阈值 ..."), or "" for the summary alone.
    void setSummaryAddition(std::string line) { summaryAddition_ = std::move(line); }
    const std::string& summaryAddition() const { return summaryAddition_; }

    // ---- the group-count box and the clock
    void Text2_Change();
    void Timer12_Timer();

    // ---- what the others read
    bool practising() const { return practising_; }
    const std::vector<CallsignRow>& rows() const { return rows_; }
    const std::string& text() const { return controls_.Text1.text(); }
    std::int32_t textLength() const { return textLength_; }
    std::int32_t groupCount() const { return groupCount_; }
    int answerCount() const { return answerCount_; }
    std::int32_t elapsedSeconds() const { return elapsedSeconds_; }
    int callsignsBegun() const { return callsignsBegun_; }
    const Timer& clockTimer() const { return Timer12; }
    Timer& clockTimer() { return Timer12; }

private:
    // Shows row i (0-based) in the answer list.
    void showRow(std::size_t i);

    WindowControls& controls_;
    FormHost& host_;
    Timer Timer12{"Timer12", 12};  // the elapsed-time clock, 1000 ms
    std::vector<CallsignRow> rows_;
    std::int32_t textLength_ = 0;
    std::int32_t groupCount_ = 0;
    int answerCount_ = 0;
    bool practising_ = false;
    std::int32_t elapsedSeconds_ = 0;
    int callsignsBegun_ = 0;
    std::string summaryAddition_;
};

}  // namespace tessaly
