// Our profile reading and writing against the platform's own reader, GetPrivateProfileStringA,
// on a corpus of awkward files. Our side runs on the fakes holding the same bytes, so the two
// are compared byte for byte in the ANSI code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/Ports.h"
#include "platform/Text.h"
#include "platform/fake/FakeEnvironment.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeFolders.h"
#include "settings/SettingsFile.h"

namespace {

using namespace std::string_literals;

struct CorpusFile {
    const char* label;
    std::string bytes;
};

std::string Utf16(std::string_view latin1, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : latin1) {
        out += bigEndian ? '\0' : c;
        out += bigEndian ? c : '\0';
    }
    return out;
}

std::string Garbage(unsigned salt, std::size_t size) {
    std::mt19937 random(salt);
    std::string out(size, '\0');
    for (char& c : out) c = static_cast<char>(random() & 0xFF);
    out[0] = 'x';  // no byte-order mark by chance
    return out;
}

std::string Numbered(const char* section, int count, const std::string& filler = "") {
    std::string out = "["s + section + "]\r\n";
    for (int i = 0; i < count; ++i) out += "sFile" + std::to_string(i) + "=" + filler + "e" + std::to_string(i) + "\r\n";
    return out;
}

std::vector<CorpusFile> Corpus() {
    std::string high;  // every byte above 127
    for (int b = 128; b < 256; ++b) high += static_cast<char>(b);
    const std::string chars300 = std::string(150, 'a') + high.substr(0, 100) + std::string(50, 'z');
    const std::string a253(253, 'a'), a254(254, 'b'), a255(255, 'c');
    const std::string typical =
        "[User]\r\nsFile0=C:\\Data\\Old\r\n[System]\r\nUsed=No\r\n[Delete]\r\nUser=Yes\r\nTemp=No\r\n"
        "Temporary Internet Files=Yes\r\n[Internet]\r\nsFile0=Cookie:ann@example.com/\r\n"
        "sFile1=Cookie:ann@news.example/\r\n[sAppPath]\r\nShortCut=C:\\Program Files\\Morvane\\\r\n";
    return {
        {"typical", typical},
        {"lower-case names", "[delete]\r\nuser=yes\r\nTEMP=Yes\r\n[INTERNET]\r\nSFILE0=a\r\n"},
        {"duplicate sections", "[Delete]\r\nUser=Yes\r\n[Internet]\r\nsFile0=a\r\n[DELETE]\r\nTemp=Yes\r\nUser=No\r\n"},
        {"duplicate keys", "[Internet]\r\nsFile0=a\r\nsFile1=b\r\nsFile0=c\r\nSFILE1=d\r\n"},
        {"blanks", "  [ Delete ]  \r\n\t User \t=\t Yes \t\r\n\vTemp\f=\x1a No\x1a\r\n \r\n\t\r\n"},
        {"quotes", "[Internet]\r\nsFile0=\"a b\"\r\nsFile1='c'\r\nsFile2=\"mixed'\r\nsFile3=\"\r\n"
                   "[Delete]\r\nUser=\"\"\r\nTemp= \" x \" \r\n"},
        {"comments", "; comment\r\n[Delete]\r\n;User=Yes\r\nUser=No\r\n# Temp=Yes\r\n;[Internet]\r\n"
                     "[Internet]\r\n;sFile0=x\r\nsFile0=y\r\n"},
        {"empty values", "[Delete]\r\nUser=\r\nTemp= \r\n[Internet]\r\nsFile0=\r\nsFile1=b\r\n"},
        {"lines without =", "[Delete]\r\nUser\r\nUser=Yes\r\nTemp\r\n[Internet]\r\nsFile0=a\r\nsFile1\r\nsFile2=c\r\n"},
        {"= oddities", "[Delete]\r\n=Yes\r\nUser==Yes\r\nTemp=a=b\r\n[Internet]\r\nsFile0 = = \r\n"},
        {"CR only", "[Delete]\rUser=Yes\rTemp=No\r[Internet]\rsFile0=a\rsFile1=b\r"},
        {"LF only", "[Delete]\nUser=Yes\nTemp=No\n[Internet]\nsFile0=a\nsFile1=b\n"},
        {"mixed line ends", "[Delete]\r\nUser=Yes\nTemp=No\r[Internet]\n\r\n\rsFile0=a\r\r\nsFile1=b"},
        {"no final newline", "[Delete]\r\nUser=Yes"},
        {"300-character value", "[User]\r\nsFile0=" + chars300 + "\r\n[Delete]\r\nUser=Yes\r\n"},
        {"values around 254", "[Internet]\r\nsFile0=" + a253 + "\r\nsFile1=" + a254 + "\r\nsFile2=" + a255 + "\r\n"},
        {"quoted values around 254", "[Internet]\r\nsFile0=\"" + a253 + "\"\r\nsFile1=\"" + a254 + "\"\r\nsFile2='" + a255 +
                                         "'\r\nsFile3=\"" + chars300 + "\"\r\n"},
        {"70,000-character lines", "[Delete]\r\nUser=" + std::string(70000, 'u') + "\r\nTemp=Yes\r\n[" +
                                       std::string(70000, 's') + "]\r\nsFile0=x\r\n[Internet]\r\nsFile0=" +
                                       std::string(70000, 'i') + "\r\n"},
        {"bytes above 127", "[Delete]\r\nUser=\xE9t\xE9 " + high + "\r\n[Internet]\r\nsFile0=\xA0\r\nsFile1=\x85x\x85\r\n"},
        {"NUL bytes", "[Delete]\r\nUser=Ye\0s\r\nTe\0x=1\r\n[Inter\0net]\r\nsFile0=a\r\n[Internet]\r\nsFile0=b\r\n"s},
        {"keys before any section", "User=Yes\r\nsFile0=a\r\n[Delete]\r\nTemp=Yes\r\n[]\r\nUser=No\r\n"},
        {"empty file", ""},
        {"only blanks and breaks", " \r\n\t\r\n\r\n\x1a  "},
        {"header oddities", "[Delete\r\nUser=Yes\r\n[Delete]]\r\nTemp=Yes\r\n[Delete] trailing\r\nUser=No\r\n"
                            "[S]x]\r\nk=1\r\n[[S]]\r\nk=2\r\n[S]\r\nk=3\r\n"},
        {"Ctrl-Z", "[Delete]\r\nUser=Yes\x1a\r\n\x1a[Internet]\x1a\r\nsFile0=a\r\n\x1a"},
        {"binary garbage", Garbage(1, 4096)},
        {"garbage around sections", Garbage(2, 3000) + "\r\n[Delete]\r\nUser=Yes\r\n" + Garbage(3, 3000) +
                                        "\n[Internet]\nsFile0=a\n"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF[Delete]\r\nUser=Caf\xC3\xA9\r\n[Internet]\r\nsFile0=a\r\n"},
        {"UTF-16 byte-order mark", Utf16("[Delete]\r\nUser=Yes\r\nTemp=\xE9t\xE9\r\n[Internet]\r\nsFile0=a\r\n", false)},
        {"UTF-16 big-endian", Utf16("[Delete]\r\nUser=Yes\r\n[Internet]\r\nsFile0=a\r\nsFile1=b\r\n", true)},
        {"byte-order mark not at start", "[Delete]\r\n\xEF\xBB\xBFUser=Yes\r\nUser=No\r\n"},
        {"keep-list of 1005", Numbered("Internet", 1005)},
        {"keep-list with a gap", "[Internet]\r\nsFile0=a\r\nsFile1=b\r\nsFile2=c\r\nsFile4=e\r\n"
                                 "[Cookies]\r\nsFile0=0\r\nsFile1=x\r\n"},
        {"keep-list index spellings", "[Internet]\r\nsFile0=a\r\nSFILE1=b\r\nsFile01=c\r\nsFile2=\"0\"\r\nsFile3=d\r\n"},
        {"long keep-list entries", Numbered("Internet", 40, a254)},
        {"tab inside a name", "[Delete]\r\nTemporary\tInternet Files=Yes\r\nTemporary Internet Files = No\r\n"},
    };
}

const char* const kSections[] = {"User", "Delete", "delete", " Delete ", "Internet", "Cookies", "System",
                                 "sAppPath", "", "Missing", "S", "[S]", "S]x"};
const char* const kKeys[] = {"sFile0", "sFile1", "sFile2", "sFile3", "User", " user ", "Temp",
                             "Temporary Internet Files", "Used", "ShortCut", "k", ";User", "Te"};

// The bytes with everything outside printable ASCII escaped; long texts by their ends.
std::string Printable(const std::string& bytes) {
    const auto escape = [](std::string_view part) {
        std::string out;
        for (const char c : part) {
            const auto b = static_cast<unsigned char>(c);
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += (b >= 32 && b < 127) ? std::string(1, c) : hex;
        }
        return out;
    };
    if (bytes.size() <= 300) return "[" + escape(bytes) + "]";
    return "[" + escape(bytes.substr(0, 40)) + "..." + escape(bytes.substr(bytes.size() - 40)) + "] (" +
           std::to_string(bytes.size()) + " bytes)";
}

// A folder of our own under the Temp folder; the files made in it are deleted with it.
class ScratchFolder {
public:
    ScratchFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "MorvaneProfile-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        for (const std::string& file : files_) DeleteFileA(file.c_str());
        RemoveDirectoryA(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // A new file for every content: the platform keeps parsed files by name and time.
    std::string NewFile(const std::string& bytes) {
        files_.push_back(path_ + "\\p" + std::to_string(files_.size()) + ".ini");
        HANDLE file = CreateFileA(files_.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        CloseHandle(file);
        return files_.back();
    }

private:
    std::string path_;
    std::vector<std::string> files_;
};

class ProfileDifferential : public testing::Test {
protected:
    static constexpr const char* kOurIni = "C:\\Apps\\Clean.ini";
    ScratchFolder scratch;
    fake::FakeEnvironment env;
    fake::FakeFileSystem files;
    fake::FakeFolders folders{files};
    platform::Ports ports{&env, &folders, &files};

    void SetUp() override {
        ASSERT_EQ(GetACP(), 1252u) << "the corpus compares bytes of Windows-1252";
        env.programFolder = "C:\\Apps";
        files.AddFolder(env.programFolder);
    }

    // With a buffer larger than any value of the corpus: the program reads values whole, as
    // the platform's reader does when its buffer holds them (the design's buffer of 256
    // characters cut longer values, and a long folder read back named its parent).
    static std::string PlatformRead(const std::string& path, const char* section, const char* key) {
        static std::vector<char> buffer(1 << 17);
        const DWORD length =
            GetPrivateProfileStringA(section, key, "0", buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
        return std::string(buffer.data(), length);
    }

    static std::vector<std::string> PlatformKeepList(const std::string& path, const char* section) {
        std::vector<std::string> entries;
        for (int i = 0;; ++i) {
            const std::string entry = PlatformRead(path, section, ("sFile" + std::to_string(i)).c_str());
            if (entry.empty() || entry == "0") break;
            entries.push_back(entry);
        }
        return entries;
    }

    // Every section and key of the query lists as the platform reads them from the bytes.
    std::vector<std::string> PlatformAnswers(const std::string& bytes) {
        const std::string path = scratch.NewFile(bytes);
        std::vector<std::string> answers;
        for (const char* section : kSections) {
            for (const char* key : kKeys) answers.push_back(PlatformRead(path, section, key));
        }
        return answers;
    }

    void ExpectSameAnswers(const CorpusFile& file) {
        files.AddFile(kOurIni, file.bytes);
        const std::vector<std::string> platform = PlatformAnswers(file.bytes);
        std::size_t i = 0;
        for (const char* section : kSections) {
            for (const char* key : kKeys) {
                const std::string ours = env.ToAnsi(settings::ReadINI(ports, kOurIni, section, key));
                EXPECT_TRUE(ours == platform[i]) << file.label << ": [" << section << "] " << key << "\n  ours "
                                                 << Printable(ours) << "\n  platform " << Printable(platform[i]);
                ++i;
            }
        }
    }
};

TEST_F(ProfileDifferential, ReadsAgreeWithThePlatformReader) {
    for (const CorpusFile& file : Corpus()) ExpectSameAnswers(file);
}

TEST_F(ProfileDifferential, KeepListsAgreeWithKeyByKeyReading) {
    for (const CorpusFile& file : Corpus()) {
        files.AddFile(kOurIni, file.bytes);
        const std::string path = scratch.NewFile(file.bytes);
        for (const char* section : {"Internet", "Cookies"}) {
            std::vector<std::string> ours;
            for (const std::string& entry : settings::ReadKeepList(ports, section)) ours.push_back(env.ToAnsi(entry));
            EXPECT_EQ(ours, PlatformKeepList(path, section)) << file.label << ": " << section;
        }
    }
}

TEST_F(ProfileDifferential, ThePlatformReadsBackWhatWeWrite) {
    struct Write {
        const char* section;
        const char* key;
        std::string value;  // UTF-8
    };
    const Write writes[] = {
        {"Delete", "User", "Yes"},
        {"internet", "SFILE1", "Cookie:ann@example.com/"},
        {"New Section", "Key", "v a\r\nl"},
        {"User", "sFile0", "C:\\Caf\xC3\xA9 \xE2\x82\xAC"},
        {"Delete", "Temp", ""},
    };
    for (const CorpusFile& file : Corpus()) {
        const std::vector<std::string> before = PlatformAnswers(file.bytes);
        for (const Write& write : writes) {
            files.AddFile(kOurIni, file.bytes);
            settings::WriteINI(ports, kOurIni, write.section, write.key, write.value);
            std::string flattened = write.value;
            for (char& c : flattened) c = (c == '\r' || c == '\n') ? ' ' : c;

            const std::vector<std::string> after = PlatformAnswers(*files.Content(kOurIni));
            std::size_t i = 0;
            for (const char* section : kSections) {
                for (const char* key : kKeys) {
                    const bool written = text::EqualsNoCase(text::Trim(section), write.section) &&
                                         text::EqualsNoCase(text::Trim(key), write.key);
                    const std::string expected = written ? env.ToAnsi(flattened) : before[i];
                    EXPECT_TRUE(after[i] == expected)
                        << file.label << ": wrote [" << write.section << "] " << write.key << ", read [" << section
                        << "] " << key << "\n  platform " << Printable(after[i]) << "\n  expected " << Printable(expected);
                    ++i;
                }
            }
        }
    }
}

}  // namespace
