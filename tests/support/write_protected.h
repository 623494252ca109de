// A file or folder that cannot be written while the object lives, even by root (as the test
// machines run): its write permission is taken away and, for root, it is made immutable.
#pragma once

#include <QString>

namespace sorrel::test {

class WriteProtected {
  public:
    explicit WriteProtected(const QString& path);
    ~WriteProtected();
    WriteProtected(const WriteProtected&) = delete;
    WriteProtected& operator=(const WriteProtected&) = delete;

    // False where this machine's file system cannot refuse root (the test then has nothing to show).
    bool holds() const;

  private:
    QString path_;
    bool immutable_ = false;
};

} // namespace sorrel::test
