#include "learning/stats_report.h"

#include "base/practice_settings.h"
#include "learning/record_digest.h"

namespace tessaly {

ThresholdConditions thresholdConditions(const PracticeRecord& practice) {
    ThresholdConditions c;
    c.method = practice.thresholdMethod.empty() ? "callsigns" : practice.thresholdMethod;
    c.words = practice.words, c.figures = practice.figures;
    c.path = practice.path, c.passband = practice.passband, c.agc = practice.agc;
    // The speaker setting is not kept: its rows tell it, one voice or several.
    for (std::size_t i = 0; i < practice.rows.size(); ++i) {
        const std::string& speaker = practice.rows[i].speaker;
        if (i > 0 && speaker != practice.rows[0].speaker) return c.speaker = "varied", c;
    }
    if (!practice.rows.empty() && !practice.rows[0].speaker.empty()) c.speaker = practice.rows[0].speaker;
    return c;
}

ThresholdConditions thresholdConditions(const PracticeSettings& settings, std::string method) {
    PracticeRecord record;
    setRecordSettings(record, settings);
    record.thresholdMethod = std::move(method);
    ThresholdConditions c = thresholdConditions(record);
    c.speaker = settings.speaker;
    return c;
}

std::string conditionsText(const ThresholdConditions& c) {
    std::string receiver = c.passband ? "通带" : "";
    if (c.agc != "off") receiver += (receiver.empty() ? "AGC " : " + AGC ") + c.agc;
    return "词表 " + c.words + (c.figures ? "，数字 figures" : "") + "，声音 " + c.speaker + "，路径 " + c.path +
           "，接收机 " + (receiver.empty() ? "关" : receiver);
}

StatsReport statsReport(const std::vector<PracticeRecord>& records, std::string_view asOf) {
    RecordDigest digest;
    for (const PracticeRecord& record : records) digest.add(record);
    return digest.report(asOf);
}

}  // namespace tessaly
