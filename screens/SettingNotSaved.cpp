#include "screens/SettingNotSaved.h"

#include "engine/Reasons.h"

namespace screens {
namespace {

std::string Advice(platform::FsError why) {
    switch (why) {
        case platform::FsError::kAccessDenied:
            return "The file is read-only, or its folder may not be written to (a folder under Program Files is "
                   "one). Put the program in a folder of your own, such as one in your Documents, so that its "
                   "settings can be saved.";
        case platform::FsError::kInUse:
            return "Another program holds it open. Close that program and try again.";
        case platform::FsError::kNotFound:
            return "Its folder is not there any more.";
        default:
            return "";
    }
}

}  // namespace

std::string SettingNotSavedText(const std::string& file, platform::FsError why) {
    const std::string first = "Your setting could not be saved !\r\r";
    // No code: the file is there but could not be read, and is never replaced unread.
    if (why == platform::FsError::kOther && why.Code() == 0) {
        return first + file + " could not be read, so it was left as it is.";
    }
    const std::string text = first + file + " could not be written: " + engine::ReasonWithCode(why) + ".";
    const std::string advice = Advice(why);
    return advice.empty() ? text : text + "\r\r" + advice;
}

bool TellIfNotSaved(forms::Application& app, const std::string& file, platform::FsError why) {
    if (why == platform::FsError::kNone) return false;
    app.MsgBox(SettingNotSavedText(file, why), 48, "Kavlon Info.....");
    return true;
}

}  // namespace screens
