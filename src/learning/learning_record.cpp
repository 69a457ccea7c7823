#include "learning/learning_record.h"

#include "base/file_kind.h"
#include "base/paths.h"
#include "base/utf8.h"
#include "base/whole_append.h"
#include "base/xdg_places.h"
#include "learning/csv.h"
#include "learning/results_rows.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tessaly {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Closes the descriptor however the function returns.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// An answer as one line: what was typed stays, but not as a line break.
std::string oneLine(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::string megabytes(std::size_t bytes) { return std::to_string((bytes + (1u << 19)) >> 20) + " MB"; }

// Whole reads of a file's bytes from `at` to its end (short reads and EINTR retried).
bool readFrom(int fd, off_t at, std::size_t count, std::string& out) {
    out.resize(count);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, out.data() + done, count - done, at + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    out.resize(done);
    return done == count;
}

// The line feeds in the file's first `count` bytes, a block at a time.
bool lineFeedsBefore(int fd, std::size_t count, long long& feeds) {
    std::string block;
    feeds = 0;
    for (std::size_t at = 0; at < count;) {
        const std::size_t size = std::min<std::size_t>(count - at, 1u << 20);
        if (!readFrom(fd, static_cast<off_t>(at), size, block)) return false;
        feeds += std::count(block.begin(), block.end(), '\n');
        at += size;
    }
    return true;
}

RecordStamp stampOf(const struct stat& info) { return {info.st_dev, info.st_ino, info.st_size}; }

// Opens the record without following a link at its place and without waiting on a
// FIFO there; refuses anything but a regular file. -1 with the reason in `error`;
// ENOENT left in errno for a record that is not there.
int openRecord(const std::string& path, int flags, struct stat& info, std::string& error) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        const int cause = errno;
        struct stat link {};
        if (cause == ELOOP && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode))
            error = "the record is a symbolic link: refused, nothing is read or written through it";
        else
            error = std::string("cannot open the record: ") + std::strerror(cause);
        errno = cause;
        return -1;
    }
    if (::fstat(fd, &info) != 0) {
        error = std::string("cannot see the record: ") + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    if (const char* kind = fileKind(info.st_mode); *kind != '\0') {
        error = std::string("the record is ") + kind + ", not a regular file: refused, nothing is read or written";
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

}  // namespace

LearningRecord LearningRecord::atDataFolder(std::string& error) {
    const std::string folder = dataFolder(error);
    return LearningRecord(folder.empty() ? "" : folder + "/" + kRecordFileName);
}

std::string recordLines(const PracticeRecord& practice, bool withHeader) {
    PracticeRecord kept = practice;
    for (PracticeRow& row : kept.rows) {
        row.answer = oneLine(std::move(row.answer));
        row.expected = oneLine(std::move(row.expected));
    }
    std::string text = withHeader ? std::string(kResultsHeader) + "\r\n" : "";
    appendResultsRows(text, kept);
    return text;
}

bool LearningRecord::append(const PracticeRecord& practice, std::string& error, RecordStamp* stampBefore,
                            RecordStamp* stampAfter, bool announce) const {
    if (!valid()) {
        error = "no place for the learning record";
        return false;
    }
    if (practice.rows.empty()) return true;
    const std::string folder = folderOf(path_);
    if (!makeUserFolder(folder, error)) return false;
    struct stat info {};
    const Descriptor file(openRecord(path_, O_RDWR | O_APPEND | O_CREAT, info, error));
    if (file.get() < 0) return false;
    WholeAppend done;
    const bool appended = appendWhole(
        file.get(), folder, [&](off_t before) { return recordLines(practice, before == 0 || announce); }, done, error);
    if (!appended) {
        error = "the practice " + error;
        return false;
    }
    // The file as this append left it, whoever appends after.
    RecordStamp stamp = stampOf(info);
    stamp.size = done.sizeBefore;
    if (stampBefore) *stampBefore = stamp;
    stamp.size = done.sizeAfter;
    if (stampAfter) *stampAfter = stamp;
    return true;
}

RecordContents LearningRecord::read(const RecordLimits& limits) const {
    RecordContents out;
    if (!valid()) return out;
    struct stat info {};
    std::string error;
    const Descriptor file(openRecord(path_, O_RDONLY, info, error));
    if (file.get() < 0) {
        if (errno != ENOENT) {
            out.found = true;
            out.error = error;
        }
        return out;
    }
    out.found = true;
    out.stamp = stampOf(info);
    const auto size = static_cast<std::size_t>(info.st_size);
    std::string text;
    if (size <= limits.bytes) {
        if (!readFrom(file.get(), 0, size, text)) {
            out.error = std::string("cannot read the record: ") + std::strerror(errno);
            return out;
        }
        readRecordText(text, 1, limits, out);
        return out;
    }
    // Too long to read whole: its most recent part, from the first line that starts in it.
    const std::size_t start = size - limits.bytes;
    long long feeds = 0;
    if (!lineFeedsBefore(file.get(), start, feeds) || !readFrom(file.get(), static_cast<off_t>(start), limits.bytes, text)) {
        out.error = std::string("cannot read the record: ") + std::strerror(errno);
        return out;
    }
    const std::size_t lineEnd = text.find('\n');
    const std::string_view rest = lineEnd == std::string::npos ? std::string_view() : std::string_view(text).substr(lineEnd + 1);
    const long long firstLine = feeds + 2;
    out.warnings.push_back("the record holds " + megabytes(size) + "; only its last " + megabytes(limits.bytes) +
                           ", from line " + std::to_string(firstLine) + " on, were read");
    readRecordText(rest, static_cast<int>(std::min<long long>(firstLine, INT32_MAX)), limits, out);
    return out;
}

bool LearningRecord::exists() const {
    struct stat info {};
    return valid() && ::stat(path_.c_str(), &info) == 0;
}

RecordStamp LearningRecord::stamp() const {
    struct stat info {};
    if (!valid() || ::lstat(path_.c_str(), &info) != 0) return {};
    return stampOf(info);
}

bool LearningRecord::remove(std::string& error) const {
    if (!valid()) {
        error = "no place for the learning record";
        return false;
    }
    if (::unlink(path_.c_str()) != 0 && errno != ENOENT) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

void readRecordText(std::string_view text, int firstLine, const RecordLimits& limits, RecordContents& out,
                    std::string_view latestDate) {
    ResultsRowReader rows(latestDate.empty() ? latestRecordDate() : std::string(latestDate));
    std::size_t columns = kResultsColumns;  // the record is written with every column
    std::size_t skipped = 0;
    const auto skip = [&](int line, const std::string& why) {
        if (++skipped <= limits.warnings) out.warnings.push_back("line " + std::to_string(line) + ": " + why);
    };
    if (firstLine == 1 && text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

    std::vector<std::string> fields;
    int number = firstLine;
    for (std::size_t at = 0; at < text.size(); ++number) {
        const std::size_t feed = text.find('\n', at);
        const bool ended = feed != std::string_view::npos;
        std::string_view line = text.substr(at, ended ? feed - at : std::string_view::npos);
        at = ended ? feed + 1 : text.size();
        if (line.ends_with('\r')) line.remove_suffix(1);

        if (line.size() > limits.lineBytes) {
            skip(number, "longer than " + std::to_string(limits.lineBytes) + " bytes");
            continue;
        }
        if (!ended) {
            skip(number, "cut off before its line end");
            continue;
        }
        if (line.empty()) continue;
        if (invalidUtf8At(line) != std::string_view::npos) {
            skip(number, "not UTF-8 text");
            continue;
        }
        CsvReader reader(line);
        if (reader.next(fields) != CsvReader::Result::record) {
            const std::string& error = reader.error();
            skip(number, error.substr(std::min(error.size(), error.find(": ") + 2)));
            continue;
        }
        if (const std::size_t announced = resultsHeaderColumns(fields); announced != 0) {
            columns = out.columns = announced;
            continue;
        }
        if (fields.size() != columns) {
            skip(number, "expected " + std::to_string(columns) + " fields, found " + std::to_string(fields.size()));
            continue;
        }
        if (std::string problem = rows.add(fields, columns); !problem.empty()) skip(number, problem);
    }
    if (skipped > limits.warnings)
        out.warnings.push_back("and " + std::to_string(skipped - limits.warnings) + " more lines that could not be read");
    for (PracticeRecord& practice : rows.practices()) out.practices.push_back(std::move(practice));
}

}  // namespace tessaly
