#include "screens/ScreenServices.h"

#include <memory>

#include "screens/AboutScreen.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/CookieFolderScreen.h"
#include "screens/FolderPicker.h"
#include "screens/HelpPages.h"
#include "screens/HelperWindow.h"
#include "screens/InternetKeepScreen.h"
#include "screens/PathsView.h"
#include "screens/StartPage.h"
#include "screens/TargetsScreen.h"

namespace screens {
namespace {

template <class F>
void ProvideScreen(forms::Application& app, const ScreenServices& services) {
    app.Provide<F>([&services] { return std::make_unique<F>(services); });
}

}  // namespace

void ProvideScreens(forms::Application& app, const ScreenServices& services) {
    ProvideScreen<StartPage>(app, services);
    ProvideScreen<CleanOptionsScreen>(app, services);
    ProvideScreen<FolderPicker>(app, services);
    ProvideScreen<PathsView>(app, services);
    ProvideScreen<InternetKeepScreen>(app, services);
    ProvideScreen<CookieFolderScreen>(app, services);
    ProvideScreen<AboutScreen>(app, services);
    ProvideScreen<TargetsScreen>(app, services);
    ProvideScreen<StartPageHelp>(app, services);
    ProvideScreen<OptionsHelp>(app, services);
    ProvideScreen<FolderPickerHelp>(app, services);
    ProvideScreen<InternetCookiesHelp>(app, services);
    ProvideScreen<CookieFolderHelp>(app, services);
    app.Provide<HelperWindow>([&services] { return std::make_unique<HelperWindow>(services.ports); });
}

}  // namespace screens
