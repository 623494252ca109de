// sorrel-test-server stop: the clean-up step of a test run; stops the run's throwaway server.
#include "common/db/errors.h"
#include "tests/support/test_server.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "stop") != 0) {
        std::fprintf(stderr, "usage: sorrel-test-server stop\n");
        return 2;
    }
    try {
        sorrel::test::stopTestServer();
    } catch (const sorrel::DbError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
