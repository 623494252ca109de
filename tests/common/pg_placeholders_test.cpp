// The server numbers its placeholders: a "?" that is part of a text, a quoted name or a note in
// the statement must stay as written, or every value after it lands in the wrong place.
#include "common/db/pg_values.h"

#include <gtest/gtest.h>

using namespace sorrel;

namespace {

TEST(ServerPlaceholders, OnlyRealPlaceholdersAreNumbered) {
    const struct {
        const char* sql;
        const char* numbered;
        QList<bool> compared;
    } cases[] = {
        {"UPDATE t SET a = ?, b = ? WHERE c <> ?",
         "UPDATE t SET a = $1, b = $2 WHERE c <> $3",
         {true, true, true}},
        {"SELECT '?', 'it''s ?' FROM t WHERE x >= ?", "SELECT '?', 'it''s ?' FROM t WHERE x >= $1", {true}},
        {"SELECT \"odd?name\" FROM t WHERE y<?", "SELECT \"odd?name\" FROM t WHERE y<$1", {true}},
        {"SELECT 1 -- why?\nFROM t WHERE z = ?", "SELECT 1 -- why?\nFROM t WHERE z = $1", {true}},
        {"SELECT /* ? */ ? FROM t", "SELECT /* ? */ $1 FROM t", {false}},
        {"INSERT INTO t (a, b) VALUES (?,?)", "INSERT INTO t (a, b) VALUES ($1,$2)", {false, false}},
        {"SELECT x FROM t WHERE a = 'unclosed ?", "SELECT x FROM t WHERE a = 'unclosed ?", {}},
    };
    for (const auto& c : cases) {
        const pg::Placeholders p = pg::numberPlaceholders(QString::fromUtf8(c.sql));
        EXPECT_EQ(p.sql.toStdString(), c.numbered);
        EXPECT_EQ(p.compared, c.compared) << c.sql;
    }
}

} // namespace
