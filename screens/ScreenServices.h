#pragma once
// What the screens need of the program, given to every screen when it is made: the ports they
// read and write through, the program's clean runs, the program's side of a clean started from
// a screen, the backdrop's line that tells what a clean now would remove, and the picture
// every screen shows.
#include "engine/CleanRun.h"
#include "forms/Application.h"
#include "platform/Ports.h"

namespace screens {

class PreviewLine;
class SidePicture;

struct ScreenServices {
    platform::Ports ports;
    engine::Cleaner* cleaner = nullptr;
    engine::CleanRunHost* cleanRunHost = nullptr;  // the program's side of "Are You Sure?"
    PreviewLine* previewLine = nullptr;
    SidePicture* sidePicture = nullptr;
};

// Tells the application how to make every screen, each with the services. The services must
// outlive the application.
void ProvideScreens(forms::Application& app, const ScreenServices& services);

}  // namespace screens
