// sorrel-instance-holder PROGRAM LOCKDIR: starts like the front desk ("front") or the back office
// ("back") as far as the one-program-per-machine rule goes. When it may start it prints "HELD"
// and keeps its lock until its input closes; otherwise it prints the refusal and exits 3.
#include "common/instance_lock.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    using namespace sorrel;
    if (argc != 3) {
        std::fprintf(stderr, "usage: sorrel-instance-holder front|back LOCKDIR\n");
        return 2;
    }
    const Program self = std::strcmp(argv[1], "back") == 0 ? Program::BackOffice : Program::FrontDesk;
    InstanceLock lock(self, QString::fromLocal8Bit(argv[2]));
    const InstanceCheck check = lock.acquire();
    if (check != InstanceCheck::Free) {
        const QString refusal = instanceRefusalMessage(self, check);
        std::printf("%s\n", refusal.isEmpty() ? "SILENT" : refusal.toUtf8().constData());
        return 3;
    }
    std::printf("HELD\n");
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}
