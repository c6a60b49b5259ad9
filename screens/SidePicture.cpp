#include "screens/SidePicture.h"

#include <memory>

#include "forms/Application.h"

namespace screens {

void ShowSidePicture(forms::PictureBox& box) {
    static std::shared_ptr<const platform::Image> picture;
    if (!picture) {
        if (auto loaded = forms::App().Desktop().LoadPicture(kSidePictureResource)) {
            picture = std::make_shared<const platform::Image>(std::move(*loaded));
        }
    }
    if (picture) box.SetPicture(picture);
}

}  // namespace screens
