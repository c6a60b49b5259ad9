#pragma once
// Acts as a user on another process's windows: finds a window by its caption, chooses menu
// items with the keyboard, clicks check boxes, double-clicks list items, reads labels and
// lists, reads and answers message boxes, and photographs the screen. Menus are private to
// their process under Wine, so the caller names the menu bar's captions; controls are found
// by their names, which give their window ids.
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/Win32.h"

namespace e2e {

// Waits for a visible top-level window of the process with exactly this caption; nullptr when
// none came within the time.
HWND WaitForWindow(DWORD processId, const std::string& caption, int milliseconds);
// Waits until no visible top-level window of the process has this caption.
bool WaitForWindowGone(DWORD processId, const std::string& caption, int milliseconds);
// Captions of the visible top-level windows of the process (message boxes included).
std::vector<std::string> VisibleCaptions(DWORD processId);
// The visible top-level windows of the process (message boxes included).
std::vector<HWND> VisibleTopLevelWindows(DWORD processId);
// Every top-level window of the process, hidden ones included.
std::vector<HWND> TopLevelWindows(DWORD processId);
std::string ClassOf(HWND window);
// The program's main window: hidden, without a caption, and parked far off the screen.
HWND MainWindow(DWORD processId);
// The popup menu of the process while one is open.
HWND OpenPopupMenu(DWORD processId);
// Waits for the program's backdrop: shown, of the program's window class, without a caption (the
// window that holds the icon's menu for a moment has none either); nullptr when none came.
HWND WaitForBackdrop(DWORD processId, int milliseconds);

// A control of a window by its name ("List1", "Check2", "Label6").
HWND Control(HWND window, const char* name);
std::string ReadText(HWND window);
std::string ReadLabel(HWND window, const char* name);
std::vector<std::string> ReadList(HWND window, const char* name);
bool IsChecked(HWND window, const char* name);
// Clicks a check box as the mouse would and waits for the program to have handled the click;
// false when the box did not change.
bool ClickCheckBox(HWND window, const char* name);
// Double-clicks the first item of a list with exactly this text (leading blanks of the item,
// as a folder list indents them, do not count); false when there is none. Returns once the
// list's items have changed, the list has gone with its screen, or a moment has passed.
bool DoubleClickListItem(HWND window, const char* name, const std::string& text);
// Chooses a list's item by its text as a click would, without double-clicking; returns once
// the list shows it selected.
bool SelectListItem(HWND window, const char* name, const std::string& text);
// How far a list scrolls sideways, in pixels: 0 when it has nothing wider than itself.
int ListScrollWidth(HWND window, const char* name);
// Scrolls a list sideways to its right end, as a click at the end of its scroll bar would.
bool ScrollListRight(HWND window, const char* name);

// Clicks the left button at a point of the screen, as the user's mouse does (through the input
// queue, so that the window under it is activated as a click activates it).
void ClickAt(POINT point);
// Presses and releases a key as the keyboard does, with Shift held when asked; the window with
// the keyboard focus of the foreground thread gets it.
void PressKey(WORD key, bool shift = false);
// The window that has the keyboard focus in the thread of this window; nullptr for none.
HWND FocusOf(HWND window);
// The top-level window under a point of the screen.
HWND TopLevelAt(POINT point);

// Chooses a menu item by its captions: the item of the menu bar, then (for a sub-menu) the item
// inside it. menuBar lists the bar's captions from left to right.
bool ChooseMenu(HWND window, const std::vector<std::string>& menuBar, const std::string& item,
                const std::vector<std::string>& subMenu = {}, const std::string& subItem = {});
// Chooses an item of a popup menu that is open (the tray menu), by its position among the
// items that are not separators; atChoice runs once the item is reached, just before the key
// that chooses it.
bool ChoosePopupItem(int position, const std::function<void()>& atChoice = {});

// A message box of the process.
struct MessageBoxSeen {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // result codes of its buttons, in the order OK, Yes, No, Cancel
};
// Waits for a message box of the process; window is nullptr when none came.
MessageBoxSeen WaitForMessageBox(DWORD processId, int milliseconds);
// Presses a button of a message box by its result code and waits for the box to go; false
// when it has no such button or stayed.
bool AnswerMessageBox(const MessageBoxSeen& box, int result);

// The notification area as the shell shows it (Wine's tray): an icon's tip shows, and follows
// every change of it, while the pointer rests on the icon; a balloon shows by itself.
// Rests the pointer on the icon whose tip begins with tipStart; false when none showed such a tip.
bool PointAtTrayIcon(const std::string& tipStart);
// The tip shown now, "" for none.
std::string ShownTrayTip();
// The text of the balloon shown now, "" for none.
std::string ShownTrayBalloon();

// Writes what the screen shows to a 24-bit BMP file.
bool CaptureScreen(const std::string& bmpPath);

// Lets time pass for the other process, in small steps.
void Wait(int milliseconds);
// Lets time pass until the condition holds; false when it did not within the time.
bool WaitFor(const std::function<bool()>& condition, int milliseconds);

// The folder that MORVANE_SCREENSHOTS names, "" when it names none.
std::string ScreenshotFolder();
// When screenshots are asked for, photographs the screen, once every window has painted, as
// <name>.bmp in that folder; true when none are asked for or the picture was saved.
bool SaveScreenshot(const std::string& name);

}  // namespace e2e
