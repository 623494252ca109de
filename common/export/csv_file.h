// A sheet as a CSV file that a spreadsheet opens with its Chinese intact: UTF-8 with a byte
// order mark, CRLF line ends, the captions as the first row, fields quoted where they must be
// (RFC 4180), figures as plain numbers. A text that a spreadsheet would take for a formula
// (=, +, -, @ first) is written with a leading "'", so opening the file never runs one.
#pragma once

#include "common/export/sheet.h"

namespace sorrel::exporting {

// Writes the file under a temporary name and puts it in place once every row is out; any
// failure (no room, no permission, a row that could not be read) leaves no file behind and is
// thrown: StepRefused for the disk, whatever the rows threw for them.
void writeCsvFile(const QString& path, const Sheet& sheet);

} // namespace sorrel::exporting
