#include "frontdesk/tables/work_screen.h"

#include "common/messages.h"
#include "common/typed_input.h"
#include "common/ui/guard.h"
#include "common/ui/keyboard_map.h"
#include "common/ui/keypad_signs.h"
#include "common/ui/panel_host.h"
#include "common/ui/text_grid.h"
#include "common/ui/tool_strip.h"
#include "frontdesk/tables/state_icons.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::tables {

namespace {

const char* const kPageNames[] = {"房台信息", "客人信息", "结帐信息"};
const char* const kPageObjects[] = {"pnl_roominfo", "pnl_guestinfo", "pnl_accountinfo"};

QString money(double amount) {
    return QString::number(amount, 'f', 2);
}

QString dateTime(const QDateTime& at) {
    return at.isValid() ? at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

} // namespace

WorkScreen::WorkScreen(const frontdesk::FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_Work"));
    setAutoFillBackground(true);
    using namespace work_tool;
    toolbar_ =
        new ui::ToolStrip(QStringLiteral("pnl_WorkTools"),
                          {
                              {kResume, QStringLiteral("续单"), QStyle::SP_BrowserReload},
                              {kOrder, QStringLiteral("点单 +"), QStyle::SP_FileDialogNewFolder},
                              {kTransfer, QStringLiteral("转台"), QStyle::SP_ArrowForward},
                              {kMerge, QStringLiteral("并台"), QStyle::SP_ArrowDown},
                              {kCheckout, QStringLiteral("结帐 *"), QStyle::SP_DialogSaveButton},
                              {kClear, QStringLiteral("清台 -"), QStyle::SP_TrashIcon},
                              {kBack, QStringLiteral("回退"), QStyle::SP_ArrowBack},
                              {kHelp, QStringLiteral("帮助信息"), QStyle::SP_DialogHelpButton},
                              {kInfo, QString::fromUtf8(kPageNames[Room]), QStyle::SP_FileDialogInfoView},
                              {kKitchen, QStringLiteral("后厨"), QStyle::SP_FileIcon},
                          },
                          this);

    // The information area and its three pages.
    infoHost_ = new QWidget(this);
    infoHost_->setObjectName(QStringLiteral("pnl_TableInfoP"));
    infoHost_->setFixedSize(300, 150);
    const auto addValue = [this](QFormLayout* form, QWidget* page, const char* caption) {
        auto* value = new QLabel(page);
        const QString text = QString::fromUtf8(caption);
        value->setObjectName(QStringLiteral("lbl_") + text);
        form->addRow(text, value);
        values_.insert(text, value);
    };
    for (int p = 0; p < 3; ++p) {
        auto* page = new QFrame(infoHost_);
        page->setObjectName(QString::fromLatin1(kPageObjects[p]));
        page->setFrameShape(QFrame::StyledPanel);
        page->setAutoFillBackground(true);
        page->hide();
        pages_.append(page);
    }
    auto* room = new QFormLayout(pages_[Room]);
    room->setVerticalSpacing(2);
    for (const char* caption : {"台号-", "房台名称-", "房台类别-", "部门-", "开台时间-", "单号-"})
        addValue(room, pages_[Room], caption);
    userNumber_ = new QLineEdit(pages_[Room]);
    userNumber_->setObjectName(QStringLiteral("edt_WorkUserRecn"));
    userNumber_->setMaxLength(11);
    remark_ = new QLineEdit(pages_[Room]);
    remark_->setObjectName(QStringLiteral("edt_WorkRemark"));
    remark_->setMaxLength(20);
    room->addRow(QStringLiteral("手动单号"), userNumber_);
    room->addRow(QStringLiteral("备注"), remark_);
    for (QLineEdit* edit : {userNumber_, remark_})
        ui::keypadSignsAreShortcuts(edit, context_.keyboard);

    auto* guest = new QFormLayout(pages_[Guest]);
    for (const char* caption : {"客人-", "人数-", "单位-"})
        addValue(guest, pages_[Guest], caption);

    auto* checkout = new QFormLayout(pages_[Checkout]);
    checkout->setVerticalSpacing(1);
    for (const char* caption : {"付帐时间-", "结帐员工-", "消费类型-", "付款方式-"})
        addValue(checkout, pages_[Checkout], caption);
    staff_ = new QComboBox(pages_[Checkout]);
    staff_->setObjectName(QStringLiteral("cmb_DeduOper"));
    commission_ = new QComboBox(pages_[Checkout]);
    commission_->setObjectName(QStringLiteral("cmb_DeduType"));
    commission_->addItem(QString());
    commission_->addItems(tables::commissionTypes());
    checkout->addRow(QStringLiteral("提成员工-"), staff_);
    checkout->addRow(QStringLiteral("提成方式-"), commission_);
    for (const char* caption : {"提成金额-", "收税金额-"})
        addValue(checkout, pages_[Checkout], caption);

    // The totals, the consumption type and the state picture.
    auto* totals = new QGridLayout;
    totals->setHorizontalSpacing(10);
    const char* const amounts[] = {"酒菜消费-", "特殊消费-", "最低消费-", "房间消费-",
                                   "收服务费-", "折扣金额-", "应收金额-", "实收金额-"};
    for (int i = 0; i < 8; ++i) {
        const QString text = QString::fromUtf8(amounts[i]);
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("lbl_") + text);
        value->setMinimumWidth(70);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        values_.insert(text, value);
        totals->addWidget(new QLabel(text, this), i / 2, (i % 2) * 2);
        totals->addWidget(value, i / 2, (i % 2) * 2 + 1);
    }
    consType_ = new QLabel(this);
    consType_->setObjectName(QStringLiteral("lbl_ConsTypeName"));
    stateIcon_ = new QLabel(this);
    stateIcon_->setObjectName(QStringLiteral("img_TableState"));
    stateIcon_->setFixedSize(kStateIconSize, kStateIconSize);
    totals->addWidget(consType_, 4, 0, 1, 3);
    totals->addWidget(stateIcon_, 4, 3, Qt::AlignRight);

    lines_ = new ui::TextGrid(QStringLiteral("dbg_TableCons"),
                              {QStringLiteral("传单"), QStringLiteral("消费项目"), QStringLiteral("单位"),
                               QStringLiteral("单价"), QStringLiteral("数量"), QStringLiteral("消费金额"),
                               QStringLiteral("类别"), QStringLiteral("套餐说明"), QStringLiteral("项目说明"),
                               QStringLiteral("提成员工")},
                              this);
    const int widths[] = {36, 130, 44, 60, 50, 70, 50, 100, 100, 80};
    for (int c = 0; c < 10; ++c)
        lines_->setColumnWidth(c, widths[c]);
    lines_->horizontalHeader()->setStretchLastSection(true);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(6, 4, 6, 0);
    top->addWidget(infoHost_);
    top->addSpacing(12);
    top->addLayout(totals, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget(toolbar_);
    column->addLayout(top);
    column->addWidget(lines_, 1);

    QToolButton* info = toolbar_->button(kInfo);
    auto* pagesMenu = new QMenu(info);
    for (int p = 0; p < 3; ++p)
        pagesMenu->addAction(QString::fromUtf8(kPageNames[p]), this, [this, p] { showPage(p); });
    info->setMenu(pagesMenu);
    info->setPopupMode(QToolButton::MenuButtonPopup);
    ui::connectGuarded(info, &QToolButton::clicked, this, [this] { showPage((page_ + 1) % 3); });
    ui::connectGuarded(toolbar_->button(kBack), &QToolButton::clicked, this, &WorkScreen::leave);
    context_.keyboard.bind(this, Qt::Key_Escape, [this] { leave(); });
}

void WorkScreen::present(const tables::WorkTable& work) {
    work_ = work;
    fill();
    showPage(Room);
    context_.navigator.showPanel(this, context_.host, true);
    lines_->setFocus();
}

void WorkScreen::fill() {
    const tables::BoardTable& t = work_.table;
    const billing::GuestRecord& g = work_.guest;
    const auto set = [this](const char* caption, const QString& text) {
        values_.value(QString::fromUtf8(caption))->setText(text);
    };
    set("台号-", t.code);
    set("房台名称-", t.name);
    set("房台类别-", t.typeName);
    set("部门-", t.deptName);
    set("开台时间-", dateTime(g.tabl_gues_time));
    set("单号-", QString::number(g.tabl_gues_auto_recn));
    set("客人-", g.tabl_gues_name);
    set("人数-", QString::number(g.tabl_gues_coun));
    set("单位-", money(g.tabl_gues_unit));
    set("付帐时间-", dateTime(g.tabl_gues_time_end));
    set("结帐员工-", g.oper_name);
    set("消费类型-", work_.consTypeName);
    set("付款方式-", g.tabl_gues_pay_narr);
    set("提成金额-", money(g.dedu_mone));
    set("收税金额-", money(g.tabl_gues_tax));
    const std::pair<const char*, double> amounts[] = {
        {"酒菜消费-", g.tabl_gues_dish}, {"特殊消费-", g.tabl_gues_spec}, {"最低消费-", g.tabl_gues_low},
        {"房间消费-", g.tabl_gues_room}, {"收服务费-", g.tabl_gues_serv}, {"折扣金额-", g.tabl_gues_disc},
        {"应收金额-", g.tabl_gues_shou}, {"实收金额-", g.tabl_gues_fact}};
    for (const auto& [caption, amount] : amounts)
        set(caption, money(amount));
    consType_->setText(work_.consTypeName);
    stateIcon_->setPixmap(stateIcon(t.state));

    userNumber_->setText(g.tabl_gues_user_recn);
    remark_->setText(g.tabl_gues_rema);
    staff_->clear();
    staff_->addItem(QString(), QString());
    for (const tables::CommissionStaff& s : tables::loadCommissionStaff(context_.db))
        staff_->addItem(s.name, s.code);
    staff_->setCurrentIndex(std::max(0, staff_->findData(g.dedu_oper_code)));
    commission_->setCurrentIndex(std::max(0, commission_->findText(g.dedu_type)));
    for (QWidget* edit : std::initializer_list<QWidget*>{userNumber_, remark_, staff_, commission_})
        edit->setEnabled(work_.open());
    fillLines();
}

void WorkScreen::reloadLines() {
    tables::reloadLines(context_.db, work_);
    fillLines();
}

void WorkScreen::fillLines() {
    QList<QStringList> rows;
    const RecordSet& l = work_.lines;
    for (int i = 0; i < l.rowCount(); ++i)
        rows << QStringList{l.flag(i, "tabl_cons_tran") ? QStringLiteral("√") : QString(),
                            l.text(i, "item_name"),
                            l.text(i, "item_unit"),
                            money(l.number(i, "item_unit_pric")),
                            plainNumberText(l.number(i, "tabl_cons_coun")),
                            money(l.number(i, "tabl_cons_tota")),
                            l.text(i, "menu_type_name"),
                            l.text(i, "cons_grou_narr"),
                            l.text(i, "cons_narr_name"),
                            l.text(i, "dedu_oper_name")};
    lines_->setRows(rows, rows.isEmpty() ? -1 : 0);
    // Returns stand out in red.
    for (int r = 0; r < l.rowCount(); ++r) {
        const QColor colour =
            l.integer(r, "item_coun_flag") == -1 ? QColor(Qt::red) : palette().color(QPalette::Text);
        for (int c = 0; c < lines_->columnCount(); ++c)
            if (QTableWidgetItem* cell = lines_->item(r, c)) cell->setForeground(colour);
    }
}

void WorkScreen::showPage(int page) {
    page_ = page;
    context_.navigator.showPanel(pages_[page], infoHost_, false);
    toolbar_->button(work_tool::kInfo)->setText(QString::fromUtf8(kPageNames[page]));
}

void WorkScreen::leave() {
    billing::GuestRecord* open = nullptr;
    if (work_.open()) {
        billing::GuestRecord& g = work_.guest;
        g.tabl_gues_user_recn = userNumber_->text();
        g.tabl_gues_rema = remark_->text();
        g.dedu_oper_code = staff_->currentData().toString();
        g.dedu_type = commission_->currentText();
        open = &g;
    }
    // A bill another workstation took away meanwhile: its refusal, and the board all the same.
    if (const std::optional<QString> refusal = tables::leaveTable(context_.db, open))
        messages::information(*refusal);
    showPage(Room);
    emit left(work_.table.code);
}

} // namespace sorrel::tables
