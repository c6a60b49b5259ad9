#pragma once
// The program's parts, made once by the entry point (and by the tests, on their fakes): the
// ports, the clean runs, the windows' side of a clean, the preview line and the forms, each given
// what it needs when it is made. The forms go first when the program ends, before the parts
// they were given.
#include "app/CleanRunWindows.h"
#include "engine/CleanRun.h"
#include "forms/Application.h"
#include "platform/Desktop.h"
#include "platform/Ports.h"
#include "screens/PreviewLine.h"
#include "screens/ScreenServices.h"
#include "screens/SidePicture.h"

namespace app {

class Program {
public:
    Program(platform::Desktop& desktop, const platform::Ports& ports);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    forms::Application& App() { return app_; }
    engine::Cleaner& Cleaner() { return cleaner_; }
    CleanRunWindows& CleanRunHost() { return cleanRunWindows_; }
    const screens::ScreenServices& Services() const { return services_; }
    // The code the process ends with once its last form is gone.
    int ExitCode() const { return cleanRunWindows_.ExitCode(); }

private:
    platform::Ports ports_;
    engine::Cleaner cleaner_;
    screens::PreviewLine previewLine_;
    CleanRunWindows cleanRunWindows_;
    screens::SidePicture sidePicture_;
    screens::ScreenServices services_;
    forms::Application app_;  // last: its forms go before what they were given
};

}  // namespace app
