#include "learning/stats_json.h"

#include <nlohmann/json.hpp>

namespace tessaly {

std::string statsJson(const StatsReport& report, const StatsSource& source) {
    using json = nlohmann::ordered_json;
    json out = json::object();
    if (source.record.empty()) {
        out["source"] = "files";
        out["files"] = source.files;
    } else {
        out["source"] = "record";
        out["record"] = source.record;
        out["found"] = source.found;
    }
    out["asOf"] = report.asOf.empty() ? json() : json(report.asOf);
    out["practices"] = report.practices.size();
    out["callsigns"] = report.rows;
    out["copied"] = report.copied;
    out["seconds"] = report.seconds;
    out["days"] = report.days.size();

    json thresholds = json::array();
    for (const ThresholdSummary& t : report.thresholds)
        thresholds.push_back({{"date", t.date},
                              {"time", t.time},
                              {"threshold", t.snrDb},
                              {"se", t.se},
                              {"trials", t.trials},
                              {"method", t.conditions.method},
                              {"wholeThreshold", t.wholeSnrDb ? json(*t.wholeSnrDb) : json()},
                              {"conditions",
                               {{"words", t.conditions.words},
                                {"digits", t.conditions.figures ? "figures" : "set"},
                                {"speaker", t.conditions.speaker},
                                {"path", t.conditions.path},
                                {"passband", t.conditions.passband},
                                {"agc", t.conditions.agc}}}});
    out["thresholds"] = std::move(thresholds);

    json characters = json::array();
    for (const UnitSummary& u : report.units)
        characters.push_back({{"unit", u.unit},
                              {"read", u.read},
                              {"missed", u.missed},
                              {"omitted", u.omitted},
                              {"share", u.missedShare},
                              {"box", u.box},
                              {"due", u.due.empty() ? json() : json(u.due)},
                              {"writtenAs", u.mostWrittenAs.empty() ? json() : json(u.mostWrittenAs)},
                              {"writtenAsCount", u.mostWrittenAsCount}});
    out["characters"] = std::move(characters);
    out["weakest"] = report.weakest;

    json days = json::array();
    for (const DaySummary& d : report.days)
        days.push_back({{"date", d.date},
                        {"practices", d.practices},
                        {"callsigns", d.rows},
                        {"copied", d.copied},
                        {"copyRate", d.copyRate},
                        {"seconds", d.seconds}});
    out["byDay"] = std::move(days);

    json practices = json::array();
    for (const PracticeSummary& p : report.practices)
        practices.push_back({{"date", p.date},
                             {"time", p.time},
                             {"words", p.words},
                             {"speed", p.speed},
                             {"noise", p.noise},
                             {"conditions", p.conditions},
                             {"callsigns", p.rows},
                             {"copied", p.copied},
                             {"seconds", p.seconds}});
    out["byPractice"] = std::move(practices);
    out["warnings"] = source.warnings;
    // Answers may hold any bytes a file had: replaced, never an exception.
    return out.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace tessaly
