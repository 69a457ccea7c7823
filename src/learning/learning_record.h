#pragma once
// The learning record: every practice the learner asked to keep, one after the
// other in one file, record.csv in the data folder ($XDG_DATA_HOME/tessaly). Its
// lines are those of a results file (results_rows.h), the header once at the top.
// Nothing is read or written unless a function here is called.
//
// The record is only ever appended to, never rewritten, and a practice goes in
// whole or not at all:
// - its lines are built in memory and handed to the kernel in one write() on a file
//   opened with O_APPEND, so they land together at the end of the file, after
//   whatever any other writer added. A program killed before the call leaves
//   nothing of the practice, one killed after it the whole practice. A signal the
//   program handles does not interrupt a write to a file; one that kills it
//   (SIGKILL, or SIGTERM without a handler) is looked at by the kernel only between
//   the pages it copies, so for the few KB of a practice there is a window of
//   microseconds in which the write could stop short. It would leave the
//   practice's first lines with the last of them cut; the reader skips the cut line
//   with a warning and counts the whole lines before it as a shorter practice.
// - if the write stops part-way (the disk is full, the file size limit is reached),
//   the file is cut back to its size before (ftruncate), so no part of the practice
//   stays; the caller gets the reason.
// - an advisory lock (flock) keeps two programs appending at once from interleaving
//   the check of the file's end, the write and the cut back.
// - fdatasync before reporting success, so a practice reported kept survives a
//   power loss.
// - a record whose last line was cut (it does not end in a line end) gets a line end
//   first, so the new practice's first line is not glued to the damaged one.
//
// Reading takes what it can: a line it cannot read is skipped with one warning that
// names it ("line 12: expected 19 fields, found 9"), and every other line counts,
// before and after it.
//
// The record is the program's own file: a symbolic link, a FIFO, a device or a
// folder in its place is refused with the reason, and nothing is read or written
// through it (nor does opening it wait for a writer).
#include "learning/practice_record.h"

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// The record's name in the data folder.
constexpr const char* kRecordFileName = "record.csv";

// Which file a record was and how long, when it was last read or appended to: a
// later look that finds the same has nothing new to read.
struct RecordStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;  // -1: no file
    bool operator==(const RecordStamp&) const = default;
};

// What reading a record found.
struct RecordContents {
    bool found = false;  // the file is there (and could be opened)
    std::vector<PracticeRecord> practices;  // in order of first appearance
    std::vector<std::string> warnings;      // "line 12: ...", one per line skipped
    std::string error;                      // why an existing record could not be opened at all
    RecordStamp stamp;                      // of the file as read
    // The columns of the last header read (0: none), which the rows after it have: a
    // record begun by an older version goes on with a header of today's columns.
    std::size_t columns = 0;
};

// How much of a record is read: a record past `bytes` is read from the line that
// starts in its last `bytes` (the most recent practices), with a warning; a line
// longer than `lineBytes` is damaged. Tens of years of daily practice fit in the
// defaults (a callsign's line is about 100 bytes).
struct RecordLimits {
    std::size_t bytes = 64u << 20;
    std::size_t lineBytes = 16u << 10;
    std::size_t warnings = 50;  // kept one by one; more are counted in one last warning
};

class LearningRecord {
public:
    explicit LearningRecord(std::string path) : path_(std::move(path)) {}
    // The record in the user's data folder; "" path with a reason when there is no
    // home folder to put it in. Touches nothing on disk.
    static LearningRecord atDataFolder(std::string& error);

    const std::string& path() const { return path_; }
    bool valid() const { return !path_.empty(); }

    // Appends one whole practice (the header first when the file is new or empty, or
    // when `announce`: its last header is not today's),
    // creating the folders (0700) and the file (0600) when they are not there. A
    // practice without rows writes nothing. Line ends typed into an answer are kept
    // as spaces, so that every callsign is one line. False with a reason, and the
    // file as it was, when the practice could not be written whole. `before` and
    // `after`, when given, get the file's stamp just before and after the practice.
    bool append(const PracticeRecord& practice, std::string& error, RecordStamp* before = nullptr,
                RecordStamp* after = nullptr, bool announce = false) const;

    // Reads the whole record; creates nothing. A record that is not there is not
    // found, without a warning.
    RecordContents read(const RecordLimits& limits = {}) const;

    // Whether the record is there (a question before deleting it); reads nothing of it.
    bool exists() const;
    // Its stamp now, read nothing of it (size -1 when it is not there).
    RecordStamp stamp() const;

    // Deletes the record (the learner asked, after a question). True when it is gone.
    bool remove(std::string& error) const;

private:
    std::string path_;
};

// The record's text as it is appended: one practice's lines, the header first when
// `withHeader`. Exposed for the tests.
std::string recordLines(const PracticeRecord& practice, bool withHeader);

// Reads a record's text. The first line is `firstLine` (from 1) of the file.
// Lines before any header are read with the current columns, since the record is
// written with them. A row dated after `latestDate` (latestRecordDate()) is
// damaged; "" takes tomorrow.
void readRecordText(std::string_view text, int firstLine, const RecordLimits& limits, RecordContents& out,
                    std::string_view latestDate = "");

}  // namespace tessaly
