// Sheets as an Excel workbook (.xlsx), one worksheet a sheet: the captions row frozen above the
// rows, figures as numbers (money and percentages with two decimals), days and moments as
// Excel dates, columns as wide as their Chinese text. Written row by row, so a long list
// takes little memory.
#pragma once

#include "common/export/sheet.h"

namespace sorrel::exporting {

// The rows a worksheet holds below its captions.
inline constexpr int kMostWorksheetRows = 1048575;

// Writes the workbook under a temporary name and puts it in place once it is whole; any failure
// (no room, no permission, a sheet longer than a worksheet holds, a row that could not be
// read) leaves no file behind and is thrown: StepRefused for the disk and the length, whatever
// the rows threw for them.
void writeXlsxFile(const QString& path, const QVector<Sheet>& sheets);

} // namespace sorrel::exporting
