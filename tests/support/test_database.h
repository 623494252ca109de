// Test harness: a fresh temporary database per test, on every engine this run can reach.
#pragma once

#include "common/db/database.h"
#include "tests/support/test_server.h"

#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <vector>

// Failed comparisons of texts show the text, Chinese included, instead of raw bytes.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << '[' << texts.join(QStringLiteral(", ")).toStdString() << ']';
}

namespace sorrel {
// Test names say their engine ("…/sqlite", "…/postgres") instead of printing raw bytes.
inline void PrintTo(Engine engine, std::ostream* os) {
    *os << engineName(engine).toStdString();
}
} // namespace sorrel

namespace sorrel::test {

// The engines this run tests: the file engine always, the server when one is available.
std::vector<Engine> availableEngines();
std::string engineTestName(const ::testing::TestParamInfo<Engine>& info);

// A database that lives as long as the object: a file in a temporary folder, or a throwaway
// database on the test server.
class ScratchDatabase {
  public:
    // Empty: nothing; Schema: the tables and views only; Presets: a new venue's database;
    // DemoVenue: the demo restaurant. Presets and demo are written as of createdAt(). A server
    // database lives on the cluster of `durability`.
    enum class Contents { Empty, Schema, Presets, DemoVenue };
    ScratchDatabase(Engine engine, Contents contents, Durability durability = Durability::Throwaway);
    static QDateTime createdAt();
    ~ScratchDatabase();
    Database& db() { return *db_; }
    // A second, independent connection to the same database (another workstation).
    std::unique_ptr<Database> connectAgain() const;
    QString filePath() const;
    // The database as a tool or a helper program names it: the file, or a server.conf for it.
    QString target() const;

  private:
    Engine engine_;
    Durability durability_;
    QTemporaryDir dir_;
    QString serverDatabase_;
    std::unique_ptr<Database> db_;
};

// Fixture for database tests; each test runs once per engine.
class EngineTest : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        scratch_ = std::make_unique<ScratchDatabase>(GetParam(), ScratchDatabase::Contents::Presets);
    }
    void TearDown() override { scratch_.reset(); }
    Database& db() { return scratch_->db(); }
    ScratchDatabase& scratch() { return *scratch_; }

  private:
    std::unique_ptr<ScratchDatabase> scratch_;
};

} // namespace sorrel::test

#define SORREL_ON_EVERY_ENGINE(Fixture)                                                                      \
    INSTANTIATE_TEST_SUITE_P(Engines, Fixture, ::testing::ValuesIn(sorrel::test::availableEngines()),        \
                             sorrel::test::engineTestName)
