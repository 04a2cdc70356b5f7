#include "format/base/check.h"

#include <cstdio>
#include <cstdlib>

namespace velmora {

void assertionFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

}  // namespace velmora
