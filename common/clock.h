// Clock: the only source of "now" in the system. Screens and logic take one by reference;
// tests hand in a fixed clock they can move.
#pragma once

#include <QDateTime>

namespace sorrel {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock final : public Clock {
  public:
    QDateTime now() const override;
};

class FixedClock final : public Clock {
  public:
    explicit FixedClock(QDateTime at) : at_(std::move(at)) {}
    QDateTime now() const override { return at_; }
    void set(const QDateTime& at) { at_ = at; }
    void advanceSeconds(qint64 seconds) { at_ = at_.addSecs(seconds); }

  private:
    QDateTime at_;
};

} // namespace sorrel
