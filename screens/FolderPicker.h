#pragma once
// The folder picker: the one folder of the user's own that every clean run empties.
#include "screens/ScreenFrame.h"

namespace screens {

class FolderPicker : public Screen {
public:
    explicit FolderPicker(const ScreenServices& services);

    void Form_Activate() override;
    void Form_Deactivate() override;

    forms::PictureBox sidePicture{*this, "Picture1"};
    forms::Label instruction{*this, "Label3"};
    forms::Label foldersHeading{*this, "Label1"};
    // In tab order.
    forms::DriveListBox driveList{*this, "Drive1", *Ports().folders};
    forms::DirListBox folderList{*this, "Dir1", *Ports().fileSystem};
    forms::FileListBox fileList{*this, "File1", *Ports().fileSystem};
    forms::Label contentsHeading{*this, "Label2"};

protected:
    void LoadContent() override;

private:
    void Save_Click();
    // Puts the drive list on the drive of the open folder without opening anything.
    void ShowDriveOfDir();
    bool followingDir_ = false;
};

// The texts of the picker.
inline constexpr const char* kSelectFolderStatus = "Select a folder to be cleaned!";
inline constexpr const char* kSelectAnotherStatus = "Please select another folder !";
inline constexpr const char* kFolderSelectedStatus = "This is the folder you have selected!";
inline constexpr const char* kRefusedStatus = "Program will not clean this File!!";
inline constexpr const char* kWarningStatus = "Warning.....Warning !!!";
std::string PickerRefusalText(bool root);
// A folder whose name the settings file's code page cannot hold.
std::string UnstorableFolderText();
std::string PickerWarningText(const std::string& folder);

}  // namespace screens
