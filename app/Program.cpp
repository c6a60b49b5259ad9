#include "app/Program.h"

#include <memory>

#include "app/MainWindow.h"

namespace app {

Program::Program(platform::Desktop& desktop, const platform::Ports& ports)
    : ports_(ports),
      cleaner_(ports_),
      previewLine_(ports_, desktop, cleaner_),
      cleanRunWindows_(app_, ports_, cleaner_, &previewLine_),
      sidePicture_(desktop),
      services_{ports_, &cleaner_, &cleanRunWindows_, &previewLine_, &sidePicture_},
      app_(desktop) {
    screens::ProvideScreens(app_, services_);
    app_.Provide<MainWindow>([this] { return std::make_unique<MainWindow>(ports_, cleaner_, cleanRunWindows_); });
}

}  // namespace app
