// BMP, TGA and JPEG files come from stb_image_write, an encoder independent of
// the reader; PNG is built here so that palettes and transparency chunks show.
#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <zlib.h>

#include <cstdlib>

#include "platform/image/image_codec.hpp"

namespace kbh {
namespace {

using Bytes = std::vector<uint8_t>;

enum class Writer { kBmp, kTga, kRleTga, kJpeg };

// pixels: width * height texels as 0xAARRGGBB; comp 3 drops the alpha.
Bytes Write(Writer writer, int width, int comp, const std::vector<uint32_t>& pixels) {
  Bytes rgba;
  for (uint32_t texel : pixels) {
    for (int shift : {16, 8, 0, 24}) {
      if (shift != 24 || comp == 4) rgba.push_back(static_cast<uint8_t>(texel >> shift));
    }
  }
  Bytes file;
  auto collect = [](void* context, void* data, int size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    static_cast<Bytes*>(context)->insert(static_cast<Bytes*>(context)->end(), bytes, bytes + size);
  };
  const int height = static_cast<int>(pixels.size()) / width;
  stbi_write_tga_with_rle = writer == Writer::kRleTga;
  switch (writer) {
    case Writer::kBmp:
      stbi_write_bmp_to_func(collect, &file, width, height, comp, rgba.data());
      break;
    case Writer::kTga:
    case Writer::kRleTga:
      stbi_write_tga_to_func(collect, &file, width, height, comp, rgba.data());
      break;
    case Writer::kJpeg:
      stbi_write_jpg_to_func(collect, &file, width, height, comp, rgba.data(), 100);
  }
  return file;
}

void AppendBe32(Bytes* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out->push_back(static_cast<uint8_t>(value >> shift));
}

void AppendChunk(Bytes* out, const char* type, const Bytes& data) {
  AppendBe32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out->size();
  out->insert(out->end(), type, type + 4);
  out->insert(out->end(), data.begin(), data.end());
  AppendBe32(out, static_cast<uint32_t>(crc32(0, out->data() + start, out->size() - start)));
}

// 8 bits a sample; pixels holds every row as stored, without filter bytes.
Bytes Png(uint32_t width, uint32_t height, uint8_t colourType, const Bytes& pixels,
          const Bytes& palette = {}, const Bytes& transparency = {}) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  AppendBe32(&header, width);
  AppendBe32(&header, height);
  header.insert(header.end(), {8, colourType, 0, 0, 0});
  AppendChunk(&out, "IHDR", header);
  if (!palette.empty()) AppendChunk(&out, "PLTE", palette);
  if (!transparency.empty()) AppendChunk(&out, "tRNS", transparency);
  Bytes raw;
  const size_t rowBytes = pixels.size() / height;
  for (size_t row = 0; row < height; ++row) {
    raw.push_back(0);  // filter: none
    raw.insert(raw.end(), pixels.begin() + row * rowBytes, pixels.begin() + (row + 1) * rowBytes);
  }
  uLongf size = compressBound(raw.size());
  Bytes deflated(size);
  compress(deflated.data(), &size, raw.data(), raw.size());
  deflated.resize(size);
  AppendChunk(&out, "IDAT", deflated);
  AppendChunk(&out, "IEND", {});
  return out;
}

// 3 x 2: a width that needs BMP row padding.
const std::vector<uint32_t> kSix = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                    0xFF102030, 0xFFFFFFFF, 0xFF000000};

void ExpectPicture(const Bytes& file, Format format, int width,
                   const std::vector<uint32_t>& texels) {
  Image image;
  ASSERT_TRUE(DecodeImage(file, &image));
  EXPECT_EQ(image.sourceFormat, format);
  EXPECT_EQ(image.width, width);
  EXPECT_EQ(image.height, static_cast<int>(texels.size()) / width);
  EXPECT_EQ(image.texels, texels);
}

TEST(Bmp, RowsEitherWayAndAlphaOnlyWhenTheHeaderNamesAMask) {
  Bytes file = Write(Writer::kBmp, 3, 3, kSix);
  ExpectPicture(file, FMT_R8G8B8, 3, kSix);
  file[25] = file[24] = file[23] = 0xFF;  // height -2: the same rows read top first
  file[22] = 0xFE;
  ExpectPicture(file, FMT_R8G8B8, 3, {kSix[3], kSix[4], kSix[5], kSix[0], kSix[1], kSix[2]});

  std::vector<uint32_t> translucent = kSix;
  translucent[0] = 0x40FF0000;
  file = Write(Writer::kBmp, 3, 4, translucent);
  ExpectPicture(file, FMT_A8R8G8B8, 3, translucent);
  std::fill_n(file.begin() + 14 + 52, 4, 0);  // no alpha mask: the fourth byte is padding
  ExpectPicture(file, FMT_X8R8G8B8, 3, kSix);
}

TEST(Tga, BottomUpRunLengthEncodedAndAlphaWhenTheDescriptorCountsAlphaBits) {
  ExpectPicture(Write(Writer::kTga, 3, 3, kSix), FMT_R8G8B8, 3, kSix);
  const std::vector<uint32_t> runs = {0x40FF0000, 0x40FF0000, 0x40FF0000, 0, 1, 2};
  Bytes file = Write(Writer::kRleTga, 6, 4, runs);
  ExpectPicture(file, FMT_A8R8G8B8, 6, runs);
  file[17] &= 0xF0;
  ExpectPicture(file, FMT_X8R8G8B8, 6,
                {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFF000000, 0xFF000001, 0xFF000002});
}

TEST(Png, ColourTypeAndTransparencyDecideTheFormat) {
  ExpectPicture(Png(2, 1, 2, {0xFF, 0, 0, 0x10, 0x20, 0x30}), FMT_R8G8B8, 2,
                {0xFFFF0000, 0xFF102030});
  ExpectPicture(Png(2, 1, 6, {0xFF, 0, 0, 0x80, 1, 2, 3, 4}), FMT_A8R8G8B8, 2,
                {0x80FF0000, 0x04010203});
  const Bytes palette = {0xFF, 0, 0, 0, 0, 0xFF};
  ExpectPicture(Png(2, 1, 3, {1, 0}, palette), FMT_P8, 2, {0xFF0000FF, 0xFFFF0000});
  // Entry 0 fully transparent.
  ExpectPicture(Png(2, 1, 3, {1, 0}, palette, {0x00}), FMT_A8R8G8B8, 2, {0xFF0000FF, 0x00FF0000});
}

// stb_image would fill missing pixels of these with zeros, grey or nothing.
TEST(PictureHostile, EveryTruncationIsRefused) {
  std::vector<uint32_t> pattern(40 * 8, 0xFF204060);
  for (size_t i = 0; i < pattern.size(); i += 3)
    pattern[i] = static_cast<uint32_t>(i * 0x10203);
  const Bytes files[] = {
      Write(Writer::kBmp, 40, 3, pattern),    Write(Writer::kTga, 40, 4, pattern),
      Write(Writer::kRleTga, 40, 3, pattern), Write(Writer::kJpeg, 40, 3, pattern),
      Png(40, 8, 2, Bytes(40 * 8 * 3, 0x55)),
  };
  Image image;
  for (const Bytes& file : files) {
    ASSERT_TRUE(DecodeImage(file, &image));
    const size_t complete = file[0] == 0x89 ? file.size() - 12 : file.size();  // 12: PNG's end
    for (size_t length = 0; length < complete; ++length) {
      ASSERT_FALSE(DecodeImage(std::span(file.data(), length), &image)) << length;
    }
  }
}

// Offset of the first segment with the marker, counted from its 0xFF; the
// walk stops at the start of scan, before any entropy-coded data.
size_t FindJpegSegment(const Bytes& file, uint8_t marker) {
  size_t at = 2;
  while (at + 4 <= file.size() && file[at] == 0xFF) {
    if (file[at + 1] == marker) return at;
    if (file[at + 1] == 0xDA) break;
    at += 2 + (size_t{file[at + 2]} << 8 | file[at + 3]);
  }
  ADD_FAILURE() << "no segment 0xFF" << std::hex << int{marker};
  return 0;
}

// A Huffman segment for AC slot 3 with the given code counts by length.
Bytes HuffmanSegment(const std::vector<int>& countsByLength) {
  Bytes payload = {0x13};
  int values = 0;
  for (int length = 1; length <= 16; ++length) {
    const int count =
        length <= static_cast<int>(countsByLength.size()) ? countsByLength[length - 1] : 0;
    payload.push_back(static_cast<uint8_t>(count));
    values += count;
  }
  for (int v = 0; v < values; ++v)
    payload.push_back(static_cast<uint8_t>(v));
  const size_t length = payload.size() + 2;
  Bytes segment = {0xFF, 0xC4, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
  segment.insert(segment.end(), payload.begin(), payload.end());
  return segment;
}

TEST(PictureHostile, JpegHuffmanTablesMustBeSoundAndDefinedBeforeUse) {
  // Tables the decoder would build past their arrays, or scans decoding with
  // tables no segment defined, are refused before decoding; a sound extra
  // table changes nothing.
  const Bytes original = Write(Writer::kJpeg, 16, 3, std::vector<uint32_t>(16 * 8, 0xFF336699));
  Image image;
  ASSERT_TRUE(DecodeImage(original, &image));
  const size_t huffman = FindJpegSegment(original, 0xC4);
  const size_t scan = FindJpegSegment(original, 0xDA);
  ASSERT_EQ(original[huffman + 4], 0x00) << "the first table is DC slot 0";

  const auto withSegmentBeforeHuffman = [&](const Bytes& segment) {
    Bytes file = original;
    file.insert(file.begin() + static_cast<std::ptrdiff_t>(huffman), segment.begin(),
                segment.end());
    return file;
  };
  EXPECT_TRUE(DecodeImage(withSegmentBeforeHuffman(HuffmanSegment({0, 2, 1})), &image));
  // 257 codes: 2 of length 15 and 255 of length 16 fit the lengths, not the table.
  std::vector<int> tooMany(16, 0);
  tooMany[14] = 2;
  tooMany[15] = 255;
  EXPECT_FALSE(DecodeImage(withSegmentBeforeHuffman(HuffmanSegment(tooMany)), &image));
  // Three codes of one bit: the same 12 values as the writer's first table.
  Bytes overfull = original;
  const uint8_t counts[16] = {3, 0, 3, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
  std::copy(counts, counts + 16, overfull.begin() + static_cast<std::ptrdiff_t>(huffman + 5));
  EXPECT_FALSE(DecodeImage(overfull, &image));
  // The first component's scan selector names AC slot 3, which no segment defines.
  Bytes undefined = original;
  ASSERT_EQ(undefined[scan + 6], 0x00);
  undefined[scan + 6] = 0x03;
  EXPECT_FALSE(DecodeImage(undefined, &image));
}

TEST(PictureHostile, SizesTheBytesCannotHoldAndForeignFormatsAreRefused) {
  Image image;
  EXPECT_FALSE(DecodeImage(
      Write(Writer::kBmp, kMaxImageSide + 1, 3, std::vector<uint32_t>(kMaxImageSide + 1)), &image));
  Bytes png = Png(1, 1, 2, Bytes(3));
  png[18] = png[22] = 0x1F;  // 8000 x 8000 from a few bytes of data
  png[19] = png[23] = 0x40;
  EXPECT_FALSE(DecodeImage(png, &image));
  // A pixel chunk claiming a gigabyte, of which the file holds a few bytes.
  png = Png(1, 1, 2, Bytes(3));
  const size_t idat = 8 + 25;  // signature, then IHDR's 25 bytes
  ASSERT_EQ(std::string(png.begin() + idat + 4, png.begin() + idat + 8), "IDAT");
  png[idat] = 0x40;
  EXPECT_FALSE(DecodeImage(png, &image));
  Bytes tga = Write(Writer::kTga, 1, 3, {0});
  tga[13] = tga[15] = 0x1F;  // 8000 x 8000
  tga[12] = tga[14] = 0x40;
  EXPECT_FALSE(DecodeImage(tga, &image));
  tga = Write(Writer::kTga, 1, 3, {0});
  tga[2] = 4;  // no such image type
  EXPECT_FALSE(DecodeImage(tga, &image));
  // A complete 1 x 1 GIF: stb_image could read it, but it is no format of ours.
  const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0,  0,
                     0,   ',', 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 'D',  1,    0,    ';'};
  EXPECT_FALSE(DecodeImage(gif, &image));
  EXPECT_FALSE(DecodeImage({}, &image));
  EXPECT_TRUE(image.texels.empty());
  std::srand(11);
  for (int round = 0; round < 500; ++round) {
    Bytes noise(1 + std::rand() % 300);
    for (uint8_t& byte : noise)
      byte = std::rand() & 0xFF;
    DecodeImage(noise, &image);  // anything but a crash or a huge allocation
  }
}

}  // namespace
}  // namespace kbh
