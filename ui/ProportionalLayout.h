#pragma once
// Proportional layout: one fixed enlargement per band of screen width, applied to a form and
// to its controls by the fragments of their names; then every list gets the rows it keeps in
// view, and the form is centred where it fits.
#include "forms/Form.h"

namespace ui {

// The designs' twips per pixel: they were drawn at 96 dots an inch.
inline constexpr double kDesignTwipsPerPixel = 15;
// The bottom of the screen the backdrop keeps for its status and progress lines.
inline constexpr double kStatusBandTwips = 1800;

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

// Scales the form and its controls for the screen, by the band of the screen's width at the
// designs' 96 dots an inch (a display of more dots an inch has larger twips already, and is not
// enlarged twice); gives each list the height its rows need (MinimumRows), the room inserted at
// the list's bottom edge: what lies below moves down, what reaches across that edge grows, and
// so does the form; then makes the form smaller, fonts with it, where it would not fit between
// the screen's top and the backdrop's status band, and centres it there.
void ResizeControls(forms::Form& form);

}  // namespace ui
