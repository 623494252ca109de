// A small venue for the room-setup tests: a hall with table 101 of type 01 (mode 01, no charge),
// an empty department, a time-priced mode 09 without bands, and the lists read over it the way
// the back office reads them.
#pragma once

#include "backoffice/rooms/room_lists.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

#include <memory>

namespace sorrel::test {

class RoomTest : public EngineTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    rooms::RoomLists& lists() { return *lists_; }
    // The lists read again from the database, as when the panel opens.
    void reopen();
    // A guest record open at table `table` under mode `mode`, written by another workstation.
    void openGuest(Database& desk, const QString& table, const QString& mode = QStringLiteral("01"));
    // "start-end" of each band of `mode`, in stored order.
    QStringList bandsOf(const QString& mode);
    QStringList shown() const { return sink.texts(); }

    ScriptedSink sink;

  private:
    std::unique_ptr<rooms::RoomLists> lists_;
};

} // namespace sorrel::test
