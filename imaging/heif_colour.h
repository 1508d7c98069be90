#pragma once
// The colour space of a HEIF or AVIF picture, from the profile its file
// gives the primary image: an ICC profile, or else the code points of an
// nclx profile (ITU-T H.273); a picture with neither is sRGB.

#include <libheif/heif.h>

#include <QColorSpace>

namespace galmora::imaging {

QColorSpace heif_colour_space(const heif_image_handle* handle);

// Primaries from the table of H.273 (Display P3 is 12, BT.2020 9); the
// transfer as sRGB's curve unless it is linear, a pure gamma, or PQ or HLG.
// Qt has no PQ or HLG curve: a table stands for them, mapping each code to
// the light an ordinary display shows, the reference white (203 cd/m² for
// PQ, the 75 % code for HLG) at full white and brighter light rolled off
// softly below it.
QColorSpace nclx_colour_space(const heif_color_profile_nclx& nclx);

}  // namespace galmora::imaging
