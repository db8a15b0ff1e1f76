// The MSZIP framing of compressed .x files: after the 16-byte file header a
// 4-byte total size (header included), then blocks of a 2-byte uncompressed
// size, a 2-byte compressed size (counting the "CK" mark), "CK" and a raw
// deflate stream whose back-references may reach into the previous block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kbh {

// Largest uncompressed block the framing allows; also the dictionary a block
// may see of the data before it.
inline constexpr size_t kMsZipBlockSize = 32768;

// Unpacks what follows the file header into *body (the text or binary body,
// without the header). The declared total is the authority: a file that ends
// early, a block that inflates to a size other than it declares, or a total
// above maxBodyBytes gives false with the reason in *error.
bool InflateMsZip(std::span<const uint8_t> afterHeader, size_t maxBodyBytes,
                  std::vector<uint8_t>* body, std::string* error);

enum class MsZipHistory {
  kPerBlock,  // each block stands alone: any reader unpacks it
  kCarried    // blocks may refer back into the previous one: a little smaller
};

// Appends the size field and the blocks for body to *out (the caller writes
// the header first). False if the body is too large for the 32-bit size
// field.
bool DeflateMsZip(std::span<const uint8_t> body, std::vector<uint8_t>* out,
                  MsZipHistory history = MsZipHistory::kPerBlock);

}  // namespace kbh
