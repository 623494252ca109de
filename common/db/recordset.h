// RecordSet: an in-memory snapshot of a query's rows. Column names are matched without regard
// to case (PostgreSQL folds them to lower case, the system's names are mixed case).
#pragma once

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>

namespace sorrel {

class RecordSet {
  public:
    class Row {
      public:
        Row(const RecordSet& set, int index) : set_(&set), index_(index) {}
        int index() const { return index_; }
        QVariant value(const QString& column) const { return set_->value(index_, column); }
        QString text(const QString& column) const { return set_->text(index_, column); }
        double number(const QString& column) const { return set_->number(index_, column); }
        qlonglong integer(const QString& column) const { return set_->integer(index_, column); }
        bool flag(const QString& column) const { return set_->flag(index_, column); }
        QDateTime dateTime(const QString& column) const { return set_->dateTime(index_, column); }

      private:
        const RecordSet* set_;
        int index_;
    };

    RecordSet() = default;
    RecordSet(QStringList columns, QList<QVariantList> rows);

    int rowCount() const { return int(rows_.size()); }
    int columnCount() const { return int(columns_.size()); }
    bool isEmpty() const { return rows_.isEmpty(); }
    const QStringList& columns() const { return columns_; }
    Row row(int index) const { return Row(*this, index); }

    // -1 when the set has no such column.
    int columnIndex(const QString& name) const;
    bool hasColumn(const QString& name) const { return columnIndex(name) >= 0; }

    // Reading a column the set does not have is a programming error and throws DbError.
    const QVariant& value(int row, const QString& column) const;
    const QVariant& value(int row, int column) const;
    QString text(int row, const QString& column) const { return value(row, column).toString(); }
    double number(int row, const QString& column) const { return value(row, column).toDouble(); }
    qlonglong integer(int row, const QString& column) const { return value(row, column).toLongLong(); }
    bool flag(int row, const QString& column) const { return value(row, column).toLongLong() != 0; }
    QDateTime dateTime(int row, const QString& column) const;

    // Editing the snapshot in memory; the caller posts the change with an explicit statement.
    void setValue(int row, const QString& column, const QVariant& value);
    void appendRow(const QVariantList& values);
    void removeRow(int row);

    // The first row at or after `from` whose columns equal every given value (text compared
    // exactly, numbers by value); -1 when none.
    int locate(const QVariantMap& values, int from = 0) const;
    RecordSet filtered(const std::function<bool(const Row&)>& keep) const;

  private:
    int requireColumn(const QString& name) const;

    QStringList columns_;
    QList<QVariantList> rows_;
};

} // namespace sorrel
