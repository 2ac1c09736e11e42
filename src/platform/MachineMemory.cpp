#include "platform/MachineMemory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>

#include "core/sim/TransactMemory.h"

namespace mardo::platform {

namespace {

std::size_t PageSize() {
    const long nPageSize = sysconf(_SC_PAGESIZE);
    return nPageSize > 0 ? static_cast<std::size_t>(nPageSize) : 4096;
}

// The first number in the file, or SIZE_MAX when there is none ("max", no such file).
std::size_t ReadNumber(const std::string& strPath) {
    std::ifstream in(strPath);
    unsigned long long n = 0;
    return in >> n ? static_cast<std::size_t>(std::min<unsigned long long>(n, SIZE_MAX)) : SIZE_MAX;
}

// The memory limit of the control group the process belongs to, and of every group above it
// (the least of them); SIZE_MAX when none is set.
std::size_t ControlGroupLimit() {
    std::size_t nLimit = ReadNumber("/sys/fs/cgroup/memory/memory.limit_in_bytes");  // version 1
    std::ifstream groups("/proc/self/cgroup");
    for (std::string strLine; std::getline(groups, strLine);) {
        if (strLine.rfind("0::", 0) != 0) {
            continue;
        }
        // Version 2: "0::/path", seen from the group root the process is shown.
        for (std::string strGroup = strLine.substr(3);;) {
            nLimit = std::min(nLimit, ReadNumber("/sys/fs/cgroup" + strGroup + "/memory.max"));
            const std::size_t nSlash = strGroup.find_last_of('/');
            if (strGroup.empty() || strGroup == "/" || nSlash == std::string::npos) {
                break;
            }
            strGroup.resize(nSlash == 0 ? 1 : nSlash);
        }
    }
    return nLimit;
}

// What the address-space limit leaves beyond what the process maps now; SIZE_MAX without one.
std::size_t AddressSpaceLeft() {
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return SIZE_MAX;
    }
    const std::size_t nMapped = ReadNumber("/proc/self/statm");
    const std::size_t nMappedBytes = nMapped == SIZE_MAX ? 0 : nMapped * PageSize();
    const auto nLimit = static_cast<std::size_t>(limit.rlim_cur);
    return nLimit > nMappedBytes ? nLimit - nMappedBytes : 0;
}

}  // namespace

std::size_t CMachineMemory::Physical() {
    const long nPages = sysconf(_SC_PHYS_PAGES);
    if (nPages <= 0) {
        return SIZE_MAX;
    }
    return static_cast<std::size_t>(nPages) * PageSize();
}

std::size_t CMachineMemory::Usable() {
    return std::min({Physical(), ControlGroupLimit(), AddressSpaceLeft()});
}

void CMachineMemory::LimitTransacts() {
    static const bool bSet = [] {
        CTransactMemory::SetLimit(Usable() / 2);
        return true;
    }();
    static_cast<void>(bSet);
}

}  // namespace mardo::platform
