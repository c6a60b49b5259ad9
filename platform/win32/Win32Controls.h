#pragma once
// The native controls of a form's window: labels (STATIC), lists (LISTBOX), the drive list (a
// drop-down list combo box), check boxes (BUTTON) and picture boxes (a window of ours).
// Notifications reach the form's window, which hands them to the control they came from.
#include <memory>
#include <vector>

#include "platform/Desktop.h"
#include "platform/win32/NativeWindow.h"
#include "platform/win32/Win32Gdi.h"

namespace win32 {

class Win32Window;

class Win32Control : public platform::ControlPeer {
public:
    Win32Control(Win32Window& parent, platform::ControlEvents& events, int id);
    ~Win32Control() override;
    Win32Control(const Win32Control&) = delete;
    Win32Control& operator=(const Win32Control&) = delete;

    virtual HWND Hwnd() const = 0;

    void SetBounds(const platform::TwipRect& bounds) override;
    void SetFont(const platform::FontSpec& font) override;
    void SetVisible(bool visible) override;
    void SetText(const std::string& text) override;
    void SetColours(platform::Colour fore, platform::Colour back, bool transparent) override;
    void SetCentred(bool) override {}
    // What a kind of control does not have, it ignores.
    void AddItem(const std::string&) override {}
    void RemoveItem(int) override {}
    void ClearItems() override {}
    void SetItems(const std::vector<std::string>&) override {}
    void SetSelected(int) override {}
    void SetOpenItems(int) override {}
    void SetChecked(bool) override {}
    void SetImage(const platform::Image&) override {}
    bool TextFits(const platform::FontSpec& font, const std::string& text) override;

    // From the form's window.
    virtual void OnNotify(int code) { (void)code; }
    // Enter while the control has the focus; false leaves the key to the control.
    virtual bool OnEnterKey() { return false; }
    // Whether Esc is the control's own now (an open drop-down list closes).
    virtual bool TakesEscape() { return false; }
    // An owner-drawn control draws an item.
    virtual void OnDrawItem(const DRAWITEMSTRUCT& item) { (void)item; }
    // The brush (and the DC's colours) for WM_CTLCOLOR*; null leaves the system's colours.
    virtual HBRUSH OnCtlColor(HDC dc);
    virtual void OnBurstEnded() {}
    // The window is about to show: what was filled while it was hidden is finished first.
    virtual void OnShowing() { OnBurstEnded(); }
    void ParentGone() { parent_ = nullptr; }
    // Labels: beneath every other kind of control.
    virtual bool InBackground() const { return false; }

protected:
    // Makes the standard control's window in its place, with its text, font and visibility.
    void Make(const wchar_t* className, DWORD style, DWORD exStyle, const platform::ControlSetup& setup);
    // Places a new control's window among its siblings.
    void Stack(HWND window) const;
    HWND Parent() const;
    // The pixel height the window gets for a bounds height (a combo box adds its drop-down).
    virtual int WindowHeight(int boundsHeight) const { return boundsHeight; }

    Win32Window* parent_;
    platform::ControlEvents& events_;
    WindowHandle window_;
    bool coloured_ = false;
    bool transparent_ = false;
    COLORREF fore_ = 0;
    COLORREF back_ = 0;
    GdiBrush backBrush_;
    LifeToken life_;
    int id_;
};

class Win32Label final : public Win32Control {
public:
    Win32Label(Win32Window& parent, platform::ControlEvents& events, int id, const platform::ControlSetup& setup);
    HWND Hwnd() const override { return window_.Get(); }
    void SetCentred(bool centred) override;
    bool InBackground() const override { return true; }
};

// Drawn by the program, its box as high as its text's lines: the system's box keeps one size
// (13 pixels under Wine, whatever the dots an inch) beside text of any size. It answers
// BM_GETCHECK and BM_SETCHECK as a standard check box does.
class Win32CheckBox final : public Win32Control {
public:
    Win32CheckBox(Win32Window& parent, platform::ControlEvents& events, int id, const platform::ControlSetup& setup);
    ~Win32CheckBox() override;
    HWND Hwnd() const override { return window_.Get(); }
    void SetChecked(bool checked) override;
    void OnNotify(int code) override;
    void OnDrawItem(const DRAWITEMSTRUCT& item) override;

private:
    static LRESULT CALLBACK CheckState(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
    bool checked_ = false;
};

// Where a check box's text begins, in pixels: after a box as high as the font's lines, and
// half an average character.
int CheckBoxTextLeft(const TEXTMETRICW& font);

class Win32Button final : public Win32Control {
public:
    Win32Button(Win32Window& parent, platform::ControlEvents& events, int id, const platform::ControlSetup& setup);
    HWND Hwnd() const override { return window_.Get(); }
    void OnNotify(int code) override;
    bool OnEnterKey() override;
};

// Lists fill fast: a fill posts itself a note that comes back once the handler that fills has
// returned to the message loop; a long fill turns redrawing off until then. A list given many
// items at once takes them a slice at a time, each slice at such a note, so that the window
// answers meanwhile. An item wider than the list (a long path) can be scrolled to sideways.
// Enter is a double click on the selected item.
class Win32ListBox : public Win32Control {
public:
    Win32ListBox(Win32Window& parent, platform::ControlEvents& events, int id, const platform::ControlSetup& setup);
    HWND Hwnd() const override { return window_.Get(); }
    void SetFont(const platform::FontSpec& font) override;
    void AddItem(const std::string& item) override;
    void RemoveItem(int index) override;
    void ClearItems() override;
    void SetItems(const std::vector<std::string>& items) override;
    void SetSelected(int index) override;
    void OnNotify(int code) override;
    bool OnEnterKey() override;
    void OnBurstEnded() override;
    void OnShowing() override;

protected:
    // For lists that draw their items themselves.
    Win32ListBox(Win32Window& parent, platform::ControlEvents& events, int id, const platform::ControlSetup& setup,
                 DWORD extraStyle);
    // How wide an item is drawn, in pixels, in the list's font.
    virtual int ItemWidth(HFONT font, const std::wstring& item);
    // The sideways scroll range: the width of the item with the most characters, which is
    // measured alone, so that a long fill costs one measurement.
    void UpdateScrollWidth();

private:
    void NoteFill();
    // Adds the items still to come, for a slice of time or (whole) all of them.
    void AddPending(bool whole);

    std::vector<std::string> pending_;  // items still to come, from pendingAt_ on
    size_t pendingAt_ = 0;
    bool fillNoted_ = false;  // the note is on its way
    bool redrawOff_ = false;
    LRESULT reserved_ = 0;  // items the list has storage for
    std::wstring wide_;     // the item being added
    std::wstring longest_;  // the item with the most characters since the list was last emptied
    int scrollWidth_ = 0;
};

// The directory list as the classic one shows it: each folder with its folder picture, the open
// folders (the root down to the open one) open, their subfolders closed, each level indented.
// The items' leading blanks, two a level, are their depth.
class Win32DirList final : public Win32ListBox {
public:
    Win32DirList(Win32Window& parent, platform::ControlEvents& events, int id, const platform::ControlSetup& setup);
    void SetFont(const platform::FontSpec& font) override;
    void SetOpenItems(int count) override;
    void OnDrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    int ItemWidth(HFONT font, const std::wstring& item) override;

private:
    // Rows as high as the font's lines, as in a plain list, and never too low for a picture.
    void FitRows();
    // A folder picture is a row high; each level starts under the middle of the one above.
    int PictureWidth() const { return rowHeight_; }
    int Indent() const { return rowHeight_ * 2 / 3; }
    int rowHeight_ = 16;
    int openItems_ = 0;
};

class Win32DriveList final : public Win32Control {
public:
    Win32DriveList(Win32Window& parent, platform::ControlEvents& events, int id, const platform::ControlSetup& setup);
    HWND Hwnd() const override { return window_.Get(); }
    void AddItem(const std::string& item) override;
    void RemoveItem(int index) override;
    void ClearItems() override;
    void SetItems(const std::vector<std::string>& items) override;
    void SetSelected(int index) override;
    void OnNotify(int code) override;
    bool TakesEscape() override;

protected:
    int WindowHeight(int boundsHeight) const override;
};

class Win32PictureBox final : public Win32Control, private NativeWindow {
public:
    Win32PictureBox(Win32Window& parent, platform::ControlEvents& events, int id, const platform::ControlSetup& setup);
    ~Win32PictureBox() override;
    HWND Hwnd() const override { return NativeWindow::Hwnd(); }
    void SetImage(const platform::Image& image) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc);

    std::shared_ptr<SharedPicture> picture_;
    std::shared_ptr<const GdiBitmap> scaled_;
    SIZE scaledSize_ = {0, 0};
};

}  // namespace win32
