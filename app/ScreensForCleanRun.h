#pragma once
// The screens a clean run shows and hides, and how it hands over to the resident main window.
#include "engine/CleanRun.h"

namespace app {

class ScreensForCleanRun : public engine::CleanRunScreens {
public:
    void ShowFolderPicker() override;
    void ShowStartPage() override;
    void HideOptions() override;
    void ScheduleCloseAll() override;
    void EndWhenScreensClose(int exitCode) override;
};

}  // namespace app
