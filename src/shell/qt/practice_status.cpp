#include "shell/qt/practice_status.h"

#include <algorithm>
#include <cmath>

namespace tessaly::qt {

namespace {
// A whole percentage that shows 100% only for all and 0% only for none: a learner
// reads "100%" as "no mistakes".
long percent(int part, int whole) {
    long value = std::lround(100.0 * part / whole);
    if (part < whole) value = std::min(value, 99L);
    if (part > 0) value = std::max(value, 1L);
    return value;
}
}  // namespace

int copiedRows(const Session& session) { return session.practice().CountCorrect(); }

PracticeStatus practiceStatus(const Session& session, int copied) {
    PracticeStatus s;
    const Practice& practice = session.practice();
    const auto& rows = practice.rows();
    s.groups = std::min(practice.groupCount(), static_cast<int>(rows.size()));
    if (practice.practising()) {
        s.stage = session.reader().waitingForAnswer() ? PracticeStatus::Stage::WaitingForAnswer
                                                      : PracticeStatus::Stage::Reading;
        // Before the first clip the first callsign is on its way.
        s.group = std::clamp(practice.callsignsBegun(), 1, std::max(s.groups, 1));
    } else if (session.controls().Text6.enabled && !practice.text().empty()) {
        s.stage = PracticeStatus::Stage::ReadingOver;  // continuous reading done, answers still open
    } else if (s.groups > 0 && rows.front().copied) {
        s.stage = PracticeStatus::Stage::Marked;
        s.copied = copied;
    } else {
        s.groups = 0;
    }
    return s;
}

QString statusText(const PracticeStatus& s) {
    using Stage = PracticeStatus::Stage;
    switch (s.stage) {
        case Stage::Idle: return {};
        case Stage::Reading: return QStringLiteral("第 %1/%2 组 · 报读中").arg(s.group).arg(s.groups);
        case Stage::WaitingForAnswer: return QStringLiteral("第 %1/%2 组 · 请输入").arg(s.group).arg(s.groups);
        case Stage::ReadingOver: return QStringLiteral("报读完毕 · 请输入");
        case Stage::Marked:
            if (s.groups == 0) return {};
            return QStringLiteral("正确 %1/%2 (%3%)").arg(s.copied).arg(s.groups).arg(percent(s.copied, s.groups));
    }
    return {};
}

}  // namespace tessaly::qt
