#include "tests/support/screen_layout.h"

#include "common/ui/panel_host.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>

namespace sorrel::test {

namespace {

// The longest code a field is checked for (an ID card's 18 digits): beyond it a field holds
// text, which may scroll.
constexpr int kLongestCheckedCode = 18;

QString named(const QWidget* w) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(w)) text = label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) text = button->text();
    if (const auto* box = qobject_cast<const QGroupBox*>(w)) text = box->title();
    QString path;
    for (const QWidget* at = w; at && !at->isWindow(); at = at->parentWidget())
        if (!at->objectName().isEmpty()) {
            path = at->objectName() + (path.isEmpty() ? QString() : u'/' + path);
            if (path.count(u'/') >= 1) break;
        }
    return QStringLiteral("%1 %2 \"%3\"").arg(QString::fromLatin1(w->metaObject()->className()), path, text);
}

QString plain(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

// The widest line of a text in the widget's font.
int textWidth(const QWidget* w, const QString& text) {
    int widest = 0;
    for (const QString& line : plain(text).split(u'\n'))
        widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
    return widest;
}

void checkCaption(const QWidget* w, QStringList& faults) {
    int needed = 0, room = 0;
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty() || label->wordWrap() || Qt::mightBeRichText(label->text())) return;
        needed = textWidth(w, label->text()) + 2 * std::max(0, label->indent() > 0 ? label->indent() : 0);
        room = label->contentsRect().width();
        const int height = label->fontMetrics().height() * int(label->text().count(u'\n') + 1);
        if (height > label->contentsRect().height() + 2)
            faults << QStringLiteral("caption cut off at the foot: %1").arg(named(w));
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        if (button->text().isEmpty()) return;
        needed = textWidth(w, button->text());
        if (const auto* push = qobject_cast<const QPushButton*>(w)) {
            QStyleOptionButton option;
            option.initFrom(push);
            option.text = push->text();
            room = push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push).width() - 2;
            if (!push->icon().isNull()) needed += push->iconSize().width() + 4;
        } else if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QStyle::SubElement contents = qobject_cast<const QCheckBox*>(w)
                                                    ? QStyle::SE_CheckBoxContents
                                                    : QStyle::SE_RadioButtonContents;
            room = button->style()->subElementRect(contents, &option, button).width();
        } else if (const auto* tool = qobject_cast<const QToolButton*>(w)) {
            if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly) return;
            room = tool->width() - 4;
            if (tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon)
                needed += tool->iconSize().width() + 4;
        } else {
            return;
        }
    } else if (const auto* box = qobject_cast<const QGroupBox*>(w)) {
        if (box->title().isEmpty()) return;
        needed = textWidth(w, box->title()) + (box->isCheckable() ? 20 : 0);
        room = box->width() - 8;
    } else {
        return;
    }
    if (needed > room + 1)
        faults << QStringLiteral("caption cut off (%1 of %2 px): %3").arg(room).arg(needed).arg(named(w));
}

// The headings of a grid: each shown column has one, and it shows whole.
void checkHeadings(const QAbstractItemView* view, QStringList& faults) {
    const QHeaderView* header = nullptr;
    if (const auto* table = qobject_cast<const QTableView*>(view)) header = table->horizontalHeader();
    if (const auto* tree = qobject_cast<const QTreeView*>(view))
        header = tree->isHeaderHidden() ? nullptr : tree->header();
    if (!header || header->isHidden() || !view->model()) return;
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section) || header->sectionSize(section) <= 0) continue;
        const QString text = view->model()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
        if (text.trimmed().isEmpty()) {
            faults << QStringLiteral("column %1 without a heading: %2").arg(section).arg(named(view));
            continue;
        }
        const int needed = QFontMetrics(header->font()).horizontalAdvance(text) + margin;
        if (needed > header->sectionSize(section) + 1)
            faults << QStringLiteral("heading \"%1\" cut off (%2 of %3 px): %4")
                          .arg(text)
                          .arg(header->sectionSize(section))
                          .arg(needed)
                          .arg(named(view));
    }
}

// A field for a code or a number shows it whole: as many digits as it takes. A name may scroll,
// a password is never read.
void checkField(const QLineEdit* edit, QStringList& faults) {
    if (edit->maxLength() > kLongestCheckedCode || edit->echoMode() != QLineEdit::Normal ||
        edit->objectName().endsWith(QStringLiteral("name"), Qt::CaseInsensitive))
        return;
    const QMargins margins = edit->textMargins();
    const int room = edit->contentsRect().width() - margins.left() - margins.right() - 4;
    const int needed = edit->maxLength() * edit->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    if (needed > room + 1)
        faults << QStringLiteral("field too narrow for its %1 characters (%2 of %3 px): %4")
                      .arg(edit->maxLength())
                      .arg(room)
                      .arg(needed)
                      .arg(named(edit));
}

// Qt's own compound widgets: what is inside them is theirs.
bool isCompound(const QWidget* w) {
    return qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QCalendarWidget*>(w) ||
           qobject_cast<const QTabBar*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QAbstractButton*>(w);
}

bool placedByLayout(const QWidget* w) {
    const QLayout* layout = w->parentWidget() ? w->parentWidget()->layout() : nullptr;
    if (!layout) return false;
    // Nested layouts: the widget is managed when any layout under the parent's holds it.
    QList<const QLayout*> open{layout};
    while (!open.isEmpty()) {
        const QLayout* l = open.takeLast();
        for (int i = 0; i < l->count(); ++i) {
            QLayoutItem* item = l->itemAt(i);
            if (item->widget() == w) return true;
            if (item->layout()) open.append(item->layout());
        }
    }
    return false;
}

void checkChildren(QWidget* parent, QStringList& faults) {
    QList<QWidget*> shown;
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isHidden() && !child->isWindow()) shown.append(child);
    for (int i = 0; i < shown.size(); ++i) {
        QWidget* w = shown[i];
        if (!parent->rect().adjusted(-1, -1, 1, 1).contains(w->geometry()))
            faults << QStringLiteral("reaches outside %1: %2").arg(named(parent), named(w));
        // Pop-up panels are set by hand over the screen; what layouts place never overlaps.
        if (placedByLayout(w))
            for (int j = i + 1; j < shown.size(); ++j) {
                const QRect both = w->geometry().intersected(shown[j]->geometry());
                if (placedByLayout(shown[j]) && both.width() > 1 && both.height() > 1)
                    faults << QStringLiteral("overlaps: %1 and %2").arg(named(w), named(shown[j]));
            }
        checkCaption(w, faults);
        if (const auto* view = qobject_cast<const QAbstractItemView*>(w)) checkHeadings(view, faults);
        if (const auto* edit = qobject_cast<const QLineEdit*>(w)) checkField(edit, faults);
        if (!isCompound(w)) checkChildren(w, faults);
    }
}

// The panels of a host: its children, when all are panels with layouts of their own.
QList<QWidget*> hostedPanels(QWidget* w) {
    if (w->layout() || isCompound(w)) return {};
    QList<QWidget*> panels;
    for (QObject* child : w->children()) {
        auto* panel = qobject_cast<QWidget*>(child);
        if (!panel || panel->isWindow()) continue;
        if (!panel->layout()) return {};
        panels.append(panel);
    }
    return panels.size() >= 2 ? panels : QList<QWidget*>();
}

} // namespace

void forEachPanelState(QWidget* screen, ui::PanelNavigator& navigator,
                       const std::function<void(const QString& state)>& check) {
    bool any = false;
    for (QWidget* host : screen->findChildren<QWidget*>())
        for (QWidget* panel : hostedPanels(host)) {
            any = true;
            navigator.showPanel(panel, host, false);
            check(panel->objectName());
        }
    if (!any) check(QString());
}

QStringList layoutFaults(QWidget* screen) {
    QStringList faults;
    checkChildren(screen, faults);
    return faults;
}

} // namespace sorrel::test
