// Opening a screen from another one, as the user's command does it (the forms runtime with the
// real desktop, in this process), against making and showing a bare Win32 window with the same
// child controls (classes, styles, places, fonts, texts, items, menu bar and picture), in the
// same run on the same display. Both times run from the first call to the moment the window is
// shown and every paint it caused is done; the two take turns over 25 rounds, and the median
// of the per-round ratios counts. Every screen is a target; the folder picker opens on a folder of 10,000 files, whose
// bare file list reads the folder itself (LB_DIR), as a file list must.
//
// It makes its work folder beside itself and removes it again; Clean.ini lies in that folder.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/Program.h"
#include "bench/WindowBench.h"
#include "screens/Backdrop.h"
#include "screens/HelperWindow.h"
#include "forms/Application.h"
#include "platform/Ports.h"
#include "platform/win32/ControlIds.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Automation.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Folders.h"
#include "platform/win32/Win32Gdi.h"
#include "platform/win32/Win32UrlCache.h"
#include "screens/StartPage.h"
#include "screens/CleanOptionsScreen.h"
#include "screens/InternetKeepScreen.h"
#include "screens/CookieFolderScreen.h"
#include "screens/AboutScreen.h"
#include "screens/HelpPages.h"
#include "screens/SidePicture.h"
#include "screens/PathsView.h"
#include "screens/FolderPicker.h"

namespace {

using bench::Median;
using bench::Milliseconds;
using bench::PumpUntilIdle;

constexpr int kRuns = 25;
constexpr int kWarmUps = 3;
constexpr int kFiles = 10000;
constexpr double kTarget = 2.0;
// Between two commands the program and the display settle, as they do while a user reads.
constexpr int kSettleMs = 20;
constexpr const wchar_t* kBareClass = L"BareScreen";

using win32::Narrow;
using win32::Widen;

// The program's own folder is the bench's work folder, so that Clean.ini is made there.
class WorkEnvironment : public win32::Win32Environment {
public:
    explicit WorkEnvironment(std::string folder) : folder_(std::move(folder)) {}
    std::string ProgramFolder() override { return folder_; }

private:
    std::string folder_;
};

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
    const std::wstring full(path, length);
    return full.substr(0, full.rfind(L'\\'));
}

// --- The work folder: 10,000 files with names of every shape, and a few subfolders.

// A new file; false when it could not be made (or was there already).
bool MakeFile(const std::wstring& path, const std::string& content = {}) {
    const win32::KernelHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

bool MakeWorkFolder(const std::wstring& work) {
    if (!::CreateDirectoryW(work.c_str(), nullptr)) return false;
    const std::wstring files = work + L"\\Files";
    ::CreateDirectoryW(files.c_str(), nullptr);
    for (const wchar_t* sub : {L"Archive", L"drafts", L"Old Photos", L"zeta"}) {
        ::CreateDirectoryW((files + L"\\" + sub).c_str(), nullptr);
    }
    const wchar_t* stems[] = {L"Report", L"photo_", L"invoice-", L"Setup", L"notes ", L"~tmp", L"Data."};
    const wchar_t* extensions[] = {L".txt", L".JPG", L".pdf", L".tmp", L".docx", L".log"};
    for (int i = 0; i < kFiles; ++i) {
        MakeFile(files + L"\\" + stems[i % 7] + std::to_wstring((i * 7919) % 100003) + extensions[i % 6]);
    }
    return true;
}

// Removes the work folder this bench made, and nothing outside it.
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    if (const win32::FindHandle search{::FindFirstFileW((folder + L"\\*").c_str(), &found)}) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                ::RemoveDirectoryW(path.c_str());
            } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(search.Get(), &found));
    }
    ::RemoveDirectoryW(folder.c_str());
}

// --- The bare window: a copy of what a screen's window is made of, made the plain Win32 way.

struct MenuCopy {
    std::wstring caption;
    UINT id = 0;
    std::vector<MenuCopy> children;
};

struct ChildCopy {
    std::wstring className;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    RECT rect = {};
    std::wstring text;
    HFONT font = nullptr;
    std::vector<std::wstring> items;
    LRESULT selected = -1;
    LRESULT extent = 0;  // how far a list scrolls sideways
    LRESULT checked = 0;
    bool picture = false;
    std::wstring folder;  // a file list: the folder it shows
};

struct WindowCopy {
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect = {};
    std::wstring caption;
    std::vector<MenuCopy> menu;
    std::vector<ChildCopy> children;
};

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<MenuCopy> CopyMenu(HMENU menu) {
    std::vector<MenuCopy> items;
    for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
        wchar_t caption[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), caption, 128, MF_BYPOSITION);
        items.push_back({caption, ::GetMenuItemID(menu, i), CopyMenu(::GetSubMenu(menu, i))});
    }
    return items;
}

std::vector<std::wstring> ItemsOf(HWND list, UINT countMessage, UINT lengthMessage, UINT textMessage) {
    std::vector<std::wstring> items;
    const LRESULT count = ::SendMessageW(list, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(list, lengthMessage, static_cast<WPARAM>(i), 0);
        std::wstring item(static_cast<size_t>(length) + 1, L'\0');
        item.resize(static_cast<size_t>(
            ::SendMessageW(list, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    return items;
}

// fileFolder: the folder the window's file list shows.
WindowCopy CopyWindow(HWND window, const std::wstring& fileFolder) {
    WindowCopy copy;
    copy.style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    copy.exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    ::GetWindowRect(window, &copy.rect);
    copy.caption = TextOf(window);
    copy.menu = CopyMenu(::GetMenu(window));
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ChildCopy c;
        wchar_t className[64] = {};
        ::GetClassNameW(child, className, 64);
        c.className = className;
        c.style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
        c.exStyle = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_EXSTYLE));
        c.id = ::GetDlgCtrlID(child);
        ::GetWindowRect(child, &c.rect);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&c.rect), 2);
        c.text = TextOf(child);
        c.font = reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0));
        if (c.className == L"ListBox") {
            c.items = ItemsOf(child, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
            c.selected = ::SendMessageW(child, LB_GETCURSEL, 0, 0);
            c.extent = ::SendMessageW(child, LB_GETHORIZONTALEXTENT, 0, 0);
            if (c.id == win32::ControlIdOf("File1")) c.folder = fileFolder;
        } else if (c.className == L"ComboBox") {
            c.items = ItemsOf(child, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
            c.selected = ::SendMessageW(child, CB_GETCURSEL, 0, 0);
            // The combo box's window also holds its drop-down list.
            c.rect.bottom = c.rect.top + (c.rect.bottom - c.rect.top) * 9;
        } else if (c.className == L"Button") {
            c.checked = ::SendMessageW(child, BM_GETCHECK, 0, 0);
        } else if (c.className == win32::kPictureClass) {
            c.picture = true;
        }
        copy.children.push_back(std::move(c));
    }
    return copy;
}

HMENU BuildMenu(const std::vector<MenuCopy>& items, bool bar) {
    if (items.empty()) return nullptr;
    const HMENU menu = bar ? ::CreateMenu() : ::CreatePopupMenu();
    for (const MenuCopy& item : items) {
        if (item.children.empty()) {
            ::AppendMenuW(menu, MF_STRING, item.id, item.caption.c_str());
        } else {
            ::AppendMenuW(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu(item.children, false)),
                          item.caption.c_str());
        }
    }
    return menu;
}

// Makes, fills and shows the bare window; returns it painted.
HWND ShowBare(const WindowCopy& copy, HBITMAP picture) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const HWND window = ::CreateWindowExW(copy.exStyle, kBareClass, copy.caption.c_str(), copy.style & ~WS_VISIBLE,
                                          copy.rect.left, copy.rect.top, copy.rect.right - copy.rect.left,
                                          copy.rect.bottom - copy.rect.top, nullptr, BuildMenu(copy.menu, true),
                                          instance, nullptr);
    for (const ChildCopy& c : copy.children) {
        const wchar_t* className = c.picture ? L"STATIC" : c.className.c_str();
        const DWORD style = c.picture ? (WS_CHILD | SS_BITMAP | SS_REALSIZECONTROL | (c.style & WS_VISIBLE)) : c.style;
        const HWND child = ::CreateWindowExW(c.exStyle, className, c.text.c_str(), style, c.rect.left, c.rect.top,
                                             c.rect.right - c.rect.left, c.rect.bottom - c.rect.top, window,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        if (c.font) ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
        if (c.picture && picture) {
            ::SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
        } else if (c.className == L"ListBox") {
            ::SendMessageW(child, WM_SETREDRAW, FALSE, 0);
            ::SendMessageW(child, LB_INITSTORAGE, c.items.size(), static_cast<LPARAM>(c.items.size() * 64));
            if (c.folder.empty()) {
                for (const std::wstring& item : c.items) {
                    ::SendMessageW(child, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
                }
            } else {
                // A file list shows a folder: the list box reads it itself, as the platform's
                // own file list does.
                const std::wstring pattern = c.folder + L"\\*";
                ::SendMessageW(child, LB_DIR, DDL_READWRITE | DDL_READONLY | DDL_ARCHIVE,
                               reinterpret_cast<LPARAM>(pattern.c_str()));
            }
            ::SendMessageW(child, LB_SETCURSEL, static_cast<WPARAM>(c.selected), 0);
            ::SendMessageW(child, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(c.extent), 0);
            ::SendMessageW(child, WM_SETREDRAW, TRUE, 0);
        } else if (c.className == L"ComboBox") {
            for (const std::wstring& item : c.items) {
                ::SendMessageW(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            }
            ::SendMessageW(child, CB_SETCURSEL, static_cast<WPARAM>(c.selected), 0);
        } else if (c.className == L"Button") {
            ::SendMessageW(child, BM_SETCHECK, static_cast<WPARAM>(c.checked), 0);
        }
    }
    ::ShowWindow(window, SW_SHOW);
    PumpUntilIdle();
    return window;
}

// --- The hand-overs.

struct Case {
    const char* name;
    std::function<screens::Screen&(forms::Application&)> source;  // the screen the command is chosen on, made untimed
    const char* command;
    std::function<forms::Form*(forms::Application&)> target;
};

template <class F>
std::function<forms::Form*(forms::Application&)> Reached() {
    return [](forms::Application& app) { return app.Find<F>(); };
}

template <class F>
std::function<screens::Screen&(forms::Application&)> Source() {
    return [](forms::Application& app) -> screens::Screen& { return app.Load<F>(); };
}

// Lets the program run for a while, as it does while the user reads the screen.
void PumpFor(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        PumpUntilIdle();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// A help page, opened from its screen; the screen is gone by the time the user is done reading
// when its help destroys it.
template <class Screen, class Page>
std::function<screens::Screen&(forms::Application&)> HelpOf() {
    return [](forms::Application& app) -> screens::Screen& {
        Screen& screen = app.Load<Screen>();
        screen.Run("sHelp");
        if (screen.Leaving()) PumpFor(screen.DestroyTimer()->Interval() + 20);
        return *app.Find<Page>();
    };
}

// Every screen goes; the backdrop and the helper window stay, as they do in the program.
void CloseScreens(forms::Application& app) {
    for (forms::Form* form : app.Forms()) {
        if (form->Name() != "Form10" && form->Name() != "Form6") app.Unload(*form);
    }
    PumpUntilIdle();
}

bool ShownOnScreen(const forms::Form* form) {
    return form && form->Visible() && ::IsWindowVisible(reinterpret_cast<HWND>(form->Handle()));
}

}  // namespace

int main(int argc, char** argv) {
    // An argument picks the cases whose names contain it.
    const std::string only = argc > 1 ? argv[1] : "";
    const std::wstring work = ExeFolder() + L"\\bench_handover." + std::to_wstring(::GetCurrentProcessId());
    if (!MakeWorkFolder(work)) {
        std::fprintf(stderr, "bench_handover: cannot make %s\n", Narrow(work).c_str());
        return 1;
    }
    // The folder picker opens on the folder of 10,000 files, as the user folder stored there.
    MakeFile(work + L"\\Clean.ini", "[User]\r\nsFile0=" + Narrow(work) + "\\Files\r\n");

    int status = 0;
    {
        WorkEnvironment environment(Narrow(work));
        win32::Win32Folders folders;
        win32::Win32FileSystem files;
        win32::Win32Automation automation;
        win32::Win32UrlCache cache;
        const platform::Ports ports{&environment, &folders, &files, &automation, &cache};
        win32::Win32Desktop desktop;
        app::Program program(desktop, ports);
        forms::Application& app = program.App();

        WNDCLASSEXW bareClass = {};
        bareClass.cbSize = sizeof(bareClass);
        bareClass.lpfnWndProc = ::DefWindowProcW;
        bareClass.hInstance = ::GetModuleHandleW(nullptr);
        bareClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        bareClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        bareClass.lpszClassName = kBareClass;
        ::RegisterClassExW(&bareClass);
        win32::GdiBitmap picture;
        if (const auto image = desktop.LoadPicture(screens::kSidePictureResource)) {
            picture = win32::BitmapFromImage(*image);
        }

        // What the resident program has before any screen opens.
        app.Load<screens::HelperWindow>();
        app.Load<screens::Backdrop>();
        PumpUntilIdle();

        using namespace screens;
        const std::vector<Case> cases = {
            {"start page, Help", Source<screens::StartPage>(), "sHelp", Reached<StartPageHelp>()},
            {"start page, back from its help", HelpOf<screens::StartPage, StartPageHelp>(), "sClose", Reached<screens::StartPage>()},
            {"options, from the start page", Source<screens::StartPage>(), "sOptions", Reached<CleanOptionsScreen>()},
            {"options, back from their help", HelpOf<CleanOptionsScreen, OptionsHelp>(), "sClose", Reached<CleanOptionsScreen>()},
            {"options, Help", Source<CleanOptionsScreen>(), "sHelp", Reached<OptionsHelp>()},
            {"folder picker (10,000 files), from the start page", Source<screens::StartPage>(), "sCookies", Reached<FolderPicker>()},
            {"folder picker, back from its help", HelpOf<FolderPicker, FolderPickerHelp>(), "sClose", Reached<FolderPicker>()},
            {"folder picker, Help", Source<FolderPicker>(), "sHelp", Reached<FolderPickerHelp>()},
            {"paths view, from the start page", Source<screens::StartPage>(), "sPath", Reached<PathsView>()},
            {"about, from the paths view", Source<PathsView>(), "sAbout", Reached<AboutScreen>()},
            {"internet cookies, from the start page", Source<screens::StartPage>(), "sInter", Reached<InternetKeepScreen>()},
            {"internet cookies, Help", Source<InternetKeepScreen>(), "sHelp", Reached<InternetCookiesHelp>()},
            {"cookie folder, from internet cookies", Source<InternetKeepScreen>(), "sCookies", Reached<CookieFolderScreen>()},
            {"cookie folder, Help", Source<CookieFolderScreen>(), "sHelp", Reached<CookieFolderHelp>()},
        };

        bench::Spread worst;
        std::string worstName;
        for (const Case& c : cases) {
            if (std::string(c.name).find(only) == std::string::npos) continue;
            std::vector<double> ours;
            std::vector<double> bare;
            WindowCopy copy;
            bool reached = true;
            const auto handOver = [&] {
                CloseScreens(app);
                screens::Screen& source = c.source(app);
                PumpFor(kSettleMs);
                const double ms = Milliseconds([&] {
                    source.Run(c.command);
                    PumpUntilIdle();
                });
                forms::Form* target = c.target(app);
                reached = reached && ShownOnScreen(target);
                if (reached && copy.children.empty()) {
                    copy = CopyWindow(reinterpret_cast<HWND>(target->Handle()), work + L"\\Files");
                }
                return ms;
            };
            const auto bareWindow = [&] {
                HWND window = nullptr;
                PumpFor(kSettleMs);
                const double ms = Milliseconds([&] { window = ShowBare(copy, picture.Get()); });
                ::DestroyWindow(window);
                PumpUntilIdle();
                return ms;
            };
            for (int i = 0; i < kWarmUps; ++i) handOver();
            for (int i = 0; i < kWarmUps; ++i) bareWindow();
            // Taking turns, so that neither always meets a warmer cache.
            for (int i = 0; i < kRuns; ++i) {
                bench::InTurns(i, 2, [&](int turn) {
                    if (turn == 0) {
                        ours.push_back(handOver());
                    } else {
                        bare.push_back(bareWindow());
                    }
                });
            }
            CloseScreens(app);
            if (!reached) {
                std::printf("%-52s the command did not show its screen\n", c.name);
                status = 1;
                continue;
            }
            const bench::Spread ratio = bench::RatioOf(ours, bare);
            if (ratio.median > worst.median) {
                worst = ratio;
                worstName = c.name;
            }
            std::printf("%-52s %7.2f ms, bare window %7.2f ms, ratio %s\n", c.name, Median(ours), Median(bare),
                        bench::Text(ratio).c_str());
        }
        bench::AtMost("worst hand-over / bare window (" + worstName + ")", worst, kTarget);
    }
    RemoveTree(work);
    return status;
}
