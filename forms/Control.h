#pragma once
// Controls as plain state. Each control keeps its properties itself and mirrors every change
// to its native peer when the form has one; user actions arrive through ControlEvents and run
// the control's handler at the handler boundary of the application.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Folders.h"

namespace forms {

class Form;

// Lists hold at most this many items, the limit of their 16-bit positions.
inline constexpr int kMaxListItems = 32767;

class Control : public platform::ControlEvents {
public:
    Control(Form& form, std::string name, platform::ControlType type);
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    platform::ControlType Type() const { return type_; }
    Form& Parent() const { return form_; }

    double Left() const { return bounds_.left; }
    double Top() const { return bounds_.top; }
    double Width() const { return bounds_.width; }
    double Height() const { return bounds_.height; }
    void SetLeft(double v);
    void SetTop(double v);
    void SetWidth(double v);
    void SetHeight(double v);
    void Move(double left, double top, double width, double height);

    const platform::FontSpec& Font() const { return font_; }
    void SetFont(const platform::FontSpec& font);
    void SetFontSize(double points);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    void SetColours(platform::Colour fore, platform::Colour back, bool transparent);
    void SetCentred(bool centred);

    // Creates the native peer and hands it the whole state; called when the form gets its window.
    void Attach(platform::WindowPeer& window);
    void Detach();

    // ControlEvents: what the user did. Tests call these to act as the user.
    void OnDblClick() override {}
    void OnSelect(int) override {}
    void OnCheckedByUser(bool) override {}

protected:
    platform::ControlPeer* Peer() const { return peer_.get(); }
    // Runs a handler of the owning form at the handler boundary.
    void Fire(const std::function<void()>& handler);
    // Pushes the kind-specific state to a fresh peer.
    virtual void SyncPeer() {}
    // Hands the peer the font to draw in.
    virtual void PushFont();
    // The text or the place changed on the peer.
    virtual void Relayout() {}

private:
    Form& form_;
    std::string name_;
    platform::ControlType type_;
    platform::TwipRect bounds_;
    platform::FontSpec font_;
    bool visible_ = true;
    std::string caption_;
    platform::Colour fore_ = platform::Rgb(0, 0, 0);
    platform::Colour back_ = platform::Rgb(0xF0, 0xF0, 0xF0);
    bool transparent_ = false;
    bool coloured_ = false;
    bool centred_ = false;
    std::unique_ptr<platform::ControlPeer> peer_;
};

// A label that cannot show its whole text at its font draws it in the largest smaller one
// that can (Font stays what was asked for).
class Label : public Control {
public:
    Label(Form& form, std::string name) : Control(form, std::move(name), platform::ControlType::kLabel) {}
    // Whether a text would show whole at the label's own font (true without a window).
    bool TextFits(const std::string& text) const;
    // The font the label is drawn in.
    const platform::FontSpec& ShownFont() const { return shown_; }

protected:
    void SyncPeer() override;
    void PushFont() override;
    void Relayout() override { PushFont(); }

private:
    platform::FontSpec shown_;
};

class PictureBox : public Control {
public:
    PictureBox(Form& form, std::string name)
        : Control(form, std::move(name), platform::ControlType::kPictureBox) {}
    void SetPicture(std::shared_ptr<const platform::Image> image);
    const platform::Image* Picture() const { return image_.get(); }

protected:
    void SyncPeer() override;

private:
    std::shared_ptr<const platform::Image> image_;
};

// A push button; pressing it (a click, Space or Enter) runs onClick.
class Button : public Control {
public:
    Button(Form& form, std::string name) : Control(form, std::move(name), platform::ControlType::kButton) {}
    std::function<void()> onClick;
    void OnClicked() override { Fire(onClick); }
};

class CheckBox : public Control {
public:
    CheckBox(Form& form, std::string name) : Control(form, std::move(name), platform::ControlType::kCheckBox) {}
    // 1 checked, 0 clear. Setting it from code does not run the click handler.
    int Value() const { return value_; }
    void SetValue(int value);
    std::function<void()> onClick;

    void OnCheckedByUser(bool checked) override;

protected:
    void SyncPeer() override;

private:
    int value_ = 0;
};

// An unsorted list of texts with one selected position (-1: none).
class ListBox : public Control {
public:
    ListBox(Form& form, std::string name, platform::ControlType type = platform::ControlType::kListBox)
        : Control(form, std::move(name), type) {}

    int ListCount() const { return static_cast<int>(items_.size()); }
    const std::string& List(int index) const { return items_.at(static_cast<size_t>(index)); }
    const std::vector<std::string>& Items() const { return items_; }
    // Appends an item; false (and nothing added) when the list is full.
    bool AddItem(const std::string& item);
    void RemoveItem(int index);
    void Clear();
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int index);
    // How many rows the layout keeps in view, whatever the display (0: as designed).
    int MinimumRows() const { return minimumRows_; }
    void SetMinimumRows(int rows) { minimumRows_ = rows; }

    std::function<void()> onDblClick;
    void OnDblClick() override;
    void OnSelect(int index) override;

protected:
    void SyncPeer() override;
    // Replaces every item at once (the peer gets one update).
    void ReplaceItems(std::vector<std::string> items);

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
    int minimumRows_ = 10;
};

// The files of one folder: no subfolders, no hidden or system files, sorted by name.
class FileListBox : public ListBox {
public:
    // It reads its folder through files.
    FileListBox(Form& form, std::string name, platform::FileSystem& files)
        : ListBox(form, std::move(name), platform::ControlType::kFileList), files_(files) {}
    const std::string& Path() const { return path_; }
    // Points the list at a folder and reads it; an unreadable folder gives an empty list.
    void SetPath(const std::string& path);
    // Points the list at a folder whose entries were just read, by the list that opened it.
    void SetPath(const std::string& path, const std::vector<platform::FileEntry>& entries);
    // Reads the folder again.
    void Refresh();
    // How many files the last reading found, also those past the list's limit.
    int Found() const { return found_; }

private:
    void Show(const std::vector<platform::FileEntry>& entries);

    platform::FileSystem& files_;
    std::string path_;
    int found_ = 0;
};

// The logical drives; choosing one runs onChange.
class DriveListBox : public ListBox {
public:
    // It lists the drives folders names.
    DriveListBox(Form& form, std::string name, platform::Folders& folders);
    // The chosen drive as "C:".
    std::string Drive() const;
    // Chooses a drive by its letter (from code: onChange runs when the drive changes).
    void SetDrive(const std::string& drive);
    void Refresh();
    std::function<void()> onChange;
    void OnSelect(int index) override;

private:
    platform::Folders& folders_;
};

// The open folder with its ancestors above and its subfolders below; a double click opens the
// clicked folder. Path is the open folder: "C:\" for a root, no trailing "\" otherwise.
class DirListBox : public ListBox {
public:
    // It reads its folders through files.
    DirListBox(Form& form, std::string name, platform::FileSystem& files)
        : ListBox(form, std::move(name), platform::ControlType::kDirList), files_(files) {}
    const std::string& Path() const { return path_; }
    // Opens a folder (onChange runs when the open folder changes). A folder that cannot be
    // opened leaves the list where it was and gives false.
    bool SetPath(const std::string& path);
    // The folder an item stands for.
    const std::string& ItemPath(int index) const { return itemPaths_.at(static_cast<size_t>(index)); }
    // The open folder's entries, as they were read to open it.
    const std::vector<platform::FileEntry>& Entries() const { return entries_; }
    // How many items, from the top, are the open folders: the root down to the open one.
    int OpenItems() const { return openItems_; }
    std::function<void()> onChange;
    void OnDblClick() override;

protected:
    void SyncPeer() override;

private:
    platform::FileSystem& files_;
    std::string path_;
    int openItems_ = 0;
    std::vector<platform::FileEntry> entries_;
    std::vector<std::string> itemPaths_;
};

// A timer of a form: while enabled it runs onTimer every interval.
class Timer {
public:
    Timer(Form& form, std::string name, int intervalMs);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    const std::string& Name() const { return name_; }
    int Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    std::function<void()> onTimer;

    int Id() const { return id_; }
    void Attach(platform::WindowPeer& window);
    void Detach();
    void Fire();

private:
    Form& form_;
    std::string name_;
    int interval_;
    int id_;
    bool enabled_ = false;
    platform::WindowPeer* window_ = nullptr;
};

}  // namespace forms
