// Where an export's file goes: written whole under a temporary name beside its place and put
// there only once it is complete, so a failure never leaves half a file nor spoils an earlier
// one; and the one refusal every export gives, in Chinese, naming what the operator can mend
// (another folder, the permission, room on the disk).
#pragma once

#include <QString>
#include <functional>

namespace sorrel::exporting {

// Throws StepRefused for a file that could not be written at `path`, telling a missing folder,
// a folder without write permission and a write that failed (a full disk) apart.
[[noreturn]] void refuseWriting(const QString& path);

// Has `write` write the file at the temporary path it is given and answer whether it wrote it
// whole; then puts the file at `path`. A false answer is refused as above; what `write` throws
// passes on. Either way nothing is left at the temporary path and `path` keeps what it held.
void writeInPlace(const QString& path, const std::function<bool(const QString& partialPath)>& write);

} // namespace sorrel::exporting
