#include "platform/win32/WideText.h"

#include <climits>

#include "platform/win32/Win32.h"

namespace win32 {

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) return {};
    const int length = static_cast<int>(utf8.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring out(static_cast<size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, out.data(), needed);
    return out;
}

std::string Narrow(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX) return {};
    const int length = static_cast<int>(wide.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out.data(), needed, nullptr, nullptr);
    return out;
}

std::optional<std::string> ToAnsi(std::string_view utf8, AnsiLoss loss) {
    if (loss == AnsiLoss::kRefuse && utf8.find('\0') != std::string_view::npos) return std::nullopt;
    const std::wstring wide = Widen(utf8);
    if (wide.empty()) return std::string();
    const int length = static_cast<int>(wide.size());
    // A UTF-8 system code page holds every character and takes neither the flag, nor a
    // replacement, nor the check.
    const bool utf8System = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8System ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* replacement = utf8System || loss == AnsiLoss::kRefuse ? nullptr : "?";
    BOOL lossy = FALSE;
    BOOL* lossyCheck = utf8System || loss == AnsiLoss::kReplace ? nullptr : &lossy;
    const int needed = ::WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, replacement, lossyCheck);
    if (needed <= 0 || lossy) return loss == AnsiLoss::kRefuse ? std::nullopt : std::optional<std::string>("");
    std::string ansi(static_cast<size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, wide.data(), length, ansi.data(), needed, replacement, nullptr);
    return ansi;
}

std::string FromAnsi(std::string_view ansi) {
    if (ansi.empty() || ansi.size() > INT_MAX) return {};
    const int length = static_cast<int>(ansi.size());
    const int needed = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), needed);
    return Narrow(wide);
}

}  // namespace win32
