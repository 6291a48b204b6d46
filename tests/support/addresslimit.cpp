#include "addresslimit.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace testsupport {

size_t StatusBytes(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    const size_t length = std::strlen(field);
    char line[256];
    size_t kib = 0;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, field, length) == 0)
            kib = size_t(std::atol(line + length));
    std::fclose(status);
    return kib * 1024;
}

bool LimitAddressSpace(size_t extra) {
    const size_t now = AddressSpace();
    const rlimit limit{now + extra, now + extra};
    return now != 0 && setrlimit(RLIMIT_AS, &limit) == 0;
}

}  // namespace testsupport
