// A screen's toolbar strip: buttons with their captions below the icons. Each button carries
// an object name, and screens wire their buttons by those names (constants of the screen), so
// a caption can change without unhooking a button and a mistyped name cannot be wired at all.
#pragma once

#include <QList>
#include <QStyle>
#include <QWidget>

class QToolButton;

namespace sorrel::ui {

struct ToolButtonEntry {
    const char* objectName;
    QString caption;
    QStyle::StandardPixmap icon;
};

class ToolStrip : public QWidget {
  public:
    // Every screen's strip has this height, its buttons the style's standard pictures.
    static constexpr int kHeight = 54;

    ToolStrip(const QString& objectName, const QList<ToolButtonEntry>& tools, QWidget* parent);

    // The button named `objectName`. A name the strip does not have is a programming error and
    // throws std::logic_error, so it fails the first time the screen is built.
    QToolButton* button(const char* objectName) const;
    QList<QToolButton*> buttons() const { return buttons_; }

    // Live: enabled with flat buttons; otherwise disabled and raised (while nobody is logged in).
    void setLive(bool live);

  private:
    QList<QToolButton*> buttons_;
};

} // namespace sorrel::ui
