#include "backoffice/data/data_operations_panel.h"

#include "backoffice/data/data_clearing.h"
#include "common/db/errors.h"
#include "common/db/transaction.h"
#include "common/installation/backup.h"
#include "common/messages.h"
#include "common/system_password.h"
#include "common/ui/guard.h"
#include "common/venue_reset.h"
#include "common/workstations.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace sorrel::data {

namespace {

struct Captions {
    const char* objectName;
    const char* prompt;
    const char* button;
};

Captions captionsOf(DataOperation operation) {
    switch (operation) {
    case DataOperation::Backup:
        return {"pnl_DataBackup", "请输入[数据备份]管理密码：", "开始备份"};
    case DataOperation::Restore:
        return {"pnl_DataRestore", "请输入[数据恢复]管理密码：", "数据恢复"};
    case DataOperation::Clearing:
        return {"pnl_DataClear", "请输入清除管理密码：", "开始清除 "};
    case DataOperation::Initialisation:
        return {"pnl_DataInit", "请输入[系统初始化]管理密码：", "系统初始化"};
    }
    return {};
}

// The wait cursor and the disabled button for as long as the work runs.
class Busy {
  public:
    explicit Busy(QPushButton* button) : button_(button) {
        button_->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~Busy() {
        QApplication::restoreOverrideCursor();
        button_->setEnabled(true);
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

  private:
    QPushButton* button_;
};

} // namespace

DataOperationsPanel::DataOperationsPanel(const panels::BackOfficeContext& context, DataOperation operation,
                                         QWidget* parent)
    : QWidget(parent), context_(context), operation_(operation) {
    const Captions captions = captionsOf(operation);
    setObjectName(QString::fromLatin1(captions.objectName));
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("edt_ManagementPassword"));
    password_->setEchoMode(QLineEdit::Password);
    password_->setMaxLength(20);
    start_ = new QPushButton(QString::fromUtf8(captions.button), this);
    start_->setObjectName(QStringLiteral("btn_Start"));
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->hide();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 16, 24, 16);
    column->setSpacing(12);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromUtf8(captions.prompt), this));
    row->addWidget(password_);
    row->addStretch();
    column->addLayout(row);
    if (operation == DataOperation::Clearing) {
        auto* grid = new QGridLayout;
        const char* labels[] = {"清除消费项目库存", "清除基本信息（如酒菜库、房台库）", "清除所有历史数据",
                                "清除部分历史数据", "清除部分日志数据"};
        for (int i = 0; i < 5; ++i) {
            auto* box = new QCheckBox(QString::fromUtf8(labels[i]), this);
            box->setObjectName(QStringLiteral("chk_Clear%1").arg(i + 1));
            boxes_ << box;
            grid->addWidget(box, i, 0);
        }
        for (int range = 0; range < 2; ++range) {
            auto* from = new QDateEdit(this);
            auto* to = new QDateEdit(this);
            for (QDateEdit* date : {from, to}) {
                date->setCalendarPopup(true);
                date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
                dates_ << date;
            }
            grid->addWidget(from, 3 + range, 1);
            grid->addWidget(new QLabel(QStringLiteral("到"), this), 3 + range, 2);
            grid->addWidget(to, 3 + range, 3);
        }
        grid->setColumnStretch(4, 1);
        column->addLayout(grid);
    }
    if (operation == DataOperation::Restore) {
        column->addWidget(new QLabel(QStringLiteral("请选择要恢复的备份："), this));
        backups_ = new QTreeWidget(this);
        backups_->setObjectName(QStringLiteral("lst_Backups"));
        backups_->setHeaderLabels({QStringLiteral("备份时间"), QStringLiteral("类别"), QStringLiteral("大小"),
                                   QStringLiteral("文件")});
        backups_->setRootIsDecorated(false);
        backups_->setAllColumnsShowFocus(true);
        backups_->setSelectionMode(QAbstractItemView::SingleSelection);
        backups_->setMinimumHeight(160);
        column->addWidget(backups_, 1);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addStretch();
    column->addLayout(buttons);
    column->addWidget(bar_);
    if (!backups_) column->addStretch();
    ui::connectGuarded(start_, &QPushButton::clicked, this, &DataOperationsPanel::run);
}

void DataOperationsPanel::open() {
    password_->clear();
    for (QDateEdit* date : std::as_const(dates_))
        date->setDate(context_.clock.today());
    if (backups_) listBackups();
    password_->setFocus();
}

void DataOperationsPanel::listBackups() {
    backups_->clear();
    const QList<installation::BackupEntry> entries =
        installation::listBackups(installation::backFolder(context_.programDir));
    for (const installation::BackupEntry& entry : entries) {
        auto* item = new QTreeWidgetItem(
            backups_, {entry.madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                       installation::purposeCaption(entry.purpose), installation::sizeCaption(entry.bytes),
                       QFileInfo(entry.file).fileName()});
        item->setData(0, Qt::UserRole, entry.file);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    const int chosen = installation::defaultBackupIndex(entries);
    if (chosen >= 0) backups_->setCurrentItem(backups_->topLevelItem(chosen));
    // Each column as wide as its widest entry, with a gap before the next so they do not run together.
    const int gap = backups_->fontMetrics().horizontalAdvance(QStringLiteral("　　"));
    for (int c = 0; c < backups_->columnCount(); ++c) {
        backups_->resizeColumnToContents(c);
        if (c + 1 < backups_->columnCount()) backups_->setColumnWidth(c, backups_->columnWidth(c) + gap);
    }
}

bool DataOperationsPanel::passwordAccepted() {
    const QString refusal = managementPasswordRefusal(
        password_->text(), operation_ == DataOperation::Initialisation ? ManagementPassword::Initialisation
                                                                       : ManagementPassword::Data);
    if (refusal.isEmpty()) return true;
    messages::information(refusal);
    for (QCheckBox* box : std::as_const(boxes_))
        box->setChecked(false);
    return false;
}

void DataOperationsPanel::progress(int percent) {
    bar_->show();
    bar_->setValue(percent);
    bar_->repaint();
}

void DataOperationsPanel::endProgram() {
    context_.workspace.setExitMode(panels::ExitMode::DataProcessed);
    window()->close();
}

void DataOperationsPanel::run() {
    if (!passwordAccepted()) return;
    try {
        switch (operation_) {
        case DataOperation::Backup:
            backup();
            break;
        case DataOperation::Restore:
            restore();
            break;
        case DataOperation::Clearing:
            clear();
            break;
        case DataOperation::Initialisation:
            initialise();
            break;
        }
    } catch (const DbError& e) {
        // A backup that could not be made or a restore that was refused changed nothing: the
        // manager reads why, and the program goes on.
        bar_->hide();
        messages::error(e.reason());
    }
}

void DataOperationsPanel::backup() {
    {
        const Busy busy(start_);
        installation::backupDatabase(context_.db, installation::backFolder(context_.programDir),
                                     context_.clock, installation::BackupPurpose::Backup,
                                     [this](int p) { progress(p); });
    }
    messages::information(installation::kBackupDoneMessage);
    endProgram();
}

void DataOperationsPanel::restore() {
    const QString folder = installation::backFolder(context_.programDir);
    const QTreeWidgetItem* chosen = backups_->currentItem();
    const QString backup =
        chosen ? chosen->data(0, Qt::UserRole).toString() : installation::latestBackupFile(folder);
    if (!messages::ask(installation::restoreQuestion(installation::checkBackupFile(backup)))) return;
    {
        const Busy busy(start_);
        installation::restoreDatabaseFrom(context_.db, backup, folder, context_.clock,
                                          [this](int p) { progress(p); });
    }
    messages::information(installation::kRestoreDoneMessage);
    endProgram();
}

void DataOperationsPanel::clear() {
    ClearingChoice choice;
    choice.stock = boxes_[0]->isChecked();
    choice.basic = boxes_[1]->isChecked();
    choice.allHistory = boxes_[2]->isChecked();
    choice.someHistory = boxes_[3]->isChecked();
    choice.someLog = boxes_[4]->isChecked();
    choice.historyFrom = dates_[0]->date();
    choice.historyTo = dates_[1]->date();
    choice.logFrom = dates_[2]->date();
    choice.logTo = dates_[3]->date();
    const QString refusal = clearingRefusal(choice);
    if (!refusal.isEmpty()) {
        messages::information(refusal);
        return;
    }
    if (!messages::ask(clearingQuestion(context_.db, choice))) return;
    {
        const Busy busy(start_);
        progress(10);
        clearData(context_.db, choice, installation::backFolder(context_.programDir), context_.clock);
        progress(100);
    }
    messages::information(kClearingDoneMessage);
    endProgram();
}

void DataOperationsPanel::initialise() {
    if (!messages::ask(resetQuestion(context_.db))) return;
    {
        const Busy busy(start_);
        progress(10);
        prepareReset(context_.db, installation::backFolder(context_.programDir), context_.clock,
                     installation::BackupPurpose::BeforeInit);
        progress(60);
        runCoded(context_.db, kInitialisationCode, [this] { resetVenueData(context_.db); });
        progress(100);
    }
    bar_->hide();
    password_->clear();
    messages::information(kInitialisationDoneMessage);
}

} // namespace sorrel::data
