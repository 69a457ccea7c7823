#include "learning/learning_record.h"

#include "learning/results_csv.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

PracticeRecord practice(const char* date, const char* time, int rows, const char* answer = "BA4XY") {
    PracticeRecord p{date, time, "exam", "5", "off", {"qrn"}, {}};
    for (int i = 1; i <= rows; ++i) p.rows.push_back({i, answer, "BA4XY", std::string(answer) == "BA4XY", "BA4XY"});
    p.seconds = 60 + rows;
    return p;
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

mode_t modeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

TEST(LearningRecord, ReadingCreatesNothing) {
    ScratchFolder scratch;
    const LearningRecord record(scratch / "data/tessaly/record.csv");
    const RecordContents read = record.read();
    EXPECT_FALSE(read.found);
    EXPECT_TRUE(read.practices.empty());
    EXPECT_TRUE(read.warnings.empty()) << "a record not there yet is no damage";
    EXPECT_TRUE(read.error.empty());
    EXPECT_TRUE(fs::is_empty(scratch.path())) << "no folder made for reading";

    // Nor does an empty practice, which has nothing to keep.
    std::string error;
    EXPECT_TRUE(record.append(practice("2024-05-01", "10:00:00", 0), error)) << error;
    EXPECT_TRUE(fs::is_empty(scratch.path()));
}

TEST(LearningRecord, AppendsWholePracticesUnderOneHeaderInPrivateFolders) {
    ScratchFolder scratch;
    const LearningRecord record(scratch / "data/tessaly/record.csv");
    PracticeRecord first = practice("2024-05-01", "10:00:00", 3);
    first.rows[1].answer = "BA\r\n4XY";  // a line break typed: kept as spaces, one line per callsign
    PracticeRecord second = practice("2024-05-02", "21:00:00", 2, "K1");
    second.thresholdDb = -3.5, second.thresholdSe = 0.8, second.noise = "snr";
    second.rows[0].snrDb = 6, second.rows[1].snrDb = 2;
    std::string error;
    ASSERT_TRUE(record.append(first, error)) << error;
    ASSERT_TRUE(record.append(second, error)) << error;

    EXPECT_EQ(modeOf(scratch / "data"), 0700u);
    EXPECT_EQ(modeOf(scratch / "data/tessaly"), 0700u);
    EXPECT_EQ(modeOf(record.path()), 0600u);
    const std::string text = contents(record.path());
    EXPECT_EQ(text, recordLines(first, true) + recordLines(second, false));
    EXPECT_EQ(text.find(kResultsHeader), 0u);
    EXPECT_EQ(text.find(kResultsHeader, 1), std::string::npos) << "the header once";

    const RecordContents read = record.read();
    EXPECT_TRUE(read.found);
    EXPECT_TRUE(read.warnings.empty()) << read.warnings.front();
    first.rows[1].answer = "BA  4XY";
    EXPECT_EQ(read.practices, (std::vector<PracticeRecord>{first, second}));

    // An empty file (made by hand) gets the header too.
    write(record.path(), "");
    ASSERT_TRUE(record.append(second, error)) << error;
    EXPECT_EQ(contents(record.path()), recordLines(second, true));

    ASSERT_TRUE(record.remove(error)) << error;
    EXPECT_FALSE(fs::exists(record.path()));
    EXPECT_TRUE(record.remove(error)) << "gone already is gone";
}

TEST(LearningRecord, AppendsAfterAWriteCutOffAndCountsEverythingElse) {
    ScratchFolder scratch;
    const LearningRecord record(scratch / "record.csv");
    const PracticeRecord before = practice("2024-05-01", "10:00:00", 2), after = practice("2024-05-02", "10:00:00", 2);
    // A practice whose write stopped in its second line (a kill or a power loss).
    const std::string cut = recordLines(practice("2024-05-01", "11:00:00", 2), false);
    write(record.path(), recordLines(before, true) + cut.substr(0, cut.size() / 2 + 10));

    std::string error;
    ASSERT_TRUE(record.append(after, error)) << error;
    const RecordContents read = record.read();
    ASSERT_EQ(read.practices.size(), 3u);
    EXPECT_EQ(read.practices[0], before);
    EXPECT_EQ(read.practices[1].rows.size(), 1u) << "the cut practice's whole first line counts";
    EXPECT_EQ(read.practices[2], after) << "the new practice is not glued to the cut line";
    EXPECT_EQ(read.warnings, std::vector<std::string>{"line 5: expected 28 fields, found 3"});

    // Before the next append, the cut line is the last one, without its line end.
    write(record.path(), recordLines(before, true) + cut.substr(0, 20));
    EXPECT_EQ(record.read().warnings, std::vector<std::string>{"line 4: cut off before its line end"});
}

// In a child process, so the limit and the signal setting stay there: the file size
// limit lets the write through part-way (or not at all), as a full disk would.
int appendUnderSizeLimit(const LearningRecord& record, const PracticeRecord& practice, rlim_t limit) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &size);
        std::string error;
        const bool appended = record.append(practice, error);
        ::_exit(appended ? 1 : error.find("could not be written") != std::string::npos ? 0 : 2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST(LearningRecord, AWriteThatFailsPartWayLeavesTheRecordAsItWas) {
    ScratchFolder scratch;
    const LearningRecord record(scratch / "record.csv");
    const PracticeRecord kept = practice("2024-05-01", "10:00:00", 3), big = practice("2024-05-02", "10:00:00", 40);
    std::string error;
    ASSERT_TRUE(record.append(kept, error)) << error;
    const std::string before = contents(record.path());

    for (const rlim_t room : {rlim_t{100}, rlim_t{0}}) {  // part of the practice fits, or nothing
        EXPECT_EQ(appendUnderSizeLimit(record, big, before.size() + room), 0) << room;
        EXPECT_EQ(contents(record.path()), before) << room << " bytes of room: cut back to the size before";
    }
    ASSERT_TRUE(record.append(big, error)) << error;
    EXPECT_EQ(record.read().practices, (std::vector<PracticeRecord>{kept, big}));
}

// Alike in all but their practice ids, started in the same second.
TEST(LearningRecord, TwoProgramsAppendingAtOnceEachKeepTheirPracticesWhole) {
    ScratchFolder scratch;
    const LearningRecord record(scratch / "record.csv");
    constexpr int kEach = 15;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        if (children[c] == 0) {
            std::string error;
            for (int i = 0; i < kEach; ++i) {
                PracticeRecord p = practice("2024-05-01", "10:00:00", 5 + c * 20);
                p.id = newPracticeId();
                if (!record.append(p, error)) ::_exit(1);
            }
            ::_exit(0);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const RecordContents read = record.read();
    EXPECT_TRUE(read.warnings.empty()) << read.warnings.front();
    ASSERT_EQ(read.practices.size(), 2u * kEach);
    for (const PracticeRecord& p : read.practices) EXPECT_TRUE(p.rows.size() == 5u || p.rows.size() == 25u) << p.rows.size();
    const std::string text = contents(record.path());
    EXPECT_EQ(text.find(kResultsHeader, 1), std::string::npos) << "one header, though both found no file";
}

TEST(LearningRecord, SkipsEachDamagedLineWithOneWarningAndKeepsTheRest) {
    const PracticeRecord a = practice("2024-05-01", "10:00:00", 2), b = practice("2024-05-03", "10:00:00", 2);
    const std::string head = recordLines(a, true);  // lines 1-3
    const std::string tail = recordLines(b, false);  // lines 5-6 after the damaged line 4
    const std::string goodRow = recordLines(practice("2024-05-02", "10:00:00", 1), false);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string row = goodRow;
        return row.replace(row.find(from), from.size(), to);
    };
    struct Case {
        const char* what;
        std::string line;
        std::string warning;
    } cases[] = {
        {"cut", goodRow.substr(0, 30) + "\r\n", "line 4: expected 28 fields, found 6"},
        {"a field too many", replaced("\r\n", ",x\r\n"), "line 4: expected 28 fields, found 29"},
        {"no such day", replaced("2024-05-02", "2024-02-30"), "line 4: date must be a day as YYYY-MM-DD, found \"2024-02-30\""},
        {"stray bytes", std::string("\x00\xff\xfe\x01garbage", 11) + "\r\n", "line 4: not UTF-8 text"},
        {"a quote never closed", replaced("BA4XY,BA4XY", "\"BA4XY,BA4XY"), "line 4: a quoted field is not closed"},
        {"100 KB", std::string(100 * 1024, 'A') + "\r\n", "line 4: longer than 16384 bytes"},
        {"a row there twice", recordLines(a, false).substr(0, recordLines(a, false).find('\n') + 1),
         "line 4: row 1 of the practice of 2024-05-01 10:00:00 is there twice"},
    };
    for (const Case& c : cases) {
        RecordContents read;
        readRecordText(head + c.line + tail, 1, {}, read);
        EXPECT_EQ(read.warnings, std::vector<std::string>{c.warning}) << c.what;
        EXPECT_EQ(read.practices, (std::vector<PracticeRecord>{a, b})) << c.what << ": the lines before and after count";
    }

    // Blank lines are no damage; a header again (an export joined on) is no damage either,
    // and rows of the old eleven columns after an old header are read.
    RecordContents read;
    readRecordText(head + "\r\n" + resultsCsv(b) + std::string(kResultsHeaderBefore) +
                       "\r\n1,K1,K1,Y,2024-05-04,10:00:00,exam,5,off,,K 1\r\n",
                   1, {}, read);
    EXPECT_TRUE(read.warnings.empty()) << read.warnings.front();
    ASSERT_EQ(read.practices.size(), 3u);
    EXPECT_EQ(read.practices[2].seconds, 0);

    // A damaged header costs one line: the rows go on with the current columns.
    read = {};
    readRecordText("number,answer,exp" + head.substr(head.find('\n')) + tail, 1, {}, read);
    EXPECT_EQ(read.warnings.size(), 1u);
    EXPECT_EQ(read.practices, (std::vector<PracticeRecord>{a, b}));
}

TEST(LearningRecord, ReadsTheMostRecentPartOfARecordTooLongAndBoundsItsWarnings) {
    ScratchFolder scratch;
    const LearningRecord record(scratch / "record.csv");
    std::string error;
    for (int day = 1; day <= 9; ++day) {
        const std::string date = "2024-05-0" + std::to_string(day);
        ASSERT_TRUE(record.append(practice(date.c_str(), "10:00:00", 2), error)) << error;
    }
    const std::size_t size = fs::file_size(record.path());
    const std::size_t practiceBytes = recordLines(practice("2024-05-01", "10:00:00", 2), false).size();
    RecordLimits limits;
    limits.bytes = 3 * practiceBytes + 5;  // the last three practices and the end of a line before them
    const RecordContents read = record.read(limits);
    ASSERT_EQ(read.practices.size(), 3u);
    EXPECT_EQ(read.practices[0].date, "2024-05-07");
    ASSERT_EQ(read.warnings.size(), 1u);
    EXPECT_NE(read.warnings[0].find("from line 14 on"), std::string::npos) << read.warnings[0];
    EXPECT_LT(limits.bytes, size);

    // A file of garbage: a few warnings one by one, the rest counted.
    std::string garbage;
    for (int i = 0; i < 200; ++i) garbage += "garbage\r\n";
    limits = {};
    limits.warnings = 3;
    RecordContents damaged;
    readRecordText(garbage, 1, limits, damaged);
    EXPECT_EQ(damaged.warnings, (std::vector<std::string>{"line 1: expected 28 fields, found 1", "line 2: expected 28 fields, found 1",
                                                         "line 3: expected 28 fields, found 1",
                                                         "and 197 more lines that could not be read"}));
}

// The record is the program's own file: whatever else is at its place is refused
// with the reason, nothing is read or written through it, and nothing waits.
TEST(LearningRecord, RefusesALinkAFifoOrAFolderInItsPlace) {
    ScratchFolder scratch;
    const std::string place = scratch / "record.csv", other = scratch / "other.csv";
    const auto make = [&](const std::string& what) {
        fs::remove_all(place);
        if (what == "link") write(other, "a file of the learner's\n"), fs::create_symlink(other, place);
        if (what == "dangling link") fs::remove(other), fs::create_symlink(other, place);
        if (what == "link to /dev/null") fs::create_symlink("/dev/null", place);
        if (what == "FIFO") ::mkfifo(place.c_str(), 0600);
        if (what == "folder") fs::create_directory(place);
        if (what == "file for its folder") write(scratch / "data", "a file where the folder should be");
    };
    struct Case {
        const char* what;
        const char* said;
    } cases[] = {
        {"link", "symbolic link"}, {"dangling link", "symbolic link"}, {"link to /dev/null", "symbolic link"},
        {"FIFO", "a FIFO (named pipe), not a regular file"}, {"folder", "directory"}, {"file for its folder", "Not a directory"},
    };
    for (const Case& c : cases) {
        make(c.what);
        const LearningRecord record(std::string(c.what) == "file for its folder" ? scratch / "data/tessaly/record.csv" : place);
        const RecordContents read = record.read();
        EXPECT_TRUE(read.found) << c.what;
        EXPECT_NE(read.error.find(c.said), std::string::npos) << c.what << ": " << read.error;
        std::string error;
        EXPECT_FALSE(record.append(practice("2024-05-01", "10:00:00", 1), error)) << c.what;
        EXPECT_NE(error.find(c.said), std::string::npos) << c.what << ": " << error;
    }
    EXPECT_FALSE(fs::exists(other)) << "a dangling link's target is not made";
    make("link");
    std::string error;
    LearningRecord(place).append(practice("2024-05-01", "10:00:00", 1), error);
    EXPECT_EQ(contents(other), "a file of the learner's\n");
}

}  // namespace
}  // namespace tessaly
