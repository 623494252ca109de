// Where an export's file goes wrong: the one refusal both writers give, in Chinese, naming what
// the operator can mend (another folder, the permission, room on the disk).
#pragma once

#include <QString>

namespace sorrel::exporting {

// Throws StepRefused for a file that could not be written at `path`, telling a missing folder,
// a folder without write permission and a write that failed (a full disk) apart.
[[noreturn]] void refuseWriting(const QString& path);

} // namespace sorrel::exporting
