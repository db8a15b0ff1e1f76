#include "platform/mesh/mszip.hpp"

// next_in is const with this; the decompressor never writes to its input.
#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <limits>

namespace kbh {
namespace {

constexpr size_t kHeaderBytes = 16;
constexpr size_t kBlockHeaderBytes = 6;  // two sizes and "CK"
// Deflate cannot expand data by more than this factor, so no honest file
// needs a larger buffer than this many times its compressed bytes.
constexpr size_t kMaxDeflateRatio = 1032;

uint32_t ReadU16(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8;
}

uint32_t ReadU32(const uint8_t* p) {
  return ReadU16(p) | ReadU16(p + 2) << 16;
}

void AppendU16(std::vector<uint8_t>* out, uint32_t value) {
  out->push_back(static_cast<uint8_t>(value));
  out->push_back(static_cast<uint8_t>(value >> 8));
}

void AppendU32(std::vector<uint8_t>* out, uint32_t value) {
  AppendU16(out, value & 0xFFFF);
  AppendU16(out, value >> 16);
}

void SetError(std::string* error, std::string text) {
  if (error) *error = std::move(text);
}

// Owns one zlib stream; the end function differs between the two directions.
struct InflateStream {
  z_stream z{};
  bool ready = false;
  InflateStream() { ready = inflateInit2(&z, -MAX_WBITS) == Z_OK; }
  ~InflateStream() {
    if (ready) inflateEnd(&z);
  }
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;
};

struct DeflateStream {
  z_stream z{};
  bool ready = false;
  DeflateStream() {
    ready =
        deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
  }
  ~DeflateStream() {
    if (ready) deflateEnd(&z);
  }
  DeflateStream(const DeflateStream&) = delete;
  DeflateStream& operator=(const DeflateStream&) = delete;
};

bool InflateBlocks(std::span<const uint8_t> afterHeader, size_t maxBodyBytes,
                   std::vector<uint8_t>* body, std::string* error) {
  if (afterHeader.size() < 4) {
    SetError(error, "compressed file ends before its size field");
    return false;
  }
  const uint32_t total = ReadU32(afterHeader.data());
  if (total < kHeaderBytes) {
    SetError(error, "compressed size field is smaller than the header");
    return false;
  }
  const size_t bodySize = total - kHeaderBytes;
  if (bodySize > maxBodyBytes) {
    SetError(error, "declared uncompressed size of " + std::to_string(bodySize) +
                        " bytes exceeds the limit of " + std::to_string(maxBodyBytes));
    return false;
  }
  const uint8_t* p = afterHeader.data() + 4;
  const uint8_t* const end = afterHeader.data() + afterHeader.size();
  const size_t compressedBytes = static_cast<size_t>(end - p);
  if (bodySize / kMaxDeflateRatio > compressedBytes) {
    SetError(error, "declared uncompressed size is more than the blocks can hold");
    return false;
  }
  body->reserve(bodySize);

  InflateStream stream;
  if (!stream.ready) {
    SetError(error, "cannot start the decompressor");
    return false;
  }
  for (int block = 1; body->size() < bodySize; ++block) {
    const std::string where = "compressed block " + std::to_string(block);
    if (static_cast<size_t>(end - p) < kBlockHeaderBytes) {
      SetError(error, where + " is missing: the file is truncated");
      return false;
    }
    const size_t rawSize = ReadU16(p);
    const size_t packedSize = ReadU16(p + 2);
    if (rawSize == 0 || rawSize > kMsZipBlockSize || rawSize > bodySize - body->size()) {
      SetError(error, where + " declares an impossible size");
      return false;
    }
    if (packedSize < 2 || p[4] != 'C' || p[5] != 'K') {
      SetError(error, where + " lacks its CK mark");
      return false;
    }
    p += kBlockHeaderBytes;
    const size_t deflateBytes = packedSize - 2;
    if (static_cast<size_t>(end - p) < deflateBytes) {
      SetError(error, where + " is truncated");
      return false;
    }

    if (inflateReset(&stream.z) != Z_OK) {
      SetError(error, "cannot reset the decompressor");
      return false;
    }
    const size_t start = body->size();
    if (start > 0) {
      const size_t history = std::min(start, kMsZipBlockSize);
      if (inflateSetDictionary(&stream.z, body->data() + start - history,
                               static_cast<uInt>(history)) != Z_OK) {
        SetError(error, "cannot pass the previous block to the decompressor");
        return false;
      }
    }
    body->resize(start + rawSize);
    stream.z.next_in = p;
    stream.z.avail_in = static_cast<uInt>(deflateBytes);
    stream.z.next_out = body->data() + start;
    stream.z.avail_out = static_cast<uInt>(rawSize);
    const int result = inflate(&stream.z, Z_FINISH);
    if (result != Z_STREAM_END || stream.z.avail_out != 0) {
      SetError(error, where + " is corrupt");
      return false;
    }
    p += deflateBytes;
  }
  return true;
}

}  // namespace

bool InflateMsZip(std::span<const uint8_t> afterHeader, size_t maxBodyBytes,
                  std::vector<uint8_t>* body, std::string* error) {
  body->clear();
  if (InflateBlocks(afterHeader, maxBodyBytes, body, error)) return true;
  body->clear();
  return false;
}

bool DeflateMsZip(std::span<const uint8_t> body, std::vector<uint8_t>* out, MsZipHistory history) {
  if (body.size() > std::numeric_limits<uint32_t>::max() - kHeaderBytes) return false;
  DeflateStream stream;
  if (!stream.ready) return false;
  AppendU32(out, static_cast<uint32_t>(body.size() + kHeaderBytes));

  std::vector<uint8_t> packed(deflateBound(&stream.z, kMsZipBlockSize));
  for (size_t offset = 0; offset < body.size(); offset += kMsZipBlockSize) {
    const size_t rawSize = std::min(kMsZipBlockSize, body.size() - offset);
    if (deflateReset(&stream.z) != Z_OK) return false;
    if (history == MsZipHistory::kCarried && offset > 0) {
      const size_t window = std::min(offset, kMsZipBlockSize);
      if (deflateSetDictionary(&stream.z, body.data() + offset - window,
                               static_cast<uInt>(window)) != Z_OK) {
        return false;
      }
    }
    stream.z.next_in = body.data() + offset;
    stream.z.avail_in = static_cast<uInt>(rawSize);
    stream.z.next_out = packed.data();
    stream.z.avail_out = static_cast<uInt>(packed.size());
    if (deflate(&stream.z, Z_FINISH) != Z_STREAM_END) return false;
    const size_t packedSize = packed.size() - stream.z.avail_out;
    if (packedSize + 2 > 0xFFFF) return false;
    AppendU16(out, static_cast<uint32_t>(rawSize));
    AppendU16(out, static_cast<uint32_t>(packedSize + 2));
    out->push_back('C');
    out->push_back('K');
    out->insert(out->end(), packed.begin(), packed.begin() + static_cast<ptrdiff_t>(packedSize));
  }
  return true;
}

}  // namespace kbh
