#pragma once
// Counts the writes that land on one file, as the file system reports them:
// a file renamed over it, or the file closed after being written in place.

#include <string>

namespace galmora::testing {

class FileWriteCounter {
  public:
    explicit FileWriteCounter(const std::string& file);
    ~FileWriteCounter();
    FileWriteCounter(const FileWriteCounter&) = delete;
    FileWriteCounter& operator=(const FileWriteCounter&) = delete;

    // The writes since the counter was made.
    int count();

  private:
    int watcher_ = -1;
    std::string name_;
    int count_ = 0;
};

}  // namespace galmora::testing
