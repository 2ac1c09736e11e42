#include "sim/RunSignals.h"

namespace mardo {

CRunSignals& GetRunSignals() {
    static CRunSignals signals;
    return signals;
}

}  // namespace mardo
