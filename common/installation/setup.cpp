#include "common/installation/setup.h"

#include "common/db/transaction.h"
#include "common/schema/demo_venue.h"
#include "common/schema/presets.h"
#include "common/schema/schema.h"
#include "common/schema/schema_version.h"

namespace sorrel::setup {

void createDatabase(Database& db, Contents contents, const Clock& clock,
                    const std::function<void(Database&)>& more) {
    Transaction tx(db);
    for (const QString& statement : schema::createStatements(db.engine()))
        db.exec(statement);
    schema::writeSchemaVersion(db);
    presets::write(db, clock);
    if (contents == Contents::DemoVenue) demo::write(db, clock);
    if (more) more(db);
    tx.commit();
}

} // namespace sorrel::setup
