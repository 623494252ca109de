#include "common/ui/messagebox_sink.h"

#include <QApplication>
#include <QMessageBox>

namespace sorrel::ui {

bool MessageBoxSink::show(MessageKind kind, const QString& title, const QString& text) {
    QWidget* parent = QApplication::activeWindow();
    switch (kind) {
    case MessageKind::Information:
        QMessageBox::information(parent, title, text);
        return true;
    case MessageKind::Error:
        QMessageBox::critical(parent, title, text);
        return true;
    case MessageKind::Question:
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }
    return false;
}

} // namespace sorrel::ui
