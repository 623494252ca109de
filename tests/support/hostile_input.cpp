#include "tests/support/hostile_input.h"

#include "common/schema/schema.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <cmath>
#include <gtest/gtest.h>

namespace sorrel::test {

namespace {

// A control character or a direction override: what no keyboard types into a name.
bool holdsControlCharacter(const QString& s) {
    for (QChar c : s)
        if (c.category() == QChar::Other_Control || (c.unicode() >= 0x202a && c.unicode() <= 0x202e) ||
            (c.unicode() >= 0x2066 && c.unicode() <= 0x2069))
            return true;
    return false;
}

} // namespace

// What an operator may paste into any field, from a scanner, a chat window or a prank.
QStringList hostileTexts() {
    QString longText;
    while (longText.size() < 1000)
        longText += QStringLiteral("长a😀 9'");
    return {longText.left(1000),
            QString(1000, QLatin1Char('9')),
            QString(20, QLatin1Char('9')),
            QStringLiteral("O'Hara \"VIP\" `x`"),
            QStringLiteral("'; drop table SetupPay; --"),
            QStringLiteral("𠀋😀").repeated(20),
            QStringLiteral("a\tb\rc\nd") + QChar(0) + QStringLiteral("e\x1b[2J"),
            QStringLiteral("Zap") + QChar(0) + QStringLiteral("Dish"),
            QStringLiteral("\a\x01\x1f\x7f") + QChar(0x85) + QChar(0x202e) + QStringLiteral("反"),
            QStringLiteral("NaN"),
            QStringLiteral("-1e308")};
}

// The input as a failure names it: its start, control characters spelled out, and its length.
std::string printable(const QString& text) {
    QString shown;
    for (QChar c : text.left(24))
        shown += c.category() == QChar::Other_Control
                     ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                     : QString(c);
    return (shown + QStringLiteral("… (%1)").arg(text.size())).toStdString();
}

// The fields of `root` an operator can type in, in the order they were made.
QList<QWidget*> editableFields(QWidget* root) {
    QList<QWidget*> fields;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            // The line inside a list or a number box is typed through its owner.
            if (qobject_cast<QComboBox*>(w->parentWidget()) ||
                qobject_cast<QAbstractSpinBox*>(w->parentWidget()))
                continue;
            if (!line->isReadOnly()) fields << w;
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
            if (box->isEditable()) fields << w;
        } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
            if (!spin->isReadOnly()) fields << w;
        } else if (auto* text = qobject_cast<QTextEdit*>(w)) {
            if (!text->isReadOnly()) fields << w;
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
            if (!plain->isReadOnly()) fields << w;
        } else if (auto* view = qobject_cast<QAbstractItemView*>(w); view && !qobject_cast<QHeaderView*>(w)) {
            if (view->editTriggers() != QAbstractItemView::NoEditTriggers) fields << w;
        }
    }
    return fields;
}

// Brings `field` on show: the tab page holding it made current.
void reveal(QWidget* field) {
    for (QWidget* w = field; w && w->parentWidget(); w = w->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget()))
            if (tabs->indexOf(w) >= 0) tabs->setCurrentWidget(w);
}

QString fieldName(QWidget* field) {
    return field->objectName().isEmpty() ? QString::fromLatin1(field->metaObject()->className())
                                         : field->objectName();
}

// Pastes `text` over what `field` holds, as an operator does with Ctrl+V, then presses Enter.
void pasteInto(QWidget* field, const QString& text) {
    QWidget* target = field;
    if (auto* box = qobject_cast<QComboBox*>(field)) target = box->lineEdit();
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) target = spin->findChild<QLineEdit*>();
    if (auto* view = qobject_cast<QAbstractItemView*>(field)) {
        view->edit(view->currentIndex().isValid() ? view->currentIndex() : view->model()->index(0, 0));
        target = QApplication::focusWidget();
    }
    if (!target) return;
    target->setFocus();
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    if (target->isVisible()) QTest::keyClick(target, Qt::Key_Return);
}

// Every table as row count and checksum of its rows, by name.
QMap<QString, QString> tableSnapshot(Database& db) {
    QMap<QString, QString> tables;
    for (const schema::Table& t : schema::tables()) {
        const RecordSet rs = db.query(QStringLiteral("SELECT * FROM %1").arg(t.name));
        QStringList rows;
        for (int r = 0; r < rs.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < rs.columnCount(); ++c)
                cells << rs.value(r, c).toString();
            rows << cells.join(QChar(0x1f));
        }
        rows.sort();
        tables[t.name] =
            QString::number(rs.rowCount()) + QLatin1Char(' ') +
            QCryptographicHash::hash(rows.join(QChar(0x1e)).toUtf8(), QCryptographicHash::Sha1).toHex();
    }
    return tables;
}

// Every stored text within its column and made of whole characters; every stored number real.
void expectStoredValuesSound(Database& db, const char* screen) {
    for (const schema::Table& t : schema::tables()) {
        const RecordSet rs = db.query(QStringLiteral("SELECT * FROM %1").arg(t.name));
        for (const schema::Column& c : t.columns) {
            for (int r = 0; r < rs.rowCount(); ++r) {
                const QVariant v = rs.value(r, c.name);
                if (v.isNull()) continue;
                if (c.type == schema::ColumnType::Text) {
                    const QString s = v.toString();
                    EXPECT_TRUE(c.size == 0 || s.toUcs4().size() <= c.size)
                        << screen << ": " << t.name.toStdString() << '.' << c.name.toStdString() << " holds "
                        << s.toUcs4().size() << " characters, more than " << c.size;
                    // The engines write half a character as "?" (no hostile text holds one).
                    EXPECT_TRUE(s.isValidUtf16() && !s.contains(QChar::ReplacementCharacter) &&
                                !s.contains(QLatin1Char('?')))
                        << screen << ": " << t.name.toStdString() << '.' << c.name.toStdString()
                        << " holds a broken character";
                    EXPECT_FALSE(holdsControlCharacter(s))
                        << screen << ": " << t.name.toStdString() << '.' << c.name.toStdString()
                        << " holds a control character";
                } else if (c.type == schema::ColumnType::Float || c.type == schema::ColumnType::Decimal) {
                    const double x = v.toDouble();
                    EXPECT_TRUE(std::isfinite(x) && std::abs(x) < 1e12)
                        << screen << ": " << t.name.toStdString() << '.' << c.name.toStdString() << " holds "
                        << x;
                }
            }
        }
    }
}

} // namespace sorrel::test
