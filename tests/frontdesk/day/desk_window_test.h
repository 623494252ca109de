// The front desk's main window on a fresh demo venue, on each engine, for the tests that drive a
// day through its keys and buttons. The clock starts the day after the venue was made.
#pragma once

#include "common/clock.h"
#include "frontdesk/shell/main_window.h"
#include "tests/support/screen_application.h"
#include "tests/support/scripted_sink.h"
#include "tests/support/test_database.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace sorrel::frontdesk::test_day {

class DeskWindowTest : public ::testing::TestWithParam<Engine> {
  protected:
    explicit DeskWindowTest(QTime startsAt)
        : clock_(QDateTime(test::ScratchDatabase::createdAt().date().addDays(1), startsAt)) {}

    void SetUp() override {
        test::screenApplication();
        scratch_ =
            std::make_unique<test::ScratchDatabase>(GetParam(), test::ScratchDatabase::Contents::DemoVenue);
    }
    void TearDown() override {
        test::closeShown(window_);
        scratch_.reset();
    }

    // The main window shown and active, its login box waiting.
    void showWindow() {
        window_ = std::make_unique<MainWindow>(db(), clock_, dir_.path());
        ASSERT_TRUE(test::showActive(*window_));
    }

    Database& db() { return scratch_->db(); }
    QWidget* current() { return window_->navigator().currentPanel(); }
    template <typename T> T* find(const char* name) {
        return window_->findChild<T*>(QString::fromLatin1(name));
    }

    test::ScriptedSink sink_;
    FixedClock clock_;
    QTemporaryDir dir_;
    std::unique_ptr<test::ScratchDatabase> scratch_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace sorrel::frontdesk::test_day
