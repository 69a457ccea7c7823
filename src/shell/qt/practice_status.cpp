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
    if (practice.practising() && session.pileup().running()) {
        s.stage = PracticeStatus::Stage::Reading;
        s.group = session.pileup().round();
        s.calling = session.pileup().calling();
        s.worked = session.pileup().worked();
    } else if (practice.practising()) {
        s.stage = session.reader().waitingForAnswer() ? PracticeStatus::Stage::WaitingForAnswer
                                                      : PracticeStatus::Stage::Reading;
        // Before the first clip the first callsign is on its way.
        s.group = std::clamp(practice.callsignsBegun(), 1, std::max(s.groups, 1));
        s.answeredAhead = practice.callsignsBegun() >= 1 && practice.answerCount() >= practice.callsignsBegun();
        if (session.threshold().running()) {
            s.run = PracticeStatus::Run::Running;
            s.snrTenths = static_cast<int>(std::lround(session.band().callsignSnr().value_or(0) * 10));
        }
    } else if (session.controls().Text6.enabled && !practice.text().empty()) {
        s.stage = PracticeStatus::Stage::ReadingOver;  // continuous reading done, answers still open
    } else if (s.groups > 0 && rows.front().copied) {
        s.stage = PracticeStatus::Stage::Marked;
        s.copied = copied;
    } else {
        s.groups = 0;
    }
    if (!practice.practising() && session.threshold().armed()) s.run = PracticeStatus::Run::Armed;
    if (s.stage == PracticeStatus::Stage::Marked && practice.summaryAddition() == ThresholdRun::kNotFound)
        s.run = PracticeStatus::Run::Unfinished;
    return s;
}

namespace {
// "+2", "-3.5", "0": an SNR with its sign, to a tenth.
QString signedDb(int tenths) {
    QString text = QString::number(tenths / 10.0, 'f', tenths % 10 ? 1 : 0);
    return tenths > 0 ? QStringLiteral("+") + text : text;
}
}  // namespace

QString statusText(const PracticeStatus& s) {
    using Stage = PracticeStatus::Stage;
    if (s.calling >= 0)
        return QStringLiteral("呼叫堆积 · 第 %1 轮 · %2 个电台在呼叫 · 已联络 %3").arg(s.group).arg(s.calling).arg(s.worked);
    if (s.run == PracticeStatus::Run::Running)
        return QStringLiteral("阈值测试 · 第 %1/%2 · %3 dB").arg(s.group).arg(s.groups).arg(signedDb(s.snrTenths));
    if (s.run == PracticeStatus::Run::Armed && s.stage != Stage::ReadingOver) {
        const QString armed = QStringLiteral("阈值测试 · 待开始");
        const QString before = statusText({s.stage, s.group, s.groups, s.copied});
        return before.isEmpty() ? armed : before + QStringLiteral(" · ") + armed;
    }
    if (s.run == PracticeStatus::Run::Unfinished)
        return statusText({s.stage, s.group, s.groups, s.copied}) +
               QStringLiteral(" · 阈值测试没有做完");
    switch (s.stage) {
        case Stage::Idle: return {};
        case Stage::Reading:
            // Taken early: the reader will wait at the callsign's end all the same.
            if (s.answeredAhead) return QStringLiteral("第 %1/%2 组 · 本组答案已记下").arg(s.group).arg(s.groups);
            return QStringLiteral("第 %1/%2 组 · 报读中").arg(s.group).arg(s.groups);
        case Stage::WaitingForAnswer:
            if (s.answeredAhead)
                return QStringLiteral("第 %1/%2 组 · 本组答案已记下，报读等下一次回车").arg(s.group).arg(s.groups);
            return QStringLiteral("第 %1/%2 组 · 请输入").arg(s.group).arg(s.groups);
        case Stage::ReadingOver: return QStringLiteral("报读完毕 · 请输入");
        case Stage::Marked:
            if (s.groups == 0) return {};
            return QStringLiteral("正确 %1/%2（%3%）").arg(s.copied).arg(s.groups).arg(percent(s.copied, s.groups));
    }
    return {};
}

}  // namespace tessaly::qt
