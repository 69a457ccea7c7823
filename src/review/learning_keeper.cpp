#include "review/learning_keeper.h"

#include "learning/results_rows.h"

#include <chrono>
#include <ctime>

namespace tessaly {
namespace {

// A damaged record's lines named in a message box; the rest counted.
constexpr std::size_t kLinesNamed = 5;

}  // namespace

std::string LearningKeeper::today() const {
    const std::time_t now = std::chrono::system_clock::to_time_t(host_.now());
    std::tm parts{};
    localtime_r(&now, &parts);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &parts);
    return text;
}

bool LearningKeeper::findPlaces(const char* title) {
    std::string error;
    const LearningRecord record = LearningRecord::atDataFolder(error);
    const std::string settings = record.valid() ? learningSettingsPath(error) : "";
    if (settings.empty()) {
        say(title, "找不到保存学习记录的地方：" + error);
        return false;
    }
    recordPath_ = record.path();
    settingsPath_ = settings;
    return true;
}

bool LearningKeeper::turnOn(const std::optional<PracticeSettings>& lastPractice, bool drill) {
    if (on_) return true;
    if (!findPlaces("保存学习记录")) return false;
    on_ = true;
    settings_ = {};
    settings_.record = true;
    settings_.lastPractice = lastPractice;
    if (settings_.lastPractice) settings_.lastPractice->threshold = false;
    settings_.drill = drill;
    writeSettings();
    read();
    return true;
}

void LearningKeeper::turnOff() {
    if (!on_) return;
    on_ = false;
    settings_ = {};
    digest_ = {};
    stamp_ = {};
    boxes_.clear();
    warned_.clear();
    ++revision_;
    std::string error;
    if (!removeLearningSettings(settingsPath_, error))
        say("保存学习记录", "无法删除设置文件 " + settingsPath_ + "：" + error + "\n下次启动时学习记录仍会打开。");
}

std::optional<LearningSettings> LearningKeeper::restore() {
    if (on_) return settings_;
    std::string error;
    const std::string path = learningSettingsPath(error);
    if (path.empty()) return std::nullopt;  // no home folder: nothing was ever kept
    const LoadedSettings loaded = readLearningSettings(path);
    if (!loaded.warning.empty()) say("学习记录", "设置文件无法读取，学习记录没有打开：" + loaded.warning);
    if (!loaded.settings.record || !findPlaces("学习记录")) return std::nullopt;
    on_ = true;
    settings_ = loaded.settings;
    read();
    return settings_;
}

bool LearningKeeper::keep(const PracticeRecord& marked, const PracticeSettings& settings, bool drill) {
    if (!on_ || marked.rows.empty()) return false;
    PracticeRecord practice = marked;
    if (practice.id.empty()) practice.id = newPracticeId();
    std::string error;
    RecordStamp before, after;
    // A record begun by an older version goes on under a header of today's columns.
    const bool announce = columns_ != 0 && columns_ != kResultsColumns;
    const bool kept = LearningRecord(recordPath_).append(practice, error, &before, &after, announce);
    if (kept) columns_ = kResultsColumns;
    if (!kept) say("保存学习记录", "这次练习没有记入学习记录 " + recordPath_ + "：" + error);
    settings_.lastPractice = settings;
    settings_.lastPractice->threshold = false;  // a threshold run is asked for each time
    settings_.drill = drill;
    writeSettings();
    if (kept && before != stamp_) {
        read();  // another program wrote to the record meanwhile: its practices count too
    } else if (kept) {
        // What was appended, read back from its own lines as a reading of the whole
        // record would take it: a long record is not read again at every practice.
        RecordContents added;
        readRecordText(recordLines(practice, false), 1, {}, added);
        for (const PracticeRecord& p : added.practices) digest_.add(p);
        stamp_ = after;
        boxes_ = digest_.boxes(today());
        ++revision_;
    }
    return kept;
}

void LearningKeeper::drillChanged(bool drill) {
    if (!on_ || settings_.drill == drill) return;
    settings_.drill = drill;
    writeSettings();
}

bool LearningKeeper::deleteRecord() {
    if (!findPlaces("删除学习记录")) return false;
    const LearningRecord record(recordPath_);
    if (!record.exists()) {
        say("删除学习记录", "没有学习记录可删除：" + recordPath_ + " 不存在。");
        return false;
    }
    if (!host_.askYesNo("删除学习记录",
                           "删除学习记录 " + recordPath_ + "？\n其中每一次练习的记录都会删除，无法恢复。")) {
        return false;
    }
    std::string error;
    if (!record.remove(error)) {
        say("删除学习记录", "无法删除 " + recordPath_ + "：" + error);
        return false;
    }
    digest_ = {};
    stamp_ = {};
    boxes_.clear();
    warned_.clear();
    ++revision_;
    return true;
}

void LearningKeeper::reread() {
    if (on_ && LearningRecord(recordPath_).stamp() != stamp_) read();
}

void LearningKeeper::takeReading(std::string path, std::future<DigestedRecord> reading) {
    readingPath_ = std::move(path);
    reading_ = std::move(reading);
}

void LearningKeeper::read() {
    const bool ahead = reading_.valid() && readingPath_ == recordPath_;
    DigestedRecord record = ahead ? reading_.get() : digestRecord(LearningRecord(recordPath_));
    reading_ = {};
    digest_ = std::move(record.digest);
    RecordContents& contents = record.contents;
    stamp_ = contents.stamp;
    columns_ = contents.columns;
    boxes_ = digest_.boxes(today());
    ++revision_;
    // Each damage is said once, not at every practice that reads the record again.
    std::vector<std::string> problems = std::move(contents.warnings);
    if (!contents.error.empty()) problems.insert(problems.begin(), contents.error);
    if (problems.empty() || problems == warned_) {
        warned_ = std::move(problems);
        return;
    }
    std::string text;
    if (!contents.error.empty()) {
        text = "无法读取学习记录 " + recordPath_ + "：" + contents.error;
    } else {
        text = "学习记录 " + recordPath_ + " 中有无法读取的行，已跳过；其余各行照常计入，新的练习照常记入：";
        for (std::size_t i = 0; i < problems.size() && i < kLinesNamed; ++i) text += "\n" + problems[i];
        if (problems.size() > kLinesNamed) text += "\n……";
    }
    say("学习记录", text);
    warned_ = std::move(problems);
}

bool LearningKeeper::writeSettings() {
    std::string error;
    if (writeLearningSettings(settingsPath_, settings_, error)) {
        settingsWarned_ = false;
        return true;
    }
    if (!settingsWarned_)
        say("保存学习记录", "无法写入设置文件 " + settingsPath_ + "：" + error + "\n学习记录照常保存，但下次启动时不会自动打开。");
    settingsWarned_ = true;
    return false;
}

}  // namespace tessaly
