// The about panel (pnl_about) shown over the board by its "关于" button.
#pragma once

#include "common/ui/titled_box.h"

namespace sorrel::tables {

class AboutPanel : public ui::TitledBox {
    Q_OBJECT
  public:
    explicit AboutPanel(QWidget* parent);
};

} // namespace sorrel::tables
