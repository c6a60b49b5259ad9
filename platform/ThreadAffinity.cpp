#include "platform/ThreadAffinity.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void ThreadAffinity::Violated(const char* what) {
    std::fprintf(stderr, "window thread only: %s was called from another thread\n", what);
    std::fflush(stderr);
    std::abort();
}

}  // namespace platform
