#pragma once
// A named happening of a practice and its fields, for the hosts that report such
// things (the script prints each as a JSON event, its fields as they are given):
// whole numbers, numbers, texts, lists of texts.
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace tessaly {

using EventValue = std::variant<long long, double, std::string, std::vector<std::string>>;

struct PracticeEvent {
    std::string name;
    std::vector<std::pair<std::string, EventValue>> fields;
};

}  // namespace tessaly
