#include "platform/Ports.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

Ports& Installed() {
    static Ports ports;
    return ports;
}

template <typename T>
T& Require(T* port, const char* name) {
    if (port == nullptr) {
        std::fprintf(stderr, "port %s used before it was installed\n", name);
        std::abort();
    }
    return *port;
}

}  // namespace

Environment& Env() { return Require(Installed().environment, "Environment"); }
Folders& Shell() { return Require(Installed().folders, "Folders"); }
FileSystem& Files() { return Require(Installed().fileSystem, "FileSystem"); }
Automation& Late() { return Require(Installed().automation, "Automation"); }
UrlCache& Cache() { return Require(Installed().urlCache, "UrlCache"); }

ScopedPorts::ScopedPorts(const Ports& ports) : previous_(Installed()) { Installed() = ports; }
ScopedPorts::~ScopedPorts() { Installed() = previous_; }

}  // namespace platform
