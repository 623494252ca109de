// The guard every screen handler runs under: an error a button's handler lets out is answered
// inside the handler, as the staff must see it, and never reaches the event loop. A database
// error shows no English and no statement: those go to the error log beside the program.
#include "common/clock.h"
#include "common/db/errors.h"
#include "common/error_log.h"
#include "common/ui/guard.h"
#include "common/unhandled_error.h"
#include "tests/support/screen_application.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace sorrel {
namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(12, 30, 5));

QString logText(const QString& folder) {
    QString all;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.log")}, QDir::Files)) {
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::ReadOnly)) all += QString::fromUtf8(file.readAll());
    }
    return all;
}

// A small screen: a button and a field whose handlers do what the test gives them.
class GuardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::screenApplication().setCloseAfterFatalError([this] { ++closed_; });
        errorlog::install(programDir_.path(), clock_);
        window_.setObjectName(QStringLiteral("pnl_Test"));
        auto* layout = new QVBoxLayout(&window_);
        button_ = new QPushButton(QStringLiteral("结账"), &window_);
        field_ = new QLineEdit(&window_);
        layout->addWidget(button_);
        layout->addWidget(field_);
        ui::connectGuarded(button_, &QPushButton::clicked, &window_, [this] { onClick_(); });
        ui::connectGuarded(field_, &QLineEdit::textEdited, &window_,
                           [this](const QString& text) { onEdit_(text); });
        window_.show();
        lastNet_ = test::screenApplication().lastNetCount();
    }
    void TearDown() override {
        EXPECT_EQ(test::screenApplication().lastNetCount(), lastNet_) << "an error reached the event loop";
        test::screenApplication().setCloseAfterFatalError({});
        errorlog::uninstall();
    }

    void click() { QTest::mouseClick(button_, Qt::LeftButton); }
    QString logFolder() const { return QDir(programDir_.path()).filePath(QStringLiteral("log")); }

    ui::GuardedApplication& app_ = test::screenApplication(); // before any widget
    QTemporaryDir programDir_;
    FixedClock clock_{kNow};
    test::ScriptedSink sink_;
    QWidget window_;
    QPushButton* button_ = nullptr;
    QLineEdit* field_ = nullptr;
    std::function<void()> onClick_ = [] {};
    std::function<void(const QString&)> onEdit_ = [](const QString&) {};
    int closed_ = 0;
    int lastNet_ = 0;
};

TEST_F(GuardTest, EachKindOfErrorIsAnsweredInsideTheHandler) {
    struct Case {
        const char* name;
        std::function<void()> fail;
        MessageKind kind;
        QStringList texts; // the reference of an internal error is checked apart
        bool closes;
    } cases[] = {
        {"refused",
         [] { throw StepRefused(QStringLiteral("该台已被其他工作站结账，请重新选择！")); },
         MessageKind::Information,
         {QStringLiteral("该台已被其他工作站结账，请重新选择！")},
         false},
        {"coded failure",
         [] { throw CodedFailure(QStringLiteral("B100002"), QStringLiteral("database is locked")); },
         MessageKind::Error,
         {codedFailureMessage(QStringLiteral("B100002"))},
         true},
        {"database error",
         [] {
             throw DbError(QStringLiteral("disk I/O error\nSQL: UPDATE TableList SET tabl_stat_code = ?"));
         },
         MessageKind::Error,
         {kInternalErrorMessage, QString()},
         true},
        {"broken rule",
         [] { throw std::out_of_range("vector::_M_range_check"); },
         MessageKind::Error,
         {kInternalErrorMessage, QString()},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sink_.shown.clear();
        closed_ = 0;
        onClick_ = c.fail;
        click();
        ASSERT_EQ(sink_.shown.size(), c.texts.size());
        for (int i = 0; i < c.texts.size(); ++i) {
            EXPECT_EQ(sink_.shown[i].kind, c.kind);
            if (!c.texts[i].isEmpty()) {
                EXPECT_EQ(sink_.shown[i].text, c.texts[i]);
            }
        }
        if (c.texts.size() == 2) {
            const QRegularExpression reference(QStringLiteral("^错误记录编号\\[20261210-123005-\\d+\\]$"));
            EXPECT_TRUE(reference.match(sink_.shown[1].text).hasMatch()) << sink_.shown[1].text.toStdString();
        }
        EXPECT_EQ(closed_, c.closes ? 1 : 0);
    }
    // What the staff were not shown is in the log: the coded failure's cause, the statement.
    const QString log = logText(logFolder());
    EXPECT_TRUE(log.contains(QStringLiteral("database is locked")));
    EXPECT_TRUE(log.contains(QStringLiteral("UPDATE TableList SET tabl_stat_code = ?")));
    EXPECT_TRUE(log.contains(QStringLiteral("vector::_M_range_check")));
    EXPECT_FALSE(log.contains(QStringLiteral("该台已被其他工作站结账"))); // a refusal is no fault
}

TEST_F(GuardTest, AHandlerTakesTheSignalsArgumentsAndAMemberSlotIsGuardedToo) {
    onEdit_ = [](const QString& text) {
        if (text == QStringLiteral("7")) throw StepRefused(QStringLiteral("已被改变：") + text);
    };
    field_->setFocus();
    QTest::keyClick(field_, Qt::Key_7);
    EXPECT_EQ(sink_.texts(), QStringList{QStringLiteral("已被改变：7")});

    // A member slot: the widget's own close, which a failing close event would reach.
    sink_.shown.clear();
    auto* other = new QPushButton(&window_);
    ui::connectGuarded(other, &QPushButton::clicked, button_, &QPushButton::hide);
    other->show();
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_FALSE(button_->isVisible());
    EXPECT_TRUE(sink_.shown.isEmpty());
}

TEST_F(GuardTest, AFailingStatementShowsNoEnglishAndIsLoggedWithTheWorkstation) {
    test::ScratchDatabase scratch(Engine::Embedded, test::ScratchDatabase::Contents::Schema);
    onClick_ = [&scratch] {
        scratch.db().query(QStringLiteral("SELECT tabl_nothing FROM TableList WHERE tabl_code = ?"),
                           {QStringLiteral("A01")});
    };
    click();
    ASSERT_EQ(sink_.shown.size(), 2);
    EXPECT_EQ(sink_.shown[0].text, kInternalErrorMessage);
    for (const auto& shown : sink_.shown) {
        EXPECT_FALSE(shown.text.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
            << shown.text.toStdString();
    }
    EXPECT_EQ(closed_, 1);

    const QString file = QDir(logFolder()).filePath(QStringLiteral("sorrel-2026-12-10.log"));
    ASSERT_TRUE(QFile::exists(file));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u); // the statements name the venue's data
    const QString log = logText(logFolder());
    const QString reference = sink_.shown[1].text.section(u'[', 1).chopped(1);
    EXPECT_TRUE(log.contains(QStringLiteral("SELECT tabl_nothing FROM TableList WHERE tabl_code = ?")));
    EXPECT_TRUE(log.contains(QStringLiteral("ref ") + reference));
    EXPECT_TRUE(log.contains(QStringLiteral("2026-12-10 12:30:05")));
    EXPECT_TRUE(log.contains(QSysInfo::machineHostName()));
    EXPECT_TRUE(log.contains(QCoreApplication::applicationName()));
}

// An object whose event handler lets an error out, as an unguarded handler would.
class Unguarded : public QObject {
  public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw DbError(QStringLiteral("no such table: SetupPay"));
        return QObject::event(e);
    }
};

TEST_F(GuardTest, AnErrorThatGetsPastEveryGuardIsStillAnsweredLoggedAndCounted) {
    Unguarded receiver;
    receiver.setObjectName(QStringLiteral("unguarded"));
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &event);

    ASSERT_EQ(sink_.texts().size(), 2);
    EXPECT_EQ(sink_.texts()[0], kInternalErrorMessage);
    EXPECT_FALSE(sink_.texts()[1].contains(QStringLiteral("SetupPay")));
    EXPECT_EQ(closed_, 1);
    EXPECT_EQ(test::screenApplication().lastNetCount(), lastNet_ + 1);
    EXPECT_TRUE(logText(logFolder()).contains(QStringLiteral("unguarded")));
    lastNet_ = test::screenApplication().lastNetCount(); // this one was meant to get through
}

} // namespace
} // namespace sorrel
