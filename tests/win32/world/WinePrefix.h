#pragma once
// Changes a test makes to its own Wine prefix and takes back when it goes: another drive letter
// for a folder of the test's (a link in the prefix's dosdevices, the way Wine users make one),
// and drive C: served as this machine's network shares \\localhost\c$ and \\127.0.0.1\c$.
// Outside Wine nothing is made.
#include <string>
#include <vector>

namespace testing_support {

class ExtraDrive {
public:
    // What a test does through the drive reaches the folder itself: only a folder the test
    // made may be changed through it; any other may only be looked at.
    explicit ExtraDrive(const std::string& folder);
    ~ExtraDrive();
    ExtraDrive(const ExtraDrive&) = delete;
    ExtraDrive& operator=(const ExtraDrive&) = delete;

    // "P:", or "" when none could be made.
    const std::string& Drive() const { return drive_; }

private:
    std::string drive_;
    std::string link_;
};

// One of the machine's shell folders ("Common Startup", protected folder 8) placed at a folder
// of the test's while the object lives, so that a test of the protected folders protects a
// folder of its own: were a refusal to fail, nothing of the machine would be lost.
class ShellFolderAt {
public:
    ShellFolderAt(const std::wstring& valueName, const std::string& folder);
    ~ShellFolderAt();
    ShellFolderAt(const ShellFolderAt&) = delete;
    ShellFolderAt& operator=(const ShellFolderAt&) = delete;

private:
    std::wstring valueName_;
    std::wstring previous_;
    bool hadValue_ = false;
    bool set_ = false;
};

class LocalShares {
public:
    LocalShares();
    ~LocalShares();
    LocalShares(const LocalShares&) = delete;
    LocalShares& operator=(const LocalShares&) = delete;

    // Whether \\localhost\c$ reaches drive C: now.
    bool Served() const;

private:
    std::vector<std::string> links_;
    std::vector<std::string> folders_;  // made here, outermost first
};

}  // namespace testing_support
