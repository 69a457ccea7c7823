#include "practice/controls.h"

#include <stdexcept>

namespace tessaly {

Control::Control(ControlRegistry& registry, ControlKind k, std::string n)
    : kind(k), name(std::move(n)), revision_(&registry.wholeRevision()) {
    registry.add(*this);
}

bool Control::takes(UserAction action) const {
    switch (action) {
        case UserAction::Click: return kind != ControlKind::Slider;
        case UserAction::Key:
        case UserAction::SetText: return kind == ControlKind::TextBox;
        case UserAction::Slide: return kind == ControlKind::Slider;
        case UserAction::Hover: return kind != ControlKind::MenuCommand;
    }
    return false;
}

void ControlRegistry::add(Control& control) {
    // Two controls of one name would make the second unreachable: a fault of the form's declaration.
    if (!byName_.emplace(control.name, &control).second) throw std::logic_error("two controls named " + control.name);
    inOrder_.push_back(&control);
}

Control* ControlRegistry::find(const std::string& name) const {
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

void groupOptions(std::initializer_list<OptionButton*> members) {
    for (OptionButton* o : members) o->group.assign(members.begin(), members.end());
}

}  // namespace tessaly
