#pragma once
// The ports the rest of the program reaches the platform through. The entry point makes the real
// adapters once and hands them, as this set, to whatever needs them; tests hand over fakes. There
// is no global way to reach them: a function's parameters say what it may touch.
#include "platform/Automation.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Folders.h"
#include "platform/RecycleBin.h"
#include "platform/UrlCache.h"

namespace platform {

struct Ports {
    Environment* environment = nullptr;
    Folders* folders = nullptr;
    FileSystem* fileSystem = nullptr;
    Automation* automation = nullptr;
    UrlCache* urlCache = nullptr;
    RecycleBin* recycleBin = nullptr;
};

}  // namespace platform
