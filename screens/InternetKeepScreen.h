#pragma once
// The internet cookie keep screen: the URL cache's entries on top, the keep-list below.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "screens/CookieScreen.h"

namespace screens {

// Why Save stores nothing when the keep-list holds more entries than the saved list can show.
std::string KeepListTooLongText(std::size_t stored);

class InternetKeepScreen : public CookieScreen {
public:
    // Lists the cache when it loads, unless it is given a listing made for it.
    explicit InternetKeepScreen(const ScreenServices& services,
                                std::optional<std::vector<std::string>> listed = std::nullopt);
    // Lists the cache (beside the windows, before a command builds the screen), counting what it
    // has found so far; what it hands back builds the screen from that listing instead of listing
    // again.
    static Target::Prepared Prepare(const ScreenServices& services, BesideProgress& progress);
    // What the status line says while the cache is listed, before the count.
    static constexpr const char* kPreparing = "Collecting Internet Files";

protected:
    void LoadContent() override;
    std::string StatusText() override;

private:
    void Rebuild(const std::vector<std::string>& collected);

    std::optional<std::vector<std::string>> listed_;
    void Delete_Click();
};

}  // namespace screens
