// The bill-layout page "帐单格式定义" (pnl_SetupPrint) of the settings screen: for each of the
// seven header rows its switch and two caption lists, the section switches, the two free lines
// with their switches, and "默认". What the manager changes goes into the settings draft.
#pragma once

#include "frontdesk/context/front_desk_context.h"
#include "frontdesk/settings/settings_draft.h"

#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace sorrel::settings {

class BillLayoutPanel : public QWidget {
    Q_OBJECT
  public:
    BillLayoutPanel(const frontdesk::FrontDeskContext& context, SettingsDraft& draft, QWidget* parent);

    // Shows the draft's layout in every field.
    void refresh();
    // "默认": asks, and on Yes writes the default header at once.
    void resetHeader();

    QLineEdit* freeLine1() const { return free1_; }
    QComboBox* caption(int cell) const { return captions_[cell]; }
    QCheckBox* rowSwitch(int row) const { return rows_[row]; }
    QPushButton* defaultButton() const { return default_; }

  private:
    const frontdesk::FrontDeskContext& context_;
    SettingsDraft& draft_;
    QList<QComboBox*> captions_;
    QList<QCheckBox*> rows_;
    QList<QCheckBox*> sections_;
    QCheckBox* free1Switch_;
    QCheckBox* free2Switch_;
    QLineEdit* free1_;
    QLineEdit* free2_;
    QPushButton* default_;
    bool showing_ = false;
};

} // namespace sorrel::settings
