#include "screens/SidePicture.h"

namespace screens {

void SidePicture::Show(forms::PictureBox& box) {
    if (!picture_) {
        if (auto loaded = desktop_.LoadPicture(kSidePictureResource)) {
            picture_ = std::make_shared<const platform::Image>(std::move(*loaded));
        }
    }
    if (picture_) box.SetPicture(picture_);
}

}  // namespace screens
