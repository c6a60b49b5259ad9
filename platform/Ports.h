#pragma once
// The ports the rest of the program reaches the platform through. The entry point installs
// the real adapters once; tests install fakes for their own scope.
#include "platform/Automation.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Folders.h"
#include "platform/UrlCache.h"

namespace platform {

struct Ports {
    Environment* environment = nullptr;
    Folders* folders = nullptr;
    FileSystem* fileSystem = nullptr;
    Automation* automation = nullptr;
    UrlCache* urlCache = nullptr;
};

// The installed ports. Using a port that was not installed is a programming error and aborts.
Environment& Env();
Folders& Shell();
FileSystem& Files();
Automation& Late();
UrlCache& Cache();

// Installs ports for the lifetime of the object and restores the previous set afterwards.
class ScopedPorts {
public:
    explicit ScopedPorts(const Ports& ports);
    ~ScopedPorts();
    ScopedPorts(const ScopedPorts&) = delete;
    ScopedPorts& operator=(const ScopedPorts&) = delete;

private:
    Ports previous_;
};

}  // namespace platform
