// The layout of the catalogue file "firstData.khb", shared by the loader and
// the tool that writes such files. All numbers are little-endian.
//
//   header (8 bytes, type 1)  + 1 byte, not interpreted
//   header (8 bytes, type 2)  + the tree: marker-led records, ended by 0xA7
//   header (8 bytes, type 3)  + part records up to the end of the file
//
// A header's first byte is its type, the other seven are not interpreted. A
// header of an unexpected type has no body; the next header follows it.
//
// Tree records: '#' category number, CategoryKind, name line
//               '$' name line   (a subcategory of the current category)
//               '+' name line   (an item of the current subcategory, or of the
//                                category itself before its first '$')
// Part record:  target ItemId (4), lines text1, text2, text5, text3, block
//               length L (4), L bytes of text4, action count N (2), N actions.
// Action:       type (1), 3 bytes not interpreted, target ItemId (4), then 16
//               bytes for a position (x, y, z floats + 4 spare bytes) or 8 for
//               a paint (colour 4, finish 1, 3 spare), nothing for others.
//
// A line is the bytes up to and including the first line feed, but at most
// limit - 1 of them; the stored text is the line up to its first NUL.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kbh {

inline constexpr size_t kSectionHeaderSize = 8;
inline constexpr uint8_t kSectionInfo = 1;
inline constexpr uint8_t kSectionTree = 2;
inline constexpr uint8_t kSectionRecords = 3;
inline constexpr size_t kInfoBodySize = 1;

inline constexpr uint8_t kMarkerCategory = '#';
inline constexpr uint8_t kMarkerSubcategory = '$';
inline constexpr uint8_t kMarkerItem = '+';
inline constexpr uint8_t kMarkerTreeEnd = 0xA7;
inline constexpr uint8_t kMarkerTreeEndAlternative = 0xFF;

// Line limits count the stored text's terminating NUL: a line yields at most
// limit - 1 bytes.
inline constexpr size_t kNameLineLimit = 200;
inline constexpr size_t kText1LineLimit = 500;
inline constexpr size_t kText2LineLimit = 500;
inline constexpr size_t kText5LineLimit = 50;
inline constexpr size_t kText3LineLimit = 200;
// The description block: at most this many bytes including its NUL.
inline constexpr size_t kText4BlockLimit = 1000;

inline constexpr size_t kActionHeaderSize = 8;
inline constexpr size_t kPositionPayloadSize = 16;
inline constexpr size_t kPaintPayloadSize = 8;

}  // namespace kbh
