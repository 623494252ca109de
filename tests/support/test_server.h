// The run's throwaway database server: one PostgreSQL cluster shared by every test process of a
// build, started on first need and stopped by the ctest clean-up step (sorrel-test-server stop).
// The benchmarks use a second, durable cluster, which commits as a venue's server does.
#pragma once

#include "common/db/server_settings.h"

namespace sorrel::test {

// True when the server's programs are installed; the answer is the same when ctest lists the
// tests and when it runs them.
bool serverInstalled();
// Throwaway: no waiting for the disk, for the tests. Durable: the server's own durable settings
// (every commit on disk before it returns), for figures a venue would see.
enum class Durability { Throwaway, Durable };

// The superuser login of the running cluster (database "postgres"); starts it when needed.
// Throws DbError when it cannot be started.
ServerSettings testServer(Durability durability = Durability::Throwaway);
// Stops both clusters and removes their folders; nothing happens when none runs.
void stopTestServer();

} // namespace sorrel::test
