// The edits, check boxes and choice boxes of a panel, each bound to a column of the current
// record of a maintenance list: they show it, and what the manager types or picks becomes an edit
// of the record (a refused code change shows the record as it was again).
#pragma once

#include "backoffice/lists/choices.h"
#include "backoffice/lists/maintenance_list.h"

#include <QObject>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace sorrel::panels {

enum class FieldKind {
    Text,   // up to the column's length
    Amount, // digits and one decimal point
    Digits, // digits only, as many as the column's whole numbers hold
    Time,   // a time of day "hh:mm:ss"; one that is no time of day leaves the value as it was
};

class RecordFields : public QObject {
    Q_OBJECT
  public:
    RecordFields(lists::MaintenanceList& list, QObject* parent);

    void bindEdit(QLineEdit* edit, const QString& column, FieldKind kind = FieldKind::Text);
    void bindCheck(QCheckBox* box, const QString& column);
    // Shows the names of `choices` (read again whenever the record changes) and stores the code.
    // With `chosen`, picking calls it instead of editing the record.
    void bindChoice(QComboBox* box, const QString& column, std::function<lists::Choices()> choices,
                    std::function<void(const QString& code)> chosen = {});

    // Shows the current record in every bound field.
    void refresh();

  private:
    // A complete time of day typed into `edit` becomes the column's value; false when the text
    // is no time of day.
    bool takeTime(QLineEdit* edit, const QString& column);

    struct Binding {
        QString column;
        std::function<void()> show;
    };
    lists::MaintenanceList& list_;
    QList<Binding> bindings_;
    bool showing_ = false;
};

} // namespace sorrel::panels
