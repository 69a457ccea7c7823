#pragma once
// The learning record as the form keeps it, while the learner has it on
// (保存学习记录): each marked practice appended to record.csv in the data folder,
// the record remembered as on in settings.json in the settings folder (with the
// last practice's settings and the drill, for the next start), and the record read
// back for the drill and the error analysis across days: read once into a digest
// (learning/record_digest.h), each practice kept added to it.
//
// Off, the default, nothing is read or written: not the record, not the settings
// file, not even their folders' names are looked up. What cannot be read or
// written is said in a message box; the practice goes on.
#include "learning/learning_settings.h"
#include "learning/learning_record.h"
#include "learning/practice_record.h"
#include "learning/record_digest.h"
#include "learning/review_boxes.h"
#include "practice/form_host.h"

#include <cstddef>
#include <future>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

class LearningKeeper {
public:
    explicit LearningKeeper(FormHost& host) : host_(host) {}

    bool on() const { return on_; }

    // Turns the record on: remembered in the settings file (with the last practice's
    // settings, when there was one, and the drill), and the record read. False, with
    // a message box, when there is no home folder to keep it in.
    bool turnOn(const std::optional<PracticeSettings>& lastPractice, bool drill);
    // Turns it off: the settings file goes (the record is no longer remembered as
    // on); the record itself stays.
    void turnOff();
    // At start: reads the settings file; when it says the record is on, the record is
    // on again and read. The settings then; nothing when it is off or not there.
    std::optional<LearningSettings> restore();

    // A marked practice, appended whole (it must hold only what the reader began or
    // was answered) under its own practice id (a new one when it has none); its
    // settings and the drill remembered for the next start. False, with a message
    // box, when it could not be appended.
    bool keep(const PracticeRecord& practice, const PracticeSettings& settings, bool drill);
    // The drill turned on or off: remembered while the record is on.
    void drillChanged(bool drill);
    // 删除学习记录…: asks first, then deletes the record (on or off). True when it went.
    bool deleteRecord();
    // Reads the record again when another program has written to it since (a window
    // about to show it); nothing while off.
    void reread();
    // A reading of the record at `path` begun on another thread (the window starts
    // one as it opens, so that a long record does not hold it up): the next reading
    // of that record takes it instead of reading again.
    void takeReading(std::string path, std::future<DigestedRecord> reading);

    // The record as last read, with the practices kept since, and each unit's
    // review box as of today; empty while off.
    const RecordDigest& digest() const { return digest_; }
    const std::vector<ReviewBox>& boxes() const { return boxes_; }
    // Today's local date ("YYYY-MM-DD"), the day the boxes are for.
    std::string today() const;
    // Where the record is, once the record has been on or deleted; "" before.
    const std::string& recordPath() const { return recordPath_; }
    // Counts every change of what on(), digest() and boxes() give.
    std::size_t revision() const { return revision_; }

private:
    // Finds the record's and the settings file's places; false with a message box.
    bool findPlaces(const char* title);
    void read();
    bool writeSettings();
    void say(const std::string& title, const std::string& text) { host_.messageBox(title, text); }

    FormHost& host_;
    bool on_ = false;
    std::string recordPath_, settingsPath_;
    LearningSettings settings_;  // as the settings file holds them while on
    RecordDigest digest_;
    RecordStamp stamp_;  // the record's file as the digest has it
    std::string readingPath_;
    std::future<DigestedRecord> reading_;  // begun elsewhere, not taken yet
    std::vector<ReviewBox> boxes_;
    std::vector<std::string> warned_;  // the record's damaged lines, once said
    bool settingsWarned_ = false;      // the settings file could not be written, and it was said
    std::size_t revision_ = 0;
    std::size_t columns_ = 0;  // of the record's last header as read (0: none)
};

}  // namespace tessaly
