#pragma once
// Proportional layout: one fixed enlargement per band of screen width, applied to a form and
// to its controls by the fragments of their names, then the form is centred.
#include "forms/Form.h"

namespace ui {

struct LayoutBand {
    bool scaled = false;  // false: the form is only centred
    double size = 1;      // heights, widths, lefts and tops
    double fontIncrease = 0;  // points added to every font
    double pictureHeight = 1; // heights of picture boxes
};

// The band for a screen width in pixels. The bands are 630 < w < 790 (no scaling),
// 790 < w < 1020 (1.3) and w > 1020 (1.6); a width of 630 or less takes the first band, exactly
// 790 the second and exactly 1020 the third, the band of the display size it stands next to.
LayoutBand BandForWidth(double widthPixels);

// Scales the form and its controls for the screen and centres the form.
void ResizeControls(forms::Form& form);

}  // namespace ui
