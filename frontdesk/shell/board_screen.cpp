#include "frontdesk/shell/board_screen.h"

#include "common/ui/tool_strip.h"
#include "frontdesk/shell/about_panel.h"
#include "frontdesk/shell/login_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace sorrel::frontdesk {

namespace {

constexpr int kToolbarHeight = 54;
constexpr int kViewsWidth = 602;

// The search box takes table codes: digits and letters, shown in capitals.
class TableCodeBox : public QLineEdit {
  public:
    explicit TableCodeBox(QWidget* parent) : QLineEdit(parent) {
        setMaxLength(8);
        setFrame(false);
        setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Za-z]*")), this));
        connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (text != text.toUpper()) {
                const int at = cursorPosition();
                setText(text.toUpper());
                setCursorPosition(at);
            }
        });
    }
};

} // namespace

BoardScreen::BoardScreen(const FrontDeskContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("pnl_TableState"));

    const auto icon = [this](QStyle::StandardPixmap pixmap) { return style()->standardIcon(pixmap); };
    using namespace board_tool;
    toolbar_ =
        new ui::ToolStrip(QStringLiteral("Panel2"),
                          {
                              {kView, QStringLiteral("图形房台"), icon(QStyle::SP_FileDialogListView)},
                              {kDay, QStringLiteral("日始/日结"), icon(QStyle::SP_BrowserReload)},
                              {kReports, QStringLiteral("报表"), icon(QStyle::SP_FileDialogDetailedView)},
                              {kSettings, QStringLiteral("设置"), icon(QStyle::SP_FileDialogContentsView)},
                              {kRelogin, QStringLiteral("重新登录"), icon(QStyle::SP_DialogResetButton)},
                              {kAbout, QStringLiteral("关于"), icon(QStyle::SP_MessageBoxInformation)},
                              {kHelp, QStringLiteral("帮助"), icon(QStyle::SP_DialogHelpButton)},
                              {kSort, QStringLiteral("台号排序"), icon(QStyle::SP_ArrowDown)},
                              {kExit, QStringLiteral("退出"), icon(QStyle::SP_DialogCloseButton)},
                          },
                          kToolbarHeight, this);

    views_ = new QWidget(this);
    views_->setObjectName(QStringLiteral("pnl_TableStateP"));
    views_->setFixedWidth(kViewsWidth);
    graphic_ = new QWidget(views_);
    graphic_->setObjectName(QStringLiteral("pnl_TableStateG"));
    graphic_->setAutoFillBackground(true);
    QPalette white = graphic_->palette();
    white.setColor(QPalette::Window, Qt::white);
    graphic_->setPalette(white);

    column_ = new QWidget(this);
    column_->setObjectName(QStringLiteral("Panel3"));
    auto* columnLayout = new QVBoxLayout(column_);
    columnLayout->setContentsMargins(4, 4, 4, 4);
    columnLayout->setSpacing(4);
    typeNote_ = new QLabel(column_);
    typeNote_->setObjectName(QStringLiteral("lbl_TypeNarr"));
    typeNote_->setWordWrap(true);
    shift_ = new QLabel(column_);
    shift_->setObjectName(QStringLiteral("lbl_Shift"));
    workDate_ = new QLabel(column_);
    workDate_->setObjectName(QStringLiteral("lbl_WorkDate"));
    for (QLabel* label : {shift_, workDate_})
        label->setAlignment(Qt::AlignCenter);
    content_ = new QVBoxLayout;
    search_ = new TableCodeBox(column_);
    search_->setObjectName(QStringLiteral("edt_TableSearch"));
    columnLayout->addWidget(typeNote_);
    columnLayout->addWidget(shift_);
    columnLayout->addWidget(workDate_);
    columnLayout->addLayout(content_);
    columnLayout->addStretch(1);
    columnLayout->addWidget(search_);

    auto* below = new QHBoxLayout;
    below->setContentsMargins(0, 0, 0, 0);
    below->setSpacing(0);
    below->addWidget(views_);
    below->addWidget(column_, 1);
    auto* screen = new QVBoxLayout(this);
    screen->setContentsMargins(0, 0, 0, 0);
    screen->setSpacing(0);
    screen->addWidget(toolbar_);
    screen->addLayout(below, 1);

    login_ = new LoginBox(context_.session, this);
    about_ = new AboutPanel(this);
    about_->hide();

    connect(login_, &LoginBox::accepted, this, &BoardScreen::acceptLogin);
    connect(login_, &LoginBox::exitRequested, this, &BoardScreen::exitRequested);
    connect(toolbar_->button(kRelogin), &QToolButton::clicked, this, &BoardScreen::relogin);
    connect(toolbar_->button(kAbout), &QToolButton::clicked, this, [this] { showAbout(true); });
    connect(about_, &ui::TitledBox::closeClicked, this, [this] { showAbout(false); });
    connect(toolbar_->button(kHelp), &QToolButton::clicked, this, &BoardScreen::helpRequested);
    connect(toolbar_->button(kExit), &QToolButton::clicked, this, &BoardScreen::exitRequested);

    showLoginBox();
}

void BoardScreen::centreOverBoard(QWidget* box) {
    box->move((width() - box->width()) / 2, kToolbarHeight + (height() - kToolbarHeight - box->height()) / 2);
}

void BoardScreen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    centreOverBoard(login_);
    centreOverBoard(about_);
}

bool BoardScreen::loginBoxShown() const {
    return !login_->isHidden();
}

void BoardScreen::showLoginBox() {
    views_->hide();
    column_->hide();
    toolbar_->setLive(false);
    centreOverBoard(login_);
    login_->show();
    login_->raise();
}

void BoardScreen::relogin() {
    showLoginBox();
    login_->reset();
    context_.session.relogin();
    login_->focusShiftList();
}

void BoardScreen::acceptLogin() {
    login_->hide();
    views_->show();
    column_->show();
    toolbar_->setLive(true);
    shift_->setText(context_.session.shiftName());
    workDate_->setText(context_.session.settings().timeWork.date().toString(QStringLiteral("yyyy-MM-dd")));
    // Finding a table by its code is the first thing done on the board.
    search_->setFocus();
    emit loggedIn();
}

void BoardScreen::showAbout(bool shown) {
    toolbar_->setEnabled(!shown);
    views_->setEnabled(!shown);
    column_->setEnabled(!shown);
    if (shown) {
        centreOverBoard(about_);
        about_->show();
        about_->raise();
    } else {
        about_->hide();
    }
}

} // namespace sorrel::frontdesk
