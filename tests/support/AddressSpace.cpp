#include "AddressSpace.h"

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

namespace mardo::test {

void LimitAddressSpace(std::size_t nBytes) {
    std::size_t nPages = 0;
    std::ifstream("/proc/self/statm") >> nPages;
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = nPages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) + nBytes;
    setrlimit(RLIMIT_AS, &limit);
}

}  // namespace mardo::test
