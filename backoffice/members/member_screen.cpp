#include "backoffice/members/member_screen.h"
#include "common/ui/guard.h"

#include "backoffice/members/find_dialog.h"
#include "backoffice/members/member_navigation.h"
#include "backoffice/panels/list_panel.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace sorrel::members {

namespace {

using ui::GridColumn;

QString dateText(const QVariant& v) {
    return v.isNull() ? QString() : v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
}

QPushButton* formButton(panels::ListPanel* p, const QString& caption, const QString& name, int row, int col) {
    auto* b = new QPushButton(caption, p);
    b->setObjectName(name);
    p->addToForm(b, row, col);
    return b;
}

QWidget* typesPanel(MemberLists& lists, QWidget* parent) {
    auto* p = new panels::ListPanel(QStringLiteral("pnl_MembType"), lists.types(),
                                    {{QStringLiteral("编码"), "memb_type_code", {}, 40},
                                     {QStringLiteral("类型"), "memb_Type_name", {}, 90},
                                     {QStringLiteral("售价"), "memb_type_pric", ui::amountText, 50},
                                     {QStringLiteral("限期"), "memb_type_allo_time", ui::yesNoMark, 40},
                                     {QStringLiteral("期限(天)"), "memb_type_time", {}, 60},
                                     {QStringLiteral("折扣率"), "memb_type_disc_perc", ui::percentText, 50},
                                     {QStringLiteral("可消费金额"), "memb_type_fact", ui::amountText}},
                                    parent);
    p->addEdit(QStringLiteral("编码："), "memb_type_code", 0, 0);
    p->addEdit(QStringLiteral("类型："), "memb_Type_name", 0, 1);
    p->addEdit(QStringLiteral("售价："), "memb_type_pric", 1, 0, panels::FieldKind::Amount);
    p->addEdit(QStringLiteral("期限："), "memb_type_time", 1, 1, panels::FieldKind::Digits);
    p->addCheck(QStringLiteral("限期"), "memb_type_allo_time", 2, 1);
    p->addEdit(QStringLiteral("折扣率："), "memb_type_disc_perc", 2, 0, panels::FieldKind::Digits)
        ->setPlaceholderText("%");
    p->addEdit(QStringLiteral("可消费金额："), "memb_type_fact", 3, 0, panels::FieldKind::Amount);
    return p;
}

QWidget* membersPanel(MemberLists& lists, panels::Workspace& workspace, QWidget* parent) {
    auto typeNames = std::make_shared<lists::Choices>();
    auto* p = new panels::ListPanel(
        QStringLiteral("pnl_Member"), lists.members(),
        {{QStringLiteral("卡号"), "memb_card_code", {}, 70},
         {QStringLiteral("姓名"), "memb_name", {}, 60},
         {QStringLiteral("会员类型"), "memb_type_code",
          [typeNames](const QVariant& v) { return lists::nameOf(*typeNames, v.toString()); }, 70},
         {QStringLiteral("卡类型"), "memb_card_type", {}, 50},
         {QStringLiteral("折扣率"), "memb_disc_perc", ui::percentText, 50},
         {QStringLiteral("剩余金额"), "memb_surp", ui::amountText, 60},
         {QStringLiteral("消费积分"), "memb_stor", ui::amountText, 60},
         {QStringLiteral("结束日期"), "memb_time_end", dateText, 80},
         {QStringLiteral("限期"), "memb_time_allo", ui::yesNoMark, 40},
         {QStringLiteral("密码"), "memb_pass", panels::maskedPassword, 50},
         {QStringLiteral("证件号码"), "memb_ID", {}, 140},
         {QStringLiteral("工作单位"), "memb_work", {}, 100},
         {QStringLiteral("地址"), "memb_add", {}, 120},
         {QStringLiteral("电话"), "memb_tele", {}, 90},
         {QStringLiteral("备注"), "memb_rema"}},
        parent);
    lists::MaintenanceList& members = lists.members();
    p->onShow([typeNames, &lists] { *typeNames = lists.typeChoices(); });
    p->addEdit(QStringLiteral("卡号："), "memb_card_code", 0, 0);
    p->addChoice(
        QStringLiteral("会员类别："), "memb_type_code", [&lists] { return lists.typeChoices(); }, 0, 1);
    auto* end = new QDateEdit(p);
    end->setObjectName(QStringLiteral("dtp_memb_time_end"));
    end->setCalendarPopup(true);
    end->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    p->form()->addWidget(panels::fieldCaption(QStringLiteral("期限："), p), 0, 4);
    p->form()->addWidget(end, 0, 5);
    p->addCheck(QStringLiteral("限期"), "memb_time_allo", 0, 3);
    p->addEdit(QStringLiteral("折扣率："), "memb_disc_perc", 1, 0, panels::FieldKind::Digits);
    p->addEdit(QStringLiteral("剩余金额："), "memb_surp", 1, 1, panels::FieldKind::Amount)->setReadOnly(true);
    auto* stored = new QRadioButton(kStoredValueCard, p);
    stored->setObjectName(QStringLiteral("rad_stored"));
    auto* points = new QRadioButton(kPointsCard, p);
    points->setObjectName(QStringLiteral("rad_points"));
    p->form()->addWidget(panels::fieldCaption(QStringLiteral("类别："), p), 1, 4);
    p->form()->addWidget(stored, 1, 5);
    p->form()->addWidget(points, 1, 6);
    p->addEdit(QStringLiteral("消费积分："), "memb_stor", 2, 0, panels::FieldKind::Amount)->setReadOnly(true);
    p->addEdit(QStringLiteral("密码："), "memb_pass", 2, 1)->setEchoMode(QLineEdit::Password);
    p->addEdit(QStringLiteral("姓名："), "memb_name", 2, 2);
    // The ID card's 18 digits take two cells' room.
    p->addEdit(QStringLiteral("证件号码："), "memb_ID", 3, 0, panels::FieldKind::Text, 1);
    p->addEdit(QStringLiteral("地址："), "memb_add", 3, 2);
    p->addEdit(QStringLiteral("电话："), "memb_tele", 4, 0);
    p->addEdit(QStringLiteral("单位："), "memb_work", 4, 1);
    p->addEdit(QStringLiteral("备注："), "memb_rema", 4, 2);
    QPushButton* topUp = formButton(p, QStringLiteral("续钱"), QStringLiteral("btn_TopUp"), 5, 0);
    QPushButton* deduct = formButton(p, QStringLiteral("扣减"), QStringLiteral("btn_Deduct"), 5, 1);

    // The card type's radio, the validity date and which of the two buttons fit the card.
    const auto show = [&members, stored, points, end, topUp, deduct] {
        const bool any = members.current() >= 0;
        const bool isPoints = members.text(QStringLiteral("memb_card_type")) == kPointsCard;
        stored->setChecked(any && !isPoints);
        points->setChecked(any && isPoints);
        for (QWidget* w : std::initializer_list<QWidget*>{stored, points, end})
            w->setEnabled(any);
        topUp->setEnabled(any && !isPoints);
        deduct->setEnabled(any && isPoints);
        const QSignalBlocker quiet(end);
        end->setDate(members.value(QStringLiteral("memb_time_end")).toDate());
    };
    ui::connectGuarded(&members, &lists::MaintenanceList::currentChanged, p, show);
    ui::connectGuarded(&members, &lists::MaintenanceList::recordChanged, p, show);
    ui::connectGuarded(&members, &lists::MaintenanceList::rowsReset, p, show);
    p->onShow(show);
    ui::connectGuarded(stored, &QRadioButton::clicked, p,
                       [&members] { members.edit(QStringLiteral("memb_card_type"), kStoredValueCard); });
    ui::connectGuarded(points, &QRadioButton::clicked, p,
                       [&members] { members.edit(QStringLiteral("memb_card_type"), kPointsCard); });
    ui::connectGuarded(end, &QDateEdit::dateChanged, p, [&members](const QDate& date) {
        members.edit(QStringLiteral("memb_time_end"), QDateTime(date, QTime(0, 0)));
    });
    ui::connectGuarded(topUp, &QPushButton::clicked, p, [&workspace, &lists] {
        enterTopUps(workspace, lists, MemberLists::TopUpKind::Money);
    });
    ui::connectGuarded(deduct, &QPushButton::clicked, p, [&workspace, &lists] {
        enterTopUps(workspace, lists, MemberLists::TopUpKind::Points);
    });
    workspace.setQuery(QStringLiteral("会员信息"), [p, &members] {
        askAndFind(p, members, QStringLiteral("memb_card_code"), QStringLiteral("memb_name"));
    });
    return p;
}

// An amount edit that takes digits, "-" and one decimal point; what it holds goes to the entry
// as a number (0 while it is not one), and it shows the entry's value when another is current.
QLineEdit* amountEdit(panels::ListPanel* p, MemberLists& lists, const QString& caption, const QString& column,
                      int row, int col) {
    auto* edit = new QLineEdit(p);
    edit->setObjectName(QStringLiteral("edt_") + column);
    acceptSignedAmount(edit);
    p->form()->addWidget(panels::fieldCaption(caption, p), row, col * 2);
    p->form()->addWidget(edit, row, col * 2 + 1);
    lists::MaintenanceList& entries = lists.topUps();
    const auto show = [edit, &entries, column] {
        const double value = entries.value(column).toDouble();
        if (enteredAmount(edit->text()) != value || entries.current() < 0)
            edit->setText(entries.current() < 0 ? QString() : QString::number(value, 'g', 12));
    };
    ui::connectGuarded(&entries, &lists::MaintenanceList::currentChanged, edit, show);
    ui::connectGuarded(&entries, &lists::MaintenanceList::recordChanged, edit, show);
    ui::connectGuarded(&entries, &lists::MaintenanceList::rowsReset, edit, show);
    ui::connectGuarded(edit, &QLineEdit::textEdited, edit,
                       [&lists, column](const QString& text) { lists.enterTopUp(column, text); });
    return edit;
}

class TopUpsPanel : public panels::ListPanel {
  public:
    TopUpsPanel(MemberLists& lists, QWidget* parent)
        : panels::ListPanel(QStringLiteral("pnl_MembManage"), lists.topUps(),
                            {{QStringLiteral("会员卡号"), "memb_card_code", {}, 80},
                             {QStringLiteral("卡类型"), "memb_card_type", {}, 60},
                             {QStringLiteral("续钱"), "memb_mana_save", ui::amountText, 70},
                             {QStringLiteral("积分"), "memb_mana_inte", ui::amountText, 70},
                             {QStringLiteral("备注"), "memb_mana_rema"}},
                            parent),
          lists_(lists) {
        card_ = new QLabel(this);
        card_->setObjectName(QStringLiteral("lbl_card"));
        addToForm(card_, 0, 0, 3);
        save_ = amountEdit(this, lists, QStringLiteral("续钱："), QStringLiteral("memb_mana_save"), 1, 0);
        points_ =
            amountEdit(this, lists, QStringLiteral("扣减积分："), QStringLiteral("memb_mana_inte"), 1, 1);
        addEdit(QStringLiteral("备注："), "memb_mana_rema", 2, 0);
    }

  protected:
    void showEvent(QShowEvent* event) override {
        const lists::MaintenanceList& m = lists_.members();
        card_->setText(QStringLiteral("会员卡号：%1    卡类型：%2    姓名：%3")
                           .arg(m.text(QStringLiteral("memb_card_code")),
                                m.text(QStringLiteral("memb_card_type")),
                                m.text(QStringLiteral("memb_name"))));
        const bool money = lists_.topUpKind() == MemberLists::TopUpKind::Money;
        save_->setEnabled(money);
        points_->setEnabled(!money);
        panels::ListPanel::showEvent(event);
    }

  private:
    MemberLists& lists_;
    QLabel* card_;
    QLineEdit* save_;
    QLineEdit* points_;
};

} // namespace

void acceptSignedAmount(QLineEdit* edit) {
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?\\d{0,9}(\\.\\d{0,2})?")), edit));
}

QHash<QString, QWidget*> makeMemberPanels(const panels::BackOfficeContext& context, MemberLists& members) {
    QWidget* parent = context.host;
    return {
        {QStringLiteral("会员类别"), typesPanel(members, parent)},
        {QStringLiteral("会员信息"), membersPanel(members, context.workspace, parent)},
        {kTopUpsPanel, new TopUpsPanel(members, parent)},
    };
}

} // namespace sorrel::members
