#pragma once
// Which characters a learner misses, added up over practices: for each unit read,
// how often it was read, how often it was missed and what it was written as.
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaly {

// One marked callsign: what the user typed for a line of the practice text.
struct AnsweredLine {
    std::string answer;
    std::string line;  // as read, with its lower-case codes: "JA1ABC/m"
};

struct UnitErrors {
    std::string unit;  // a unit name: "A", "7", "/", "MOBILE", "QRP"
    int read = 0;
    int missed = 0;   // substituted or omitted
    int omitted = 0;  // the part of `missed` left out altogether
    std::map<std::string, int> writtenAs;  // substitutions only: token -> count

    double missedShare() const { return read == 0 ? 0.0 : static_cast<double>(missed) / read; }
    // The token it was most often written as, with its count ("", 0 when none);
    // ties go to the smaller token, so the answer does not depend on map order.
    std::pair<std::string, int> mostWrittenAs() const;
};

// The order of every ranking: higher missed share first (compared exactly, so
// 1 of 3 ties with 2 of 6), then more misses, then the fixed unit order.
bool worseThan(const UnitErrors& a, const UnitErrors& b);

struct Alignment;

class ErrorAnalysis {
public:
    // Adds one practice: only the callsigns that were read, each with its answer.
    void addPractice(const std::vector<AnsweredLine>& answered);
    // The same for a practice whose answers are aligned already (alignment.h).
    void addAligned(const std::vector<Alignment>& practice);
    // Counts made elsewhere (a record's digest), added as the practices they came
    // from would have been: practices, one unit's readings with what it was
    // written as, a token typed but never read.
    void addPractices(int count) { practices_ += count; }
    void addUnit(const UnitErrors& counted);
    void addInserted(const std::string& token, int count) { inserted_[token] += count; }

    int practices() const { return practices_; }
    // Every unit read so far, worst first.
    std::vector<UnitErrors> rows() const;
    // The unit of that name; nullptr when it was never read.
    const UnitErrors* unit(std::string_view name) const;
    // Up to n unit names worth a drill, worst first: read at least minRead times
    // and missed at least once. Empty while there is too little history.
    std::vector<std::string> weakest(std::size_t n = 3, int minRead = 2) const;
    // What was typed that was never read (an invented suffix, a doubled digit):
    // no unit is missed by it, but the answer is marked wrong all the same.
    const std::map<std::string, int>& inserted() const { return inserted_; }

private:
    int practices_ = 0;
    std::map<std::string, UnitErrors, std::less<>> units_;
    std::map<std::string, int> inserted_;
};

}  // namespace tessaly
