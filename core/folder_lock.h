#pragma once
// An advisory lock on a folder, held until the lock is destroyed or the
// process ends, however it ends: the system releases it, so nothing stale is
// ever left behind. The folder itself is locked, so a folder on a read-only
// medium can be locked too, and nothing is created in it.

#include "core/text.h"

namespace galmora {

class FolderLock {
  public:
    enum class Outcome {
        Taken,          // this process holds the lock
        HeldByAnother,  // another process holds it
        NotAvailable,   // the folder cannot be opened or this file system locks nothing
    };

    // Tries once, without waiting.
    explicit FolderLock(const Text& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    Outcome outcome() const { return outcome_; }

  private:
    int descriptor_ = -1;
    Outcome outcome_ = Outcome::NotAvailable;
};

}  // namespace galmora
