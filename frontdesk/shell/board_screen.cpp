#include "frontdesk/shell/board_screen.h"

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

struct ToolDef {
    const char* caption;
    QStyle::StandardPixmap icon;
};

const ToolDef kTools[] = {
    {"图形房台", QStyle::SP_FileDialogListView}, {"日始/日结", QStyle::SP_BrowserReload},
    {"报表", QStyle::SP_FileDialogDetailedView}, {"设置", QStyle::SP_FileDialogContentsView},
    {"重新登录", QStyle::SP_DialogResetButton},  {"关于", QStyle::SP_MessageBoxInformation},
    {"帮助", QStyle::SP_DialogHelpButton},       {"台号排序", QStyle::SP_ArrowDown},
    {"退出", QStyle::SP_DialogCloseButton},
};

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

BoardScreen::BoardScreen(LoginSession& session, QWidget* parent) : QWidget(parent), session_(session) {
    setObjectName(QStringLiteral("pnl_TableState"));

    toolbar_ = new QWidget(this);
    toolbar_->setObjectName(QStringLiteral("Panel2"));
    toolbar_->setFixedHeight(kToolbarHeight);
    auto* tools = new QHBoxLayout(toolbar_);
    tools->setContentsMargins(2, 1, 2, 1);
    tools->setSpacing(1);
    for (const ToolDef& def : kTools) {
        auto* button = new QToolButton(toolbar_);
        button->setText(QString::fromUtf8(def.caption));
        button->setIcon(style()->standardIcon(def.icon));
        button->setIconSize(QSize(24, 24));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setFixedSize(64, kToolbarHeight - 2);
        button->setFocusPolicy(Qt::NoFocus);
        tools->addWidget(button);
    }
    tools->addStretch();

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

    login_ = new LoginBox(session_, this);
    about_ = new AboutPanel(this);
    about_->hide();

    connect(login_, &LoginBox::accepted, this, &BoardScreen::acceptLogin);
    connect(login_, &LoginBox::exitRequested, this, &BoardScreen::exitRequested);
    connect(toolButton(QStringLiteral("重新登录")), &QToolButton::clicked, this, &BoardScreen::relogin);
    connect(toolButton(QStringLiteral("关于")), &QToolButton::clicked, this, [this] { showAbout(true); });
    connect(about_, &ui::TitledBox::closeClicked, this, [this] { showAbout(false); });
    connect(toolButton(QStringLiteral("帮助")), &QToolButton::clicked, this, &BoardScreen::helpRequested);
    connect(toolButton(QStringLiteral("退出")), &QToolButton::clicked, this, &BoardScreen::exitRequested);

    showLoginBox();
}

QToolButton* BoardScreen::toolButton(const QString& caption) const {
    for (QToolButton* b : toolbar_->findChildren<QToolButton*>())
        if (b->text() == caption) return b;
    return nullptr;
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

void BoardScreen::setToolbarLive(bool live) {
    toolbar_->setEnabled(live);
    // Raised buttons while nobody is logged in, flat ones on a live board.
    for (QToolButton* b : toolbar_->findChildren<QToolButton*>())
        b->setAutoRaise(live);
}

void BoardScreen::showLoginBox() {
    views_->hide();
    column_->hide();
    setToolbarLive(false);
    centreOverBoard(login_);
    login_->show();
    login_->raise();
}

void BoardScreen::relogin() {
    showLoginBox();
    login_->reset();
    session_.relogin();
    login_->focusShiftList();
}

void BoardScreen::acceptLogin() {
    login_->hide();
    views_->show();
    column_->show();
    setToolbarLive(true);
    shift_->setText(session_.shiftName());
    workDate_->setText(session_.settings().timeWork.date().toString(QStringLiteral("yyyy-MM-dd")));
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
