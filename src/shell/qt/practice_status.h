#pragma once
// Where a practice stands, in a few words for the right of the menu bar: the
// callsign being read and whether the reader waits for its answer, and once the
// list is marked, the score. Read from the form after every tick; the text is
// made only when one of these facts changed.
#include "form/session.h"

#include <QString>

namespace tessaly::qt {

struct PracticeStatus {
    enum class Stage { Idle, Reading, WaitingForAnswer, ReadingOver, Marked };
    enum class Run { None, Armed, Running, Unfinished };  // a threshold run: asked for, under way, stopped
    Stage stage = Stage::Idle;
    int group = 0;   // the callsign the reader is at, 1-based
    int groups = 0;  // callsigns in the practice
    int copied = 0;  // marked Y
    bool answeredAhead = false;  // the callsign being read has its answer already
    Run run = Run::None;
    int snrTenths = 0;           // a threshold run: the SNR this callsign is read at, tenths of a dB

    bool operator==(const PracticeStatus&) const = default;
};

// `copied`: the rows marked Y, counted when the rows change rather than after every tick.
PracticeStatus practiceStatus(const Session& session, int copied);
int copiedRows(const Session& session);
// "第 2/5 组 · 报读中", "第 2/5 组 · 请输入", "报读完毕 · 请输入", "正确 3/5 (60%)"; "" when idle.
// A threshold run: "阈值测试 · 第 3/20 · +2 dB", and "阈值测试 · 待开始" while it waits for Start.
QString statusText(const PracticeStatus& status);

}  // namespace tessaly::qt
