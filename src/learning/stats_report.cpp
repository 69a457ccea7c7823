#include "learning/stats_report.h"

#include "learning/record_digest.h"

namespace tessaly {

StatsReport statsReport(const std::vector<PracticeRecord>& records, std::string_view asOf) {
    RecordDigest digest;
    for (const PracticeRecord& record : records) digest.add(record);
    return digest.report(asOf);
}

}  // namespace tessaly
