#pragma once
// Everything a headless test needs: the fake ports, a fake desktop with a virtual clock, and the
// program on them.
#include <atomic>
#include <chrono>
#include <future>

#include "app/Program.h"
#include "forms/Application.h"
#include "platform/Ports.h"
#include "platform/fake/FakeAutomation.h"
#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeFolders.h"
#include "platform/fake/FakeRecycleBin.h"
#include "platform/fake/FakeUrlCache.h"

namespace testing_support {

// Every port but the desktop, faked.
struct FakePorts {
    fake::FakeEnvironment env;
    fake::FakeFileSystem files;
    fake::FakeFolders folders{files};
    fake::FakeAutomation automation;
    fake::FakeUrlCache cache;
    fake::FakeRecycleBin bin;
    platform::Ports ports{&env, &folders, &files, &automation, &cache, &bin};
};

struct HeadlessWorld : FakePorts {
    fake::FakeDesktop desktop;
    app::Program program{desktop, ports};
    forms::Application& app = program.App();
    engine::Cleaner& cleaner = program.Cleaner();

    // The usual machine: the program in C:\Apps, Temp at C:\Temp, the Windows folder at C:\Windows.
    void UsualFolders() {
        env.programFolder = "C:\\Apps";
        env.SetVariable("Temp", "C:\\Temp");
        folders.SetFolder(36, "C:\\Windows");
        files.AddFolder("C:\\Windows");
    }

    // Names of the loaded forms in creation order.
    std::vector<std::string> LoadedNames() const {
        std::vector<std::string> names;
        for (const forms::Form* form : app.Forms()) names.push_back(form->Name());
        return names;
    }
};

// Holds work on a thread beside the windows at its first pass, until the test, acting as the
// window thread meanwhile, lets it go.
struct Gate {
    std::promise<void> reached, go;
    std::shared_future<void> going = go.get_future().share();
    std::atomic<bool> armed{true};
    // On the work's thread: the first call waits for Go.
    void Pass() {
        if (!armed.exchange(false)) return;
        reached.set_value();
        going.wait();
    }
    // On the test's thread: whether the work got there.
    bool Reached() { return reached.get_future().wait_for(std::chrono::seconds(20)) == std::future_status::ready; }
    void Go() { go.set_value(); }
};

}  // namespace testing_support
