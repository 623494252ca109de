// The screen "已结帐信息" (pnl_Reagain): the cleared bills of one free table over a range of
// business dates, the system password, and reverse settlement of the bill double-clicked.
#pragma once

#include "frontdesk/context/front_desk_context.h"
#include "frontdesk/table_life/reverse_settlement.h"

#include <QWidget>

class QDateEdit;
class QLineEdit;

namespace sorrel::ui {
class TextGrid;
class ToolStrip;
} // namespace sorrel::ui

namespace sorrel::table_life {

namespace reagain_tool {
inline constexpr char kQuery[] = "toolb_ReagainQuery";
inline constexpr char kReverse[] = "toolb_Reagain";
inline constexpr char kBack[] = "toolb_ReagainBack";
} // namespace reagain_tool

class ReagainScreen : public QWidget {
    Q_OBJECT
  public:
    ReagainScreen(const frontdesk::FrontDeskContext& context, QWidget* parent);

    // Shows the screen for table `tableCode`: both dates on the business date, that table's
    // cleared bills listed, the password empty.
    void start(const QString& tableCode);

    ui::TextGrid* bills() const { return grid_; }
    QLineEdit* password() const { return password_; }
    ui::ToolStrip* toolbar() const { return toolbar_; }

  signals:
    // Back to the board, the table reopened or not.
    void finished(const QString& tableCode);

  private:
    void query();
    void reverse(int row);

    const frontdesk::FrontDeskContext& context_;
    QString tableCode_;
    QList<table_life::ClearedBill> listed_;
    ui::ToolStrip* toolbar_;
    QLineEdit* table_;
    QDateEdit* from_;
    QDateEdit* to_;
    QLineEdit* password_;
    ui::TextGrid* grid_;
};

} // namespace sorrel::table_life
