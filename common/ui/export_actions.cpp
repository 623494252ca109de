#include "common/ui/export_actions.h"

#include "common/db/errors.h"
#include "common/export/csv_file.h"
#include "common/export/export_file.h"
#include "common/export/xlsx_file.h"
#include "common/messages.h"
#include "common/progress.h"
#include "common/ui/print/print_document.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <memory>

namespace sorrel::ui {

using exporting::Sheet;

namespace {

// A progress bar is worth showing only for a list that takes longer than this.
constexpr int kQuietMs = 400;
constexpr int kRowsBetweenLooks = 256;

SaveFileChooser& chooser() {
    static SaveFileChooser installed;
    return installed;
}

// The folder the last export went to in this session: the next one opens there.
QString& lastFolder() {
    static QString folder = QDir::homePath();
    return folder;
}

// The operator stopped a long export: its file is not written, and nothing is wrong.
struct ExportCancelled {};

// Where the file goes, with its extension; empty when the operator cancelled.
QString chosenPath(QWidget* parent, const QString& caption, const QString& suggestedName,
                   const QString& extension, const QString& filter) {
    const QString proposed = QDir(lastFolder()).filePath(suggestedName + u'.' + extension);
    QString path = chooser() ? chooser()(parent, caption, proposed, filter)
                             : QFileDialog::getSaveFileName(parent, caption, proposed, filter);
    if (path.isEmpty()) return {};
    if (QFileInfo(path).suffix().compare(extension, Qt::CaseInsensitive) != 0) path += u'.' + extension;
    lastFolder() = QFileInfo(path).absolutePath();
    return path;
}

// The progress of a long export: a bar over the window after a moment, its cancel button
// stopping the rows (or the pages of a PDF).
class ExportProgress {
  public:
    ExportProgress(QWidget* parent, int expectedRows) : parent_(parent), expectedRows_(expectedRows) {
        started_.start();
    }

    // For a PDF: how far it has been laid out and painted, 0 to 100 (a bar made for 100 rows).
    ProgressReport percentage() {
        inPercent_ = true;
        return [this](int percent) {
            rows_ = percent;
            look();
        };
    }

    // Wraps a sheet's rows so that each few rows keep the window painting and the bar going.
    Sheet watched(const Sheet& sheet) {
        Sheet counted = sheet;
        counted.next = [this, next = sheet.next](QVector<QVariant>& row) {
            if (!next(row)) return false;
            if (++rows_ % kRowsBetweenLooks == 0) look();
            return true;
        };
        return counted;
    }

  private:
    void look() {
        if (!dialog_ && started_.elapsed() >= kQuietMs) {
            dialog_ = std::make_unique<QProgressDialog>(QStringLiteral("正在导出，请稍候……"),
                                                        QStringLiteral("取消"), 0, expectedRows_, parent_);
            dialog_->setObjectName(QStringLiteral("exportProgress"));
            dialog_->setWindowTitle(messages::title());
            dialog_->setWindowModality(Qt::WindowModal);
            dialog_->setMinimumDuration(0);
            dialog_->setAutoReset(false);
            dialog_->show();
        }
        if (!dialog_) return;
        if (expectedRows_ > 0) dialog_->setValue(std::min(rows_, expectedRows_));
        dialog_->setLabelText(inPercent_ ? QStringLiteral("正在导出，已完成%1%……").arg(rows_)
                                         : QStringLiteral("正在导出，已写入%1行……").arg(rows_));
        QApplication::processEvents();
        if (dialog_->wasCanceled()) throw ExportCancelled{};
    }

    QWidget* parent_;
    int expectedRows_;
    int rows_ = 0;
    bool inPercent_ = false;
    QElapsedTimer started_;
    std::unique_ptr<QProgressDialog> dialog_;
};

// Writes the file by `write`, and tells where it went or why it did not.
bool written(const QString& path, const std::function<void()>& write) {
    try {
        write();
    } catch (const ExportCancelled&) {
        return false;
    } catch (const StepRefused& refused) {
        messages::error(refused.text());
        return false;
    }
    messages::information(QStringLiteral("导出完成，文件已保存为：\n%1").arg(QDir::toNativeSeparators(path)));
    return true;
}

// The wait cursor while a document is built and painted, which shows no progress of its own.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

bool exportCsv(QWidget* parent, const QString& suggestedName, const std::function<Sheet()>& sheet) {
    const QString path = chosenPath(parent, QStringLiteral("导出CSV"), suggestedName, QStringLiteral("csv"),
                                    QStringLiteral("CSV 文件 (*.csv)"));
    if (path.isEmpty()) return false;
    return written(path, [&] {
        const Sheet source = sheet();
        ExportProgress progress(parent, source.expectedRows);
        exporting::writeCsvFile(path, progress.watched(source));
    });
}

bool exportExcel(QWidget* parent, const QString& suggestedName,
                 const std::function<QVector<Sheet>()>& sheets) {
    const QString path = chosenPath(parent, QStringLiteral("导出Excel"), suggestedName,
                                    QStringLiteral("xlsx"), QStringLiteral("Excel 工作簿 (*.xlsx)"));
    if (path.isEmpty()) return false;
    return written(path, [&] {
        const QVector<Sheet> sources = sheets();
        int expectedRows = 0;
        for (const Sheet& sheet : sources)
            expectedRows += sheet.expectedRows;
        ExportProgress progress(parent, expectedRows);
        QVector<Sheet> watched;
        for (const Sheet& sheet : sources)
            watched.append(progress.watched(sheet));
        exporting::writeXlsxFile(path, watched);
    });
}

bool exportPdf(QWidget* parent, const QString& suggestedName,
               const std::function<document::DocumentStream()>& document) {
    const QString path = chosenPath(parent, QStringLiteral("导出PDF"), suggestedName, QStringLiteral("pdf"),
                                    QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty()) return false;
    return written(path, [&] {
        const BusyCursor busy;
        const document::DocumentStream built = document();
        ExportProgress progress(parent, 100);
        exporting::writeInPlace(path, [&](const QString& partialPath) {
            print::PrintTarget target = print::PrintTarget::pdf(partialPath, document::PageFormat::a4());
            target.progress = progress.percentage();
            return print::printDocument(built, target).ok();
        });
    });
}

void setSaveFileChooser(SaveFileChooser installed) {
    chooser() = std::move(installed);
}

} // namespace sorrel::ui
