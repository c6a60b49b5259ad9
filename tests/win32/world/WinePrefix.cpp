#include "tests/win32/world/WinePrefix.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32.h"
#include "tests/win32/world/UnixLinks.h"

namespace testing_support {
namespace {

constexpr long kExists = -17;  // -EEXIST

// The prefix's dosdevices folder on the Linux side; "" outside Wine.
std::string DosDevices() {
    std::string drive = UnixNameOfPath("C:\\");  // ".../dosdevices/c:/"
    const std::size_t cut = drive.rfind("/c:");
    return cut == std::string::npos ? std::string() : drive.substr(0, cut);
}

bool Reaches(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

ExtraDrive::ExtraDrive(const std::string& folder) {
    const std::string devices = DosDevices();
    const std::string target = UnixNameOfPath(folder);
    if (devices.empty() || target.empty()) return;
    for (char letter = 'p'; letter < 'z' && drive_.empty(); ++letter) {
        const std::wstring root = {static_cast<wchar_t>(letter), L':', L'\\'};
        if (::GetDriveTypeW(root.c_str()) != DRIVE_NO_ROOT_DIR) continue;
        const std::string link = devices + "/" + letter + ":";
        if (LinuxSymlink(target, link) != 0) continue;
        link_ = link;
        // Wine looks at its drives again once a second.
        for (int wait = 0; wait < 60 && !Reaches(root); ++wait) ::Sleep(50);
        if (Reaches(root)) drive_ = {static_cast<char>(letter - 'a' + 'A'), ':'};
    }
}

ExtraDrive::~ExtraDrive() {
    if (!link_.empty()) LinuxUnlink(link_);
}

namespace {
constexpr const wchar_t* kShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
}  // namespace

ShellFolderAt::ShellFolderAt(const std::wstring& valueName, const std::string& folder) : valueName_(valueName) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kShellFolders, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return;
    }
    wchar_t previous[MAX_PATH] = {};
    DWORD size = sizeof(previous) - sizeof(wchar_t);
    hadValue_ = ::RegGetValueW(key, nullptr, valueName_.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                                   RRF_NOEXPAND, nullptr, previous, &size) == ERROR_SUCCESS;
    previous_ = previous;
    const std::wstring value = win32::Widen(folder);
    set_ = ::RegSetValueExW(key, valueName_.c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    ::RegCloseKey(key);
}

ShellFolderAt::~ShellFolderAt() {
    HKEY key = nullptr;
    if (!set_ || ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kShellFolders, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    if (hadValue_) {
        ::RegSetValueExW(key, valueName_.c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(previous_.c_str()),
                         static_cast<DWORD>((previous_.size() + 1) * sizeof(wchar_t)));
    } else {
        ::RegDeleteValueW(key, valueName_.c_str());
    }
    ::RegCloseKey(key);
}

LocalShares::LocalShares() {
    const std::string devices = DosDevices();
    if (devices.empty()) return;
    const auto folder = [&](const std::string& path) {
        const long made = LinuxMkdir(path);
        if (made == 0) folders_.push_back(path);
        return made == 0 || made == kExists;
    };
    if (!folder(devices + "/unc")) return;
    for (const char* server : {"localhost", "127.0.0.1"}) {
        const std::string share = devices + "/unc/" + server;
        if (!folder(share)) continue;
        if (LinuxSymlink("../../c:", share + "/c$") == 0) links_.push_back(share + "/c$");
    }
}

LocalShares::~LocalShares() {
    for (const std::string& link : links_) LinuxUnlink(link);
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) LinuxRmdir(*it);
}

bool LocalShares::Served() const { return Reaches(L"\\\\localhost\\c$\\"); }

}  // namespace testing_support
