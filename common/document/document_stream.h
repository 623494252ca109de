// A printed document read band by band, as often as the renderer needs it (the columns' widths,
// the pages, the paint), without being held whole: a year's bill list is built once, its bands
// waiting in a temporary file, and every reading of it holds one band at a time.
//
//   DocumentStream list = DocumentStream::spooled(name, columns, [&](const BandSink& sink) {
//       DocumentBuilder b(name, columns, sink);
//       ...
//       b.finish();
//   });
//   printDocument(list, PrintTarget::pdf(path, PageFormat::a4()));
#pragma once

#include "common/document/document.h"

#include <functional>
#include <memory>

namespace sorrel::document {

using BandSink = std::function<void(Band&& band)>;

class DocumentStream {
  public:
    // A document held whole.
    DocumentStream(Document document);

    // The bands `produce` hands to its sink, spooled as they come. A disk that cannot hold them
    // refuses with a message; a step refused inside `produce` passes on, nothing kept.
    static DocumentStream spooled(const QString& name, const QVector<Column>& columns,
                                  const std::function<void(const BandSink& sink)>& produce);

    const QString& name() const { return name_; }
    const QVector<Column>& columns() const { return columns_; }
    // Held whole: what is painted may keep every row's text at hand.
    bool isWhole() const { return whole_ != nullptr; }

    // Every band in order, one at a time.
    void forEachBand(const std::function<void(const Band& band)>& visit) const;
    // How many bands a reading goes through.
    qint64 bandCount() const;
    // The same document, telling `passed` after each band of every reading how many bands of
    // that reading it has gone through: how far a long print has come.
    DocumentStream watched(std::function<void(qint64 bandsRead)> passed) const;
    // The whole document (for a small one, and for tests).
    Document whole() const;

  private:
    struct Spool;
    DocumentStream() = default;

    QString name_;
    QVector<Column> columns_;
    std::shared_ptr<const Document> whole_;
    std::shared_ptr<Spool> spool_;
    std::function<void(qint64 bandsRead)> passed_;
};

} // namespace sorrel::document
