// The small panel of transfer and merge on the work screen: the target table's code under its
// caption ("转入台号-" or "并入台号-"), "确定" and "取消".
#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;
class QPushButton;

namespace sorrel::table_life {

class MovePanel : public QFrame {
    Q_OBJECT
  public:
    explicit MovePanel(QWidget* parent);

    // Shows the panel at (260, 100) of its parent under `caption`, the field empty and focused.
    void ask(const QString& caption);
    // Hides the panel and empties the field.
    void finish();
    QLineEdit* field() const { return field_; }

  signals:
    void confirmed(const QString& target);
    void cancelled();

  private:
    QLabel* caption_;
    QLineEdit* field_;
};

} // namespace sorrel::table_life
