#include "backoffice/panels/record_fields_panel.h"

#include "common/db_datetime.h"
#include "common/schema/schema.h"
#include "common/ui/guard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace sorrel::panels {

RecordFields::RecordFields(lists::MaintenanceList& list, QObject* parent) : QObject(parent), list_(list) {
    ui::connectGuarded(&list, &lists::MaintenanceList::currentChanged, this, &RecordFields::refresh);
    ui::connectGuarded(&list, &lists::MaintenanceList::recordChanged, this, &RecordFields::refresh);
    ui::connectGuarded(&list, &lists::MaintenanceList::rowsReset, this, &RecordFields::refresh);
}

void RecordFields::refresh() {
    showing_ = true;
    for (const Binding& b : bindings_)
        b.show();
    showing_ = false;
}

void RecordFields::bindEdit(QLineEdit* edit, const QString& column, FieldKind kind) {
    const schema::Table* table = schema::findTable(list_.table());
    const schema::Column* c = table ? table->column(column) : nullptr;
    switch (kind) {
    case FieldKind::Text:
        if (c && c->size > 0) edit->setMaxLength(c->size);
        break;
    case FieldKind::Amount:
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("\\d{0,9}(\\.\\d{0,2})?")), edit));
        break;
    case FieldKind::Digits: {
        const int digits = c && c->type == schema::ColumnType::Integer ? 9 : 4;
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("\\d{0,%1}").arg(digits)), edit));
        break;
    }
    case FieldKind::Time:
        edit->setInputMask(QStringLiteral("99:99:99"));
        // The record takes a time once it is typed to its last digit or the field is left; one
        // that is no time of day is not taken, and leaving the field shows what the record holds.
        ui::connectGuarded(edit, &QLineEdit::textEdited, this, [this, edit, column](const QString& text) {
            if (!showing_ && edit->cursorPosition() == text.size()) takeTime(edit, column);
        });
        ui::connectGuarded(edit, &QLineEdit::editingFinished, this, [this, edit, column] {
            if (!showing_ && !takeTime(edit, column)) refresh();
        });
        break;
    }
    bindings_.append({column, [this, edit, column, kind] {
                          const QVariant v = list_.value(column);
                          QString text = kind == FieldKind::Time ? fromDbDateTime(v).toString("hh:mm:ss")
                                         : kind == FieldKind::Text || v.isNull()
                                             ? v.toString()
                                             : QString::number(v.toDouble(), 'g', 12);
                          // "12." while 12.5 is being typed already holds the value: left as typed,
                          // or the point would be lost and 12.5 become 125.
                          bool isNumber = false;
                          if (kind != FieldKind::Text && kind != FieldKind::Time && !v.isNull() &&
                              edit->text().toDouble(&isNumber) == v.toDouble() && isNumber)
                              text = edit->text();
                          if (edit->text() != text) edit->setText(text);
                          edit->setEnabled(list_.current() >= 0);
                      }});
    if (kind == FieldKind::Time) return;
    ui::connectGuarded(edit, &QLineEdit::textEdited, this, [this, column](const QString& text) {
        if (!showing_ && !list_.edit(column, text)) refresh();
    });
}

bool RecordFields::takeTime(QLineEdit* edit, const QString& column) {
    const QTime time = QTime::fromString(edit->text(), QStringLiteral("hh:mm:ss"));
    if (!time.isValid()) return false;
    const QString stored = toDbTime(time);
    if (list_.value(column).toString() == stored) return true;
    if (list_.edit(column, stored)) return true;
    refresh();
    return true;
}

void RecordFields::bindCheck(QCheckBox* box, const QString& column) {
    bindings_.append({column, [this, box, column] {
                          box->setChecked(list_.value(column).toLongLong() != 0);
                          box->setEnabled(list_.current() >= 0);
                      }});
    ui::connectGuarded(box, &QCheckBox::clicked, this, [this, column](bool on) {
        if (!showing_ && !list_.edit(column, on)) refresh();
    });
}

void RecordFields::bindChoice(QComboBox* box, const QString& column, std::function<lists::Choices()> choices,
                              std::function<void(const QString&)> chosen) {
    bindings_.append({column, [this, box, column, choices] {
                          box->clear();
                          for (const lists::Choice& c : choices())
                              box->addItem(c.name, c.code);
                          box->setCurrentIndex(box->findData(list_.value(column).toString()));
                          box->setEnabled(list_.current() >= 0);
                      }});
    ui::connectGuarded(box, &QComboBox::activated, this, [this, box, column, chosen](int index) {
        if (showing_ || index < 0) return;
        const QString code = box->itemData(index).toString();
        if (chosen)
            chosen(code);
        else if (!list_.edit(column, code))
            refresh();
        refresh();
    });
}

} // namespace sorrel::panels
