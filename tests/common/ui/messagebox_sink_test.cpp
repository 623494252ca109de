// The real message boxes: a question left with Enter or Esc answers No, the title is the
// program's, and only a deliberate Yes says yes.
#include "common/ui/messagebox_sink.h"
#include "tests/support/screen_application.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Acts on the box once it is up, then reports what the sink answered.
bool answer(const std::function<void(QMessageBox*)>& act, QString* title = nullptr) {
    sorrel::test::screenApplication();
    QTimer::singleShot(20, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (title) *title = box->windowTitle();
        act(box);
    });
    sorrel::ui::MessageBoxSink sink;
    return sink.show(sorrel::MessageKind::Question, QStringLiteral("岚舟管理系列"),
                     QStringLiteral("请确定是否退出"));
}

void press(QMessageBox* box, int key) {
    QWidget* target = box->focusWidget() ? box->focusWidget() : box;
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
}

TEST(MessageBoxSinkTest, QuestionsDefaultToNo) {
    QString title;
    EXPECT_FALSE(answer([](QMessageBox* box) { press(box, Qt::Key_Return); }, &title));
    EXPECT_EQ(title, QStringLiteral("岚舟管理系列"));
    EXPECT_FALSE(answer([](QMessageBox* box) { press(box, Qt::Key_Escape); }));
    EXPECT_TRUE(answer([](QMessageBox* box) {
        for (QPushButton* b : box->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("是(&Y)")) b->click();
    }));
}

// A message of one short line shows as one line, whatever its length in characters.
TEST(MessageBoxSinkTest, AShortLineIsNotBrokenInTwo) {
    sorrel::test::screenApplication();
    for (const QString& text : {QStringLiteral("台号不能为空！"), QStringLiteral("操作员编号不能为空！"),
                                QStringLiteral("[清蒸鲈鱼/2]点单数已经超过库存数，请重新输入数量！"),
                                QStringLiteral("请确认是否进行打印帐单处理，请选择(是/否)！")}) {
        int lines = 0;
        QTimer::singleShot(20, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            ASSERT_NE(label, nullptr);
            lines = label->height() / QFontMetrics(label->font()).lineSpacing();
            box->accept();
        });
        sorrel::ui::MessageBoxSink sink;
        sink.show(sorrel::MessageKind::Information, QStringLiteral("岚舟管理系列"), text);
        EXPECT_EQ(lines, 1) << text.toStdString();
    }
}

} // namespace
