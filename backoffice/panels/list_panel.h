// The frame every maintenance panel of the back office shares: side grids of master lists on the
// left, the record's fields above, the list's main grid below. A panel is declared by adding
// its fields and grids.
#pragma once

#include "backoffice/panels/list_grid_panel.h"
#include "backoffice/panels/record_fields_panel.h"

#include <QWidget>

class QGridLayout;
class QLabel;
class QVBoxLayout;

namespace sorrel::panels {

class ListPanel : public QWidget {
    Q_OBJECT
  public:
    ListPanel(const QString& objectName, lists::MaintenanceList& list, QList<ui::GridColumn> columns,
              QWidget* parent);

    lists::MaintenanceList& list() const { return list_; }
    RecordFields& fields() const { return *fields_; }
    ListGrid* grid() const { return grid_; }

    // Fields in the form, placed by row and column of captioned cells; a field may take the room
    // of the next `extraCells` cells too (a long number).
    QLineEdit* addEdit(const QString& caption, const QString& column, int row, int col,
                       FieldKind kind = FieldKind::Text, int extraCells = 0);
    QCheckBox* addCheck(const QString& caption, const QString& column, int row, int col);
    QComboBox* addChoice(const QString& caption, const QString& column,
                         std::function<lists::Choices()> choices, int row, int col,
                         std::function<void(const QString&)> chosen = {});
    // The bold line naming the master record a sub-panel works on, across the form's first row.
    QLabel* addHeading(const QString& objectName);
    // A button or other widget in the form.
    void addToForm(QWidget* widget, int row, int col, int columnSpan = 1);
    // A master list's grid on the left.
    ListGrid* addSideGrid(lists::MaintenanceList& list, QList<ui::GridColumn> columns, int height = 0);
    // Another grid or box beside the main grid (candidates of a sub-panel).
    QVBoxLayout* sideColumn() const { return side_; }
    QGridLayout* form() const { return form_; }
    // Run each time the panel is shown, before its grids are drawn: names looked up afresh.
    void onShow(std::function<void()> refresh) { onShow_.append(std::move(refresh)); }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    lists::MaintenanceList& list_;
    RecordFields* fields_;
    ListGrid* grid_;
    QGridLayout* form_;
    QVBoxLayout* side_;
    QList<std::function<void()>> onShow_;
    QList<ListGrid*> grids_;
};

// A caption in the panels' style: right-aligned before its field.
QLabel* fieldCaption(const QString& text, QWidget* parent);

// What a password column shows: never the password itself.
QString maskedPassword(const QVariant& value);

} // namespace sorrel::panels
