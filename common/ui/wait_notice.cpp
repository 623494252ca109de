#include "common/ui/wait_notice.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace sorrel::ui {

namespace {
// A wait shorter than this passes unnoticed; a longer one is shown.
constexpr int kShowAfterMs = 500;
} // namespace

WaitNotice::WaitNotice() = default;
WaitNotice::~WaitNotice() {
    waitOver();
}

void WaitNotice::waiting(int waitedMs) {
    if (waitedMs >= kShowAfterMs && (!label_ || label_->isHidden())) {
        if (!label_) {
            label_ = std::make_unique<QLabel>(QStringLiteral("其他工作站正在保存数据，请稍候…"));
            label_->setObjectName(QStringLiteral("lbl_WaitNotice"));
            label_->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
            label_->setAttribute(Qt::WA_ShowWithoutActivating);
            label_->setMargin(12);
            label_->setFrameStyle(QFrame::Box | QFrame::Plain);
            label_->setAutoFillBackground(true);
        }
        label_->adjustSize();
        const QWidget* over = QApplication::activeWindow();
        const QRect area =
            over ? over->frameGeometry()
                 : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                     : QRect(0, 0, 800, 600));
        label_->move(area.center() - label_->rect().center());
        label_->show();
        if (!cursorSet_) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            cursorSet_ = true;
        }
    }
    // The window repaints and the notice appears; the operator's keys and clicks wait, for the
    // step in the middle of its transaction must not be joined by another.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WaitNotice::waitOver() {
    if (label_) label_->hide();
    if (cursorSet_) {
        QGuiApplication::restoreOverrideCursor();
        cursorSet_ = false;
    }
}

} // namespace sorrel::ui
