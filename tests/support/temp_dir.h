#pragma once
// A fresh folder under /tmp for one test, removed with everything in it when
// the test ends. Removal never follows a symbolic link, so a link inside the
// folder can never lead it to delete anything outside.

#include <string>
#include <string_view>

#include "core/text.h"

namespace galmora::testing {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path (ASCII, no trailing "/").
    const std::string& path() const { return path_; }
    Text text() const;
    // path() + "/" + name, as UTF-8 and as local text.
    std::string file(const std::string& name_utf8) const { return path_ + "/" + name_utf8; }
    Text file_text(const std::string& name_utf8) const;
    // Writes the file, making the folders it needs; reads a file back whole
    // ("" when it cannot be read).
    void put(const std::string& name_utf8, std::string_view contents = "x") const;
    std::string contents(const std::string& name_utf8) const;

  private:
    std::string path_;
};

}  // namespace galmora::testing
