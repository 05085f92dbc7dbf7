#pragma once

#include "core/app/CLaunchArgs.h"

#include <optional>

// The part of the start that needs neither a display nor an application object: help, version,
// a wrong command line, and handing a launcher word to the copy that runs.
class CLauncher {
public:
    // The exit status when the program ends here; nothing when it should start.
    static std::optional<int> BeforeStart(const LaunchRequest& request);
};
