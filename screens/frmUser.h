#pragma once
// The folder picker: the one folder of the user's own that every clean run empties.
#include "screens/ScreenFrame.h"

namespace screens {

class frmUser : public Screen {
public:
    frmUser();

    void Form_Activate() override;
    void Form_Deactivate() override;

    forms::PictureBox Picture1{*this, "Picture1"};
    forms::Label Label3{*this, "Label3"};
    forms::Label Label1{*this, "Label1"};
    // In tab order.
    forms::DriveListBox Drive1{*this, "Drive1"};
    forms::DirListBox Dir1{*this, "Dir1"};
    forms::FileListBox File1{*this, "File1"};
    forms::Label Label2{*this, "Label2"};

protected:
    void LoadContent() override;

private:
    void sSave_Click();
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
