#pragma once
// A JPEG with an EXIF segment as cameras write it: an APP1 segment right
// after the start of image, holding the orientation and a GPS position.

#include "core/text.h"

namespace galmora::testing {

struct ExifTags {
    int orientation = 0;  // 1 to 8; 0 writes no orientation tag
    bool gps = false;     // writes kGpsLatitude
};

// 31 deg 14 min 22.83 sec, as the GPS IFD holds it (three big-endian
// rationals): the bytes to look for in a file that must not carry it.
Bytes gps_latitude_bytes();

// The EXIF block itself: a TIFF structure, as a HEIF file's Exif item or a
// JPEG's APP1 segment holds it.
Bytes exif_tiff(const ExifTags& tags);

// jpeg with an APP1 "Exif" segment inserted after its SOI marker.
Bytes jpeg_with_exif(ByteView jpeg, const ExifTags& tags);

}  // namespace galmora::testing
