// The four data panels of the back office's "数据管理": backup, restore, clearing and system
// initialisation. Each asks its management password, then its question, and shows a progress
// bar while the work runs; backup, restore and clearing end the program afterwards.
#pragma once

#include "backoffice/panels/back_office_context.h"

#include <QList>
#include <QWidget>

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace sorrel::data {

enum class DataOperation { Backup, Restore, Clearing, Initialisation };

class DataOperationsPanel : public QWidget {
  public:
    DataOperationsPanel(const panels::BackOfficeContext& context, DataOperation operation, QWidget* parent);

    // Shown from the tree: the password emptied, the clearing's dates set to today, the restore's
    // list of backups read again with the newest backup chosen.
    void open();

  private:
    void run();
    void backup();
    void restore();
    void listBackups();
    void clear();
    void initialise();
    bool passwordAccepted();
    void progress(int percent);
    // Exit mode 1: the program ends with the re-login message.
    void endProgram();

    const panels::BackOfficeContext& context_;
    DataOperation operation_;
    QLineEdit* password_ = nullptr;
    QPushButton* start_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QList<QCheckBox*> boxes_; // the clearing's five, in panel order
    QList<QDateEdit*> dates_; // history from, to; log from, to
    QTreeWidget* backups_ = nullptr; // the restore's: every backup in back/, newest first
};

} // namespace sorrel::data
