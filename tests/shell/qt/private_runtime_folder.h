#pragma once
// A runtime folder of the test's own (XDG_RUNTIME_DIR, mode 0700), shared
// with the programs the test starts, so that the sockets they make there go
// when the test ends.

#include <QByteArray>
#include <QtGlobal>

#include "tests/support/temp_dir.h"

namespace galmora::testing {

class PrivateRuntimeFolder {
  public:
    PrivateRuntimeFolder() : had_one_(qEnvironmentVariableIsSet(kName)), saved_(qgetenv(kName)) {
        qputenv(kName, QByteArray::fromStdString(folder_.path()));
    }
    ~PrivateRuntimeFolder() {
        if (had_one_)
            qputenv(kName, saved_);
        else
            qunsetenv(kName);
    }
    PrivateRuntimeFolder(const PrivateRuntimeFolder&) = delete;
    PrivateRuntimeFolder& operator=(const PrivateRuntimeFolder&) = delete;

  private:
    static constexpr char kName[] = "XDG_RUNTIME_DIR";
    TempDir folder_;
    bool had_one_;
    QByteArray saved_;
};

}  // namespace galmora::testing
