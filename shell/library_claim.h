#pragma once
// One window per library: a start on a library that another start already
// holds does not open a window of its own; it asks that one to raise its
// window and ends, or says why it ends when that one does not answer.

#include <functional>

#include "core/folder_lock.h"
#include "shell/desktop.h"

namespace galmora {

enum class LibraryClaim {
    Open,            // this start works on the library
    RaisedTheOther,  // another start holds it and has raised its window
    Refused,         // another start holds it and did not answer; a notice said so
};

// lock: this start's attempt on the library root. A library that cannot be
// locked at all opens as it would without the lock.
LibraryClaim claim_library(FolderLock::Outcome lock, const std::function<bool()>& ask_to_raise,
                           DesktopServices& desktop);

Text library_in_use_notice();

}  // namespace galmora
