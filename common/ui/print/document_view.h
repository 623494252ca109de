// A document shown in a window as it prints: laid out by the renderer for the widget's width and
// painted by the same painter, so a report's chart on screen is the chart on paper and in the
// PDF. Put it in a scroll area for a long document; it asks for the height it needs.
#pragma once

#include "common/document/document.h"
#include "common/document/page_format.h"
#include "common/ui/print/document_layout.h"

#include <QWidget>
#include <optional>

namespace sorrel::ui::print {

class DocumentView : public QWidget {
    Q_OBJECT
  public:
    explicit DocumentView(QWidget* parent = nullptr);

    // The text sizes and the proportions of `format`, at the width of the widget.
    void setDocument(const document::Document& document,
                     const document::PageFormat& format = document::PageFormat::a4());
    // A document of the one chart.
    void setChart(const document::Chart& chart);
    const document::Document& document() const { return document_; }
    // The layout as painted now (for tests).
    const DocumentLayout& layout() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    const DocumentLayout& layoutFor(int width) const;

    document::Document document_;
    document::PageFormat format_ = document::PageFormat::a4();
    mutable std::optional<DocumentLayout> layout_;
    mutable int laidOutWidth_ = -1;
};

} // namespace sorrel::ui::print
