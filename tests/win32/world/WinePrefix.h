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
    // folder: a Windows path inside a folder the test made.
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
