// Entry point of Morvane.exe: the real ports, the real desktop, and the main window, whose load
// handler is the start-up.
#include "platform/win32/Win32.h"

#include "app/MainWindow.h"
#include "app/Program.h"
#include "platform/Ports.h"
#include "platform/win32/Win32Automation.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Folders.h"
#include "platform/win32/Win32RecycleBin.h"
#include "platform/win32/Win32UrlCache.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    win32::Win32Environment environment;
    win32::Win32Folders folders;
    win32::Win32FileSystem files;
    win32::Win32Automation automation;
    win32::Win32UrlCache cache;
    win32::Win32RecycleBin recycleBin;
    const platform::Ports ports{&environment, &folders, &files, &automation, &cache, &recycleBin};
    win32::Win32Desktop desktop;
    app::Program program(desktop, ports);
    program.App().Get<app::MainWindow>();
    program.App().Run();
    return program.ExitCode();
}
