#pragma once
// What an end-to-end test of Morvane.exe stands on: a folder of the test's own (everything it
// makes lies inside and goes with it, links first, as links), a copy of Morvane.exe in it,
// URL-cache entries made the way a browser makes them, and the program run as a task scheduler
// runs it. Paths are UTF-8 text; every file call goes through the long-path form.
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32.h"

namespace e2e {

class E2eWorld {
public:
    E2eWorld();
    ~E2eWorld();
    E2eWorld(const E2eWorld&) = delete;
    E2eWorld& operator=(const E2eWorld&) = delete;

    // The test's own folder: absolute, no trailing "\".
    const std::string& Root() const { return root_; }
    // A lower-case word no other world uses, for names that must be this test's own.
    const std::string& Marker() const { return marker_; }
    std::string Path(const std::string& relative) const { return root_ + "\\" + relative; }

    // --- Files (paths absolute, inside Root) ---
    void MakeFolder(const std::string& path);  // with the folders above it
    void MakeFile(const std::string& path, const std::string& content, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
    // levels folders "d" inside one another below folder, each with a file "f.tmp"; returns the
    // deepest folder. One call per folder and file, so that depth costs what it must.
    std::string MakeDeepTree(const std::string& folder, int levels);
    std::optional<std::string> ReadBytes(const std::string& path);
    bool Exists(const std::string& path);
    // A Linux link at link to the folder target, both inside Root; false where none can be made.
    bool MakeFolderLink(const std::string& link, const std::string& target);
    // A Linux link at link to the file target, both inside Root: under Wine it looks like the
    // file itself. false where none can be made.
    bool MakeFileLink(const std::string& link, const std::string& target);
    // What another program racing the test does: the folder at path moves to a name beside it
    // (inside Root too) and a Linux link to target (inside Root) takes its place.
    bool SwapFolderForLink(const std::string& path, const std::string& movedTo, const std::string& target);
    // Opens the file for writing with no sharing, as a program that keeps it to itself does.
    win32::KernelHandle HoldOpen(const std::string& path);
    // Everything below the folder, without following links, as sorted relative paths: a folder
    // ends in "\", a link in " (link)".
    std::vector<std::string> Tree(const std::string& folder);
    // The files below the folder in the order a walk that lists each folder and enters its
    // subfolders as it meets them deletes them.
    std::vector<std::string> FilesInWalkOrder(const std::string& folder);
    // The files below the folder with their content.
    std::map<std::string, std::string> Contents(const std::string& folder);

    // --- The URL cache (names as the platform's ANSI text holds them) ---
    // Every entry under no pattern, "cookie:" and "Cookie:" (the containers differ between
    // Windows and Wine).
    std::set<std::string> CacheNames();
    // A content entry with a small file, committed through the wide calls as a browser does;
    // returns the name the cache holds it under.
    std::string CommitCacheEntry(const std::wstring& url);
    // A persistent cookie for http://host/; returns the name of the entry that holds it.
    std::string SetCookie(const std::wstring& host);
    // count content entries of this world's own; their names, in the order a clean that lists
    // the cache first deletes them.
    std::vector<std::string> CommitCacheEntries(int count);
    bool CacheEntryExists(const std::string& name);

    // --- The program ---
    // Morvane.exe copied from beside this test program into folder.
    bool InstallMorvane(const std::string& folder);

private:
    bool MakeLink(const std::string& link, const std::string& target);

    std::string marker_;
    std::string root_;
    std::vector<std::string> unixLinks_;
    std::set<std::string> cacheEntries_;
};

// Morvane.exe started as a scheduler starts it, with the environment variable Temp set to a
// folder of the test. The process never outlives the object.
class MorvaneRun {
public:
    // Suspended, it waits for Resume, so that runs can start at once. With an output (an
    // inheritable handle), it is started with that as its standard output; INVALID_HANDLE_VALUE
    // starts it with none (Wine would hand it this program's).
    MorvaneRun(const std::string& exe, const std::string& arguments, const std::string& temp, bool suspended = false,
               HANDLE output = nullptr);
    ~MorvaneRun();
    MorvaneRun(const MorvaneRun&) = delete;
    MorvaneRun& operator=(const MorvaneRun&) = delete;

    bool Started() const { return process_.IsValid(); }
    void Resume() { ::ResumeThread(thread_.Get()); }
    DWORD Id() const { return id_; }
    // true when the process has ended within the time.
    bool WaitForEnd(int milliseconds);
    std::optional<DWORD> ExitCode();
    void Terminate();

    // A visible top-level window of the process with this caption (and class, unless null),
    // waited for.
    HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, int milliseconds);
    // "class: caption" of each visible top-level window of the process.
    std::vector<std::string> VisibleWindows();
    // Asks every visible top-level window of the process to close, as the user would.
    void CloseWindows();
    // The text of the message box with this caption, once it shows, after pressing its OK;
    // nullopt when none showed within the time.
    std::optional<std::string> AnswerMessageBox(const wchar_t* caption, int milliseconds);

private:
    win32::KernelHandle process_;
    win32::KernelHandle thread_;
    DWORD id_ = 0;
};

std::string TextOf(HWND window);

// How many of the items, in the order they are deleted, are gone: the first that is still there
// (a deletion in that order leaves a gone part and a whole part), by halving.
std::size_t GoneSoFar(const std::vector<std::string>& order, const std::function<bool(const std::string&)>& exists);

}  // namespace e2e
