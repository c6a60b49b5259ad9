#pragma once
// The picture every screen shows down its left side: decoded the first time a screen shows it
// (decoding loads COM, which a start that shows no screen does without), then shared by all.
#include <memory>

#include "forms/Control.h"
#include "platform/Desktop.h"

namespace screens {

// The resource name of the picture.
inline constexpr const char* kSidePictureResource = "SIDEPICTURE";

class SidePicture {
public:
    explicit SidePicture(platform::Desktop& desktop) : desktop_(desktop) {}
    // Puts the picture into a screen's picture box.
    void Show(forms::PictureBox& box);

private:
    platform::Desktop& desktop_;
    std::shared_ptr<const platform::Image> picture_;
};

}  // namespace screens
