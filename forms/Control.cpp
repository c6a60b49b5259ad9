#include "forms/Control.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "forms/Application.h"
#include "forms/Form.h"
#include "platform/Ports.h"
#include "platform/Text.h"

namespace forms {

Control::Control(Form& form, std::string name, platform::ControlType type)
    : form_(form), name_(std::move(name)), type_(type) {
    form_.Register(*this);
}

Control::~Control() { form_.Unregister(*this); }

void Control::SetLeft(double v) { Move(v, bounds_.top, bounds_.width, bounds_.height); }
void Control::SetTop(double v) { Move(bounds_.left, v, bounds_.width, bounds_.height); }
void Control::SetWidth(double v) { Move(bounds_.left, bounds_.top, v, bounds_.height); }
void Control::SetHeight(double v) { Move(bounds_.left, bounds_.top, bounds_.width, v); }

void Control::Move(double left, double top, double width, double height) {
    bounds_ = {left, top, width, height};
    if (!peer_) return;
    peer_->SetBounds(bounds_);
    Relayout();
}

void Control::SetFont(const platform::FontSpec& font) {
    font_ = font;
    if (peer_) PushFont();
}

void Control::PushFont() { peer_->SetFont(font_); }

void Control::SetFontSize(double points) {
    platform::FontSpec font = font_;
    font.size = points;
    SetFont(font);
}

void Control::SetVisible(bool visible) {
    visible_ = visible;
    if (peer_) peer_->SetVisible(visible_);
}

void Control::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (!peer_) return;
    peer_->SetText(caption_);
    Relayout();
}

void Control::SetColours(platform::Colour fore, platform::Colour back, bool transparent) {
    fore_ = fore;
    back_ = back;
    transparent_ = transparent;
    coloured_ = true;
    if (peer_) peer_->SetColours(fore_, back_, transparent_);
}

void Control::SetCentred(bool centred) {
    centred_ = centred;
    if (peer_) peer_->SetCentred(centred_);
}

void Control::Attach(platform::WindowPeer& window) {
    peer_ = window.CreateControl(type_, name_, *this, {bounds_, font_, caption_, visible_});
    if (!peer_) return;
    if (coloured_) peer_->SetColours(fore_, back_, transparent_);
    if (centred_) peer_->SetCentred(true);
    SyncPeer();
}

void Control::Detach() { peer_.reset(); }

void Control::Fire(const std::function<void()>& handler) {
    if (handler) form_.App().Dispatch(handler);
}

// ---- Label

namespace {
// Below this a text is no easier to read for being whole.
constexpr double kSmallestFontPoints = 6;
}  // namespace

bool Label::TextFits(const std::string& text) const { return !Peer() || Peer()->TextFits(Font(), text); }

void Label::SyncPeer() {
    shown_ = Font();  // what the peer was made with
    PushFont();
}

void Label::PushFont() {
    platform::FontSpec font = Font();
    if (!Caption().empty()) {
        while (font.size > kSmallestFontPoints && !Peer()->TextFits(font, Caption())) {
            font.size = std::max(kSmallestFontPoints, font.size - 0.5);
        }
    }
    if (font == shown_) return;
    shown_ = font;
    Peer()->SetFont(shown_);
}

// ---- PictureBox

void PictureBox::SetPicture(std::shared_ptr<const platform::Image> image) {
    image_ = std::move(image);
    SyncPeer();
}

void PictureBox::SyncPeer() {
    if (Peer() && image_) Peer()->SetImage(*image_);
}

// ---- CheckBox

void CheckBox::SetValue(int value) {
    value_ = value ? 1 : 0;
    if (Peer()) Peer()->SetChecked(value_ == 1);
}

void CheckBox::OnCheckedByUser(bool checked) {
    value_ = checked ? 1 : 0;
    Fire(onClick);
}

void CheckBox::SyncPeer() {
    if (Peer()) Peer()->SetChecked(value_ == 1);
}

// ---- ListBox

bool ListBox::AddItem(const std::string& item) {
    if (ListCount() >= kMaxListItems) return false;
    items_.push_back(item);
    if (Peer()) Peer()->AddItem(item);
    return true;
}

void ListBox::RemoveItem(int index) {
    if (index < 0 || index >= ListCount()) return;
    items_.erase(items_.begin() + index);
    if (listIndex_ == index) {
        listIndex_ = -1;
    } else if (listIndex_ > index) {
        --listIndex_;
    }
    if (Peer()) Peer()->RemoveItem(index);
}

void ListBox::Clear() {
    items_.clear();
    listIndex_ = -1;
    if (Peer()) Peer()->ClearItems();
}

void ListBox::SetListIndex(int index) {
    listIndex_ = (index >= 0 && index < ListCount()) ? index : -1;
    if (Peer()) Peer()->SetSelected(listIndex_);
}

void ListBox::ReplaceItems(std::vector<std::string> items) {
    if (items.size() > static_cast<size_t>(kMaxListItems)) items.resize(kMaxListItems);
    items_ = std::move(items);
    listIndex_ = -1;
    if (Peer()) Peer()->SetItems(items_);
}

void ListBox::OnDblClick() {
    // Nothing is chosen without a selected item.
    if (listIndex_ >= 0) Fire(onDblClick);
}

void ListBox::OnSelect(int index) { listIndex_ = (index >= 0 && index < ListCount()) ? index : -1; }

void ListBox::SyncPeer() {
    if (!Peer()) return;
    Peer()->SetItems(items_);
    Peer()->SetSelected(listIndex_);
}

// ---- FileListBox

namespace {

// Names in the order the lists show them: by their upper-case form, equal ones as they came.
void SortNames(std::vector<std::string>& names) {
    std::vector<std::pair<std::string, size_t>> keys;
    keys.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i) keys.emplace_back(text::ToUpper(names[i]), i);
    std::sort(keys.begin(), keys.end());
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const auto& key : keys) sorted.push_back(std::move(names[key.second]));
    names = std::move(sorted);
}

}  // namespace

void FileListBox::SetPath(const std::string& path) {
    path_ = path;
    Refresh();
}

void FileListBox::SetPath(const std::string& path, const std::vector<platform::FileEntry>& entries) {
    path_ = path;
    Show(entries);
}

void FileListBox::Refresh() {
    std::optional<std::vector<platform::FileEntry>> entries;
    if (!path_.empty()) entries = files_.ListFolder(path_);
    Show(entries ? *entries : std::vector<platform::FileEntry>{});
}

void FileListBox::Show(const std::vector<platform::FileEntry>& entries) {
    std::vector<std::string> names;
    for (const auto& entry : entries) {
        if (entry.IsDirectory() || entry.Has(platform::kAttrHidden) || entry.Has(platform::kAttrSystem)) continue;
        names.push_back(entry.name);
    }
    SortNames(names);
    found_ = static_cast<int>(names.size());
    ReplaceItems(std::move(names));
}

// ---- DriveListBox

DriveListBox::DriveListBox(Form& form, std::string name, platform::Folders& folders)
    : ListBox(form, std::move(name), platform::ControlType::kDriveList), folders_(folders) {
    Refresh();
}

void DriveListBox::Refresh() {
    const std::string current = Drive();
    std::vector<std::string> drives;
    const std::string roots = folders_.LogicalDriveStrings();
    for (size_t i = 0; i < roots.size();) {
        const size_t end = std::min(roots.find('\0', i), roots.size());
        if (end > i) drives.push_back(text::ToUpper(roots.substr(i, 2)));
        i = end + 1;
    }
    ReplaceItems(drives);
    const std::string want = current.empty() ? "C:" : current;
    for (int i = 0; i < ListCount(); ++i) {
        if (List(i) == want) SetListIndex(i);
    }
    if (ListIndex() < 0 && ListCount() > 0) SetListIndex(0);
}

std::string DriveListBox::Drive() const { return ListIndex() >= 0 ? List(ListIndex()) : std::string(); }

void DriveListBox::SetDrive(const std::string& drive) {
    const std::string letter = text::ToUpper(drive.substr(0, 2));
    for (int i = 0; i < ListCount(); ++i) {
        if (List(i) == letter && i != ListIndex()) {
            SetListIndex(i);
            Fire(onChange);
        }
    }
}

void DriveListBox::OnSelect(int index) {
    if (index == ListIndex() || index < 0 || index >= ListCount()) return;
    ListBox::OnSelect(index);
    Fire(onChange);
}

// ---- DirListBox

namespace {
std::string WithoutTrailingBackslash(std::string path) {
    while (path.size() > 3 && text::EndsWith(path, "\\")) path.pop_back();
    return path;
}
}  // namespace

bool DirListBox::SetPath(const std::string& path) {
    if (path.empty()) return false;
    const std::string full = WithoutTrailingBackslash(files_.FullPath(path));
    if (full.size() < 3 || full[1] != ':') return false;
    const auto entries = files_.ListFolder(full);
    if (!entries) return false;

    std::vector<std::string> display;
    std::vector<std::string> paths;
    // The ancestors, root first, then the open folder itself.
    std::string walked = full.substr(0, 3);
    display.push_back(walked);
    paths.push_back(walked);
    int depth = 0;
    for (size_t i = 3; i < full.size();) {
        const size_t end = std::min(full.find('\\', i), full.size());
        const std::string part = full.substr(i, end - i);
        walked = text::JoinPath(walked, part);
        ++depth;
        display.push_back(std::string(static_cast<size_t>(depth) * 2, ' ') + part);
        paths.push_back(walked);
        i = end + 1;
    }
    const int openRow = static_cast<int>(paths.size()) - 1;
    // The subfolders of the open folder, by name.
    std::vector<std::string> subfolders;
    for (const auto& entry : *entries) {
        if (entry.IsDirectory() && !entry.Has(platform::kAttrHidden) && !entry.Has(platform::kAttrSystem)) {
            subfolders.push_back(entry.name);
        }
    }
    SortNames(subfolders);
    for (const std::string& name : subfolders) {
        display.push_back(std::string(static_cast<size_t>(depth + 1) * 2, ' ') + name);
        paths.push_back(text::JoinPath(full, name));
    }

    const bool changed = full != path_;
    path_ = full;
    entries_ = std::move(*entries);
    itemPaths_ = std::move(paths);
    ReplaceItems(std::move(display));
    openItems_ = openRow + 1;
    if (Peer()) Peer()->SetOpenItems(openItems_);
    SetListIndex(openRow);
    if (changed) Fire(onChange);
    return true;
}

void DirListBox::SyncPeer() {
    ListBox::SyncPeer();
    if (Peer()) Peer()->SetOpenItems(openItems_);
}

void DirListBox::OnDblClick() {
    if (ListIndex() < 0) return;
    SetPath(itemPaths_[static_cast<size_t>(ListIndex())]);
}

// ---- Timer

Timer::Timer(Form& form, std::string name, int intervalMs)
    : form_(form), name_(std::move(name)), interval_(intervalMs), id_(form.nextTimerId_++) {
    form_.Register(*this);
}

Timer::~Timer() {
    if (window_) window_->StopTimer(id_);
    form_.Unregister(*this);
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (!window_) return;
    if (enabled_ && interval_ > 0) {
        window_->StartTimer(id_, interval_);
    } else {
        window_->StopTimer(id_);
    }
}

void Timer::Attach(platform::WindowPeer& window) {
    window_ = &window;
    if (enabled_ && interval_ > 0) window_->StartTimer(id_, interval_);
}

void Timer::Detach() { window_ = nullptr; }

void Timer::Fire() {
    if (enabled_ && onTimer) form_.App().Dispatch(onTimer);
}

}  // namespace forms
