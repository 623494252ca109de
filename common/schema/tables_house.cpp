// The tables the programs keep for themselves, beside the venue's records: which version of the
// schema the database follows, and which programs are working on it now.
#include "common/schema/table_groups.h"

namespace sorrel::schema {

QList<Table> houseTables() {
    return {
        {QStringLiteral("schemaversion"), {integer("schema_version")}, {}},
        // One row per running program, from its opening to its exit; work_beat rises every few
        // seconds while it lives, so a row whose beat stands still belongs to a program that died.
        {QStringLiteral("workstationlist"),
         {autonumber("work_id"), text("work_machine", 60), text("work_program", 20),
          text("work_operator", 20), integer("work_beat")},
         {}},
    };
}

} // namespace sorrel::schema
