#pragma once
// The learner's own files: the learning record and its settings file. They are
// written only as the learner asks (learning_record.h, learning_settings.h), never
// as the output of a command or an export.
#include <string>

namespace tessaly {

enum class OwnFile { none, record, settings };

// Which of them `path` names, however it is spelt (another spelling, a link to
// it); none when neither, or when there is no home folder for them.
OwnFile ownFileAt(const std::string& path);

// "the learning record (/home/u/.local/share/tessaly/record.csv)", or the settings
// file's, for a refusal; "" for none.
std::string ownFileDescription(OwnFile file);

}  // namespace tessaly
