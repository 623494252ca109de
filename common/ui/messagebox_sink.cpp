#include "common/ui/messagebox_sink.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace sorrel::ui {

namespace {

// The box's own wrapping breaks Chinese text anywhere, even a short line in two ("不能为 / 空！"):
// a line that fits the screen's width is kept whole, and only longer ones wrap.
void keepLinesWhole(QMessageBox& box) {
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label) return;
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& line : label->text().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    constexpr int kWidestLine = 560;
    label->setMinimumWidth(std::min(widest + metrics.averageCharWidth(), kWidestLine));
}

} // namespace

bool MessageBoxSink::show(MessageKind kind, const QString& title, const QString& text) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    keepLinesWhole(box);
    switch (kind) {
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageKind::Question: {
        box.setIcon(QMessageBox::Question);
        QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes;
    }
    }
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
    return true;
}

bool MessageBoxSink::askPassword(const QString& title, const QString& prompt, QString& typed) {
    bool ok = false;
    typed = QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Password, QString(), &ok);
    return ok;
}

} // namespace sorrel::ui
