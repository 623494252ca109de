// What the "导出CSV", "导出Excel" and "导出PDF" buttons of a report or query screen do: ask
// where the file goes (the file dialog, opened on the folder last used), build what goes out
// only then, write it with a progress bar for a long list (which the operator may cancel), and
// say in Chinese where the file went or why it could not be written.
#pragma once

#include "common/document/document.h"
#include "common/document/document_stream.h"
#include "common/export/sheet.h"

#include <QString>
#include <functional>

class QWidget;

namespace sorrel::ui {

// Each answers whether a file was written. `suggestedName` is the file's name without its
// extension ("销售分析报表_2024-06-01_2024-06-30"). A failure of the disk is told through
// Messages and answered false; what the builders throw passes on to the handler's guard.
bool exportCsv(QWidget* parent, const QString& suggestedName, const std::function<exporting::Sheet()>& sheet);
bool exportExcel(QWidget* parent, const QString& suggestedName,
                 const std::function<QVector<exporting::Sheet>()>& sheets);
bool exportPdf(QWidget* parent, const QString& suggestedName,
               const std::function<document::DocumentStream()>& document);

// Answers the file dialog: the path chosen for `proposedPath` (caption and filter as the
// dialog shows them), empty when the operator cancelled.
using SaveFileChooser = std::function<QString(QWidget* parent, const QString& caption,
                                              const QString& proposedPath, const QString& filter)>;
// For tests, which choose the path without a dialog; an empty chooser brings the dialog back.
void setSaveFileChooser(SaveFileChooser chooser);

} // namespace sorrel::ui
