// The run's throwaway database server: one PostgreSQL cluster shared by every test process of a
// build, started on first need and stopped by the ctest clean-up step (sorrel-test-server stop).
#pragma once

#include "common/db/server_settings.h"

namespace sorrel::test {

// True when the server's programs are installed; the answer is the same when ctest lists the
// tests and when it runs them.
bool serverInstalled();
// The superuser login of the running cluster (database "postgres"); starts it when needed.
// Throws DbError when it cannot be started.
ServerSettings testServer();
// Stops the cluster and removes its folder; nothing happens when none runs.
void stopTestServer();

} // namespace sorrel::test
