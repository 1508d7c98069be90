#pragma once
// The one fixture tree of pictures with hostile names, built at test time in
// a temporary folder by the tests that scan, compose and delete.
//
// make_hostile_tree(folder) creates folder (when missing) and in it exactly:
//
//   .dot folder/               hidden folder (attributes 0x12)
//       hidden1.jpg
//       hidden2.png
//   .hidden.jpg                hidden file (0x22), a picture by its name
//   100%.gif
//   <img src=x onerror=alert(1)>/   markup as a folder name
//       img.gif
//   a.jpg                      a real 1x1 JPEG
//   a<b/
//       a<b.jpg
//   b.PNG                      a real 1x1 PNG
//   back\slash.jpg             "\" is an ordinary name byte
//   c.Gif                      a real 1x1 GIF
//   d.jPg                      no picture: mixed case
//   e.txt                      no picture
//   empty/                     empty folder
//   folder #?%"\ name/
//       deep.BMP
//       nested/
//           deeper/
//               癨 deep.jpeg
//           n.webp
//       not.JPg                no picture
//   hash#1.jpg
//   line<LF>break.jpg          a line feed in the name
//   link to dot -> .dot folder     symbolic link to a hidden sibling folder
//   link to 风景 -> 风景             symbolic link to a sibling folder
//   notes.md                   no picture
//   photojpg                   a picture: no dot needed before the suffix
//   quote".jpg
//   README                     no picture
//   tab<TAB>here.jpg           a tab in the name
//   what?.png
//   x&copy/                    "&copy" would read as a character reference
//       inner&copy.png
//   x&copy.jpg
//   x.jpeg                     counted once
//   y&amp;z.jpg
//   只读.jpg                    read-only file (0x21)
//   癨.png                      GB18030 B0 5C: its trail byte is "\"
//   风景/
//       loop -> ..             symbolic link loop to the tree's root
//       山 1.jpg
//       水.Webp
//       湖.JPEG
//   风景.jpg
//   😀 smile.gif
//
// Files ending in jpg/jpeg, png and gif (any letter case) hold real 1x1
// pictures of that type; every other file holds a few bytes of text. Links
// are relative, so the tree may be moved. Names are listed here in the
// listing order of DirectoryScan ("." and ".." aside).
//
// A depth-first picture scan that descends only into folders whose
// attributes are exactly 0x10 and never follows a symbolic link to a folder
// finds kHostilePictureCount pictures, in the order of hostile_pictures().
// A scan that does follow links but enters each folder (device and inode)
// at most once finds kHostilePictureCountFollowingLinks: "link to dot" adds
// the two pictures of ".dot folder"; "link to 风景" comes before "风景" in the
// listing, so those three pictures are met through the link and the folder
// itself is then skipped; "风景/loop" leads back to the root and is skipped.
//
// remove_tree on the root fails on purpose: it keeps the dot entries
// (".dot folder", ".hidden.jpg") and so the root itself.

#include <string>
#include <vector>

namespace galmora::testing {

inline constexpr int kHostilePictureCount = 28;
inline constexpr int kHostilePictureCountFollowingLinks = 30;

// Names for the galleries built from the tree: a main gallery and a
// sub-gallery whose names are markup and character references.
inline constexpr const char* kHostileMainGallery = "<b>x<b>&amp;y";
inline constexpr const char* kHostileSubGallery = "<i>s<i>";

// Builds the tree; any failure is reported as a test failure.
void make_hostile_tree(const std::string& folder_utf8);

// The pictures a scan that never follows links finds, in order, as UTF-8
// paths relative to the root joined with "/".
std::vector<std::string> hostile_pictures();

}  // namespace galmora::testing
