#pragma once
// Test messages name a control by its name in the window's table.

#include <ostream>

#include "shell/controls.h"
#include "shell/window_layout.h"

namespace galmora {

inline std::ostream& operator<<(std::ostream& out, ControlId id) {
    const ControlDefinition* definition = find_control(id);
    return definition ? out << definition->name : out << "control " << int(id);
}

}  // namespace galmora
