// The error log of a workstation: what went wrong in full (the engine's own words and the
// statement it met) is kept here for whoever maintains the venue's system, never shown to the
// staff. The files sit in log/ beside the program, one a day, the last month kept, readable by
// their owner only; both programs write to the same folder and each entry names its program
// and machine.
#pragma once

#include "common/clock.h"

#include <QString>

namespace sorrel::errorlog {

// How many daily files are kept; older ones are removed when a new day's file is begun.
inline constexpr int kDaysKept = 30;

// Entries go to `programDir`/log, dated by `clock` (which must outlive the log, or be
// uninstalled first). Until then, and after uninstall(), entries go to the standard error stream.
void install(const QString& programDir, const Clock& clock);
void uninstall();

// The folder the entries are written to; empty while none is installed.
QString folder();

// Writes one entry: what happened and its full detail. Answers the entry's reference, the code
// the staff are shown and report (the date and time, which finds the entry in the day's file).
QString write(const QString& what, const QString& detail);

} // namespace sorrel::errorlog
