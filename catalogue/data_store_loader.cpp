#include "catalogue/data_store_loader.hpp"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "catalogue/khb_format.hpp"
#include "platform/os/os.hpp"

namespace kbh {
namespace {

uint32_t LittleEndian32(const uint8_t* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
         uint32_t{bytes[3]} << 24;
}

struct Line {
  std::string_view text;  // up to the first NUL
  // The limit stopped the line, not a line feed, and no NUL ended the text
  // earlier: what follows in the file probably belonged to it.
  bool cut = false;
};

// Reads the file the way buffered C streams read it (the format was defined
// by them): fixed-size reads take what is left when the file ends short, and
// any read that wants more than is left marks the end as hit.
class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t Offset() const { return offset_; }
  size_t Remaining() const { return bytes_.size() - offset_; }
  bool HitEnd() const { return hitEnd_; }

  // Exactly size bytes, or false (and the rest of the file consumed).
  const uint8_t* Read(size_t size) {
    if (Remaining() < size) {
      offset_ = bytes_.size();
      hitEnd_ = true;
      return nullptr;
    }
    const uint8_t* start = bytes_.data() + offset_;
    offset_ += size;
    return start;
  }

  bool ReadByte(uint8_t* byte) {
    const uint8_t* at = Read(1);
    if (at != nullptr) *byte = *at;
    return at != nullptr;
  }

  // A missing number reads as 0.
  uint32_t ReadU32() {
    const uint8_t* at = Read(4);
    return at == nullptr ? 0 : LittleEndian32(at);
  }
  uint16_t ReadU16() {
    const uint8_t* at = Read(2);
    return at == nullptr ? 0 : static_cast<uint16_t>(at[0] | at[1] << 8);
  }

  // Up to size bytes: a block whose length runs past the end of the file
  // gives what is there. Nothing is allocated for the length itself.
  std::span<const uint8_t> Take(uint64_t size) {
    const size_t taken = static_cast<size_t>(std::min<uint64_t>(size, Remaining()));
    if (taken < size) hitEnd_ = true;
    const std::span<const uint8_t> block = bytes_.subspan(offset_, taken);
    offset_ += taken;
    return block;
  }

  // The bytes up to and including the first line feed, at most limit - 1.
  Line ReadLine(size_t limit) {
    const size_t maxBytes = limit - 1;
    const size_t window = std::min(maxBytes, Remaining());
    const uint8_t* start = bytes_.data() + offset_;
    const void* lineFeed = std::memchr(start, '\n', window);
    const size_t length =
        lineFeed != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(lineFeed) - start) + 1
                            : window;
    if (lineFeed == nullptr && length < maxBytes) hitEnd_ = true;
    offset_ += length;

    const void* nul = std::memchr(start, '\0', length);
    const size_t textLength =
        nul != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - start) : length;
    Line line;
    line.text = std::string_view(reinterpret_cast<const char*>(start), textLength);
    line.cut = lineFeed == nullptr && nul == nullptr && length == maxBytes;
    return line;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t offset_ = 0;
  bool hitEnd_ = false;
};

bool IsKnownActionType(uint8_t type) {
  switch (static_cast<ActionType>(type)) {
    case ActionType::kRequire:
    case ActionType::kExclude:
    case ActionType::kPosition:
    case ActionType::kPaint:
      return true;
  }
  return false;
}

class Loader {
 public:
  Loader(std::span<const uint8_t> bytes, DataStore& store, LoadReport* report)
      : reader_(bytes), store_(store), report_(report) {}

  void Run() {
    if (ReadHeader(1, kSectionInfo)) reader_.Read(kInfoBodySize);
    if (ReadHeader(2, kSectionTree)) ReadTree();
    if (ReadHeader(3, kSectionRecords)) ReadRecords();
    if (reader_.Remaining() > 0) {
      Note(FindingKind::kTrailingBytes, reader_.Offset(), 0, reader_.Remaining());
    }
  }

 private:
  void Note(FindingKind kind, uint64_t offset, ItemId id = 0, uint64_t value = 0,
            uint32_t detail = 0) {
    if (report_ != nullptr) report_->findings.push_back({kind, offset, id, value, detail});
  }

  // True when the header is there and has the expected type, so its body follows.
  bool ReadHeader(uint32_t section, uint8_t expectedType) {
    const size_t offset = reader_.Offset();
    const uint8_t* header = reader_.Read(kSectionHeaderSize);
    if (header == nullptr) {
      Note(FindingKind::kSectionAbsent, offset, 0, section, 256);
      return false;
    }
    if (header[0] != expectedType) {
      Note(FindingKind::kSectionAbsent, offset, 0, section, header[0]);
      return false;
    }
    return true;
  }

  // --- The tree ----------------------------------------------------------------

  std::string_view ReadName() {
    const size_t offset = reader_.Offset();
    const Line line = reader_.ReadLine(kNameLineLimit);
    if (line.cut) Note(FindingKind::kNameCut, offset, 0, kNameLineLimit - 1);
    return line.text;
  }

  void FlushSkipped() {
    if (skippedCount_ > 0) Note(FindingKind::kSkippedBytes, skippedStart_, 0, skippedCount_);
    skippedCount_ = 0;
  }

  void ReadTree() {
    for (;;) {
      const size_t offset = reader_.Offset();
      uint8_t marker = 0;
      if (!reader_.ReadByte(&marker)) {
        FlushSkipped();
        Note(FindingKind::kTreeUnterminated, offset);
        return;
      }
      if (marker == kMarkerTreeEnd || marker == kMarkerTreeEndAlternative) {
        FlushSkipped();
        return;
      }
      if (marker != kMarkerCategory && marker != kMarkerSubcategory && marker != kMarkerItem) {
        if (skippedCount_ == 0) skippedStart_ = offset;
        ++skippedCount_;
        continue;
      }
      FlushSkipped();
      if (marker == kMarkerCategory) {
        ReadCategory(offset);
      } else if (category_ == nullptr) {
        // No category to belong to: the record is read and ignored.
        ReadName();
        Note(FindingKind::kMarkerWithoutCategory, offset, 0, marker);
      } else if (marker == kMarkerSubcategory) {
        ReadSubcategory(offset);
      } else {
        ReadItem(offset);
      }
    }
  }

  void ReadCategory(size_t offset) {
    uint8_t number = 0;
    uint8_t kind = 0;
    if (!reader_.ReadByte(&number) || !reader_.ReadByte(&kind)) {
      Note(FindingKind::kCategoryCut, offset);
      return;
    }
    const std::string_view name = ReadName();
    category_ = AddCategoryNode(store_, name, MakeItemId(kind, number, 0, 0));
    itemParent_ = nullptr;
    parentDropped_ = false;
    subcategoryCount_ = 0;
    itemCount_ = 0;
  }

  // A 255th child would take the wildcard byte as its number (and a 256th
  // would carry into the next byte), so such records are dropped, and with a
  // dropped subcategory the items that follow it.
  void ReadSubcategory(size_t offset) {
    const std::string_view name = ReadName();
    subcategoryCount_ = std::min(subcategoryCount_ + 1, kMaxChildNumber + 1);
    itemCount_ = 0;
    if (subcategoryCount_ > kMaxChildNumber) {
      Note(FindingKind::kTooManySubcategories, offset, category_->id);
      itemParent_ = nullptr;
      parentDropped_ = true;
      return;
    }
    itemParent_ =
        AddSubcategoryNode(store_, category_, name, category_->id | ItemId(subcategoryCount_) << 8);
    parentDropped_ = false;
  }

  void ReadItem(size_t offset) {
    const std::string_view name = ReadName();
    if (parentDropped_) {
      Note(FindingKind::kItemOfDroppedParent, offset, category_->id);
      return;
    }
    itemCount_ = std::min(itemCount_ + 1, kMaxChildNumber + 1);
    if (itemParent_ == nullptr) {
      // Items before the category's first '$' form an unnamed subcategory 1.
      itemParent_ = category_;
      ++subcategoryCount_;
    }
    if (itemCount_ > kMaxChildNumber) {
      Note(FindingKind::kTooManyItems, offset, itemParent_->id);
      return;
    }
    AddItemNode(store_, itemParent_, name,
                category_->id | ItemId(subcategoryCount_) << 8 | ItemId(itemCount_));
  }

  // --- Part records ------------------------------------------------------------

  std::string_view ReadText(size_t limit, uint32_t field, ItemId id) {
    const size_t offset = reader_.Offset();
    const Line line = reader_.ReadLine(limit);
    if (line.cut) Note(FindingKind::kTextCut, offset, id, field, static_cast<uint32_t>(limit - 1));
    return line.text;
  }

  void ReadRecords() {
    // A record needs at least its 4-byte id; fewer bytes are left over.
    while (!reader_.HitEnd() && reader_.Remaining() >= 4)
      ReadRecord();
  }

  void ReadRecord() {
    const size_t start = reader_.Offset();
    const ItemId id = reader_.ReadU32();
    // The node was made long ago and is likely out of the cache: fetch it
    // while the record is read instead of waiting for it afterwards.
    CatalogueNode* node = FindById(store_, id);
    if (node != nullptr) __builtin_prefetch(node, 1);
    auto record = std::make_unique<PartRecord>();
    record->text1 = ReadText(kText1LineLimit, 1, id);
    record->text2 = ReadText(kText2LineLimit, 2, id);
    record->text5 = ReadText(kText5LineLimit, 5, id);
    record->text3 = ReadText(kText3LineLimit, 3, id);
    record->text4 = ReadDescription(id);
    ReadActions(id, record->actions);
    if (reader_.HitEnd()) Note(FindingKind::kRecordCut, start, id);

    if (node == nullptr) {
      Note(FindingKind::kRecordWithoutNode, start, id);
      return;
    }
    if (report_ != nullptr) {
      auto [earlier, first] = recordOffsets_.try_emplace(node, start);
      if (!first) {
        Note(FindingKind::kDuplicateRecord, start, id, earlier->second);
        earlier->second = start;
      }
    }
    AttachRecord(node, std::move(record));
  }

  // The block's length is consumed whatever it says, so the next field is
  // read from the right place; the text keeps what fits its storage.
  std::string_view ReadDescription(ItemId id) {
    const size_t offset = reader_.Offset();
    const uint32_t length = reader_.ReadU32();
    const std::span<const uint8_t> block = reader_.Take(length);
    const auto* text = reinterpret_cast<const char*>(block.data());
    const void* nul = std::memchr(text, '\0', block.size());
    size_t textLength =
        nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - text) : block.size();
    textLength = std::min(textLength, kText4BlockLimit - 1);
    if (length > kText4BlockLimit) {
      Note(FindingKind::kBlockTooLong, offset, id, length);
    } else if (nul == nullptr && length > 0 && block.size() == length) {
      Note(FindingKind::kBlockWithoutNul, offset, id, length);
    }
    return std::string_view(text, textLength);
  }

  // Actions are allocated one by one as their bytes arrive, so a count that
  // promises more than the file holds costs nothing; an action cut off by the
  // end of the file is dropped.
  void ReadActions(ItemId id, std::unique_ptr<PartAction>& actions) {
    const uint16_t count = reader_.ReadU16();
    std::unique_ptr<PartAction>* tail = &actions;
    for (uint32_t index = 0; index < count; ++index) {
      const size_t offset = reader_.Offset();
      const uint8_t* header = reader_.Read(kActionHeaderSize);
      if (header == nullptr) return;
      auto action = std::make_unique<PartAction>();
      action->type = static_cast<ActionType>(header[0]);
      action->target = LittleEndian32(header + 4);
      if (action->type == ActionType::kPosition) {
        const uint8_t* payload = reader_.Read(kPositionPayloadSize);
        if (payload == nullptr) return;
        action->position.x = std::bit_cast<float>(LittleEndian32(payload));
        action->position.y = std::bit_cast<float>(LittleEndian32(payload + 4));
        action->position.z = std::bit_cast<float>(LittleEndian32(payload + 8));
      } else if (action->type == ActionType::kPaint) {
        const uint8_t* payload = reader_.Read(kPaintPayloadSize);
        if (payload == nullptr) return;
        action->paint.colour = LittleEndian32(payload);
        action->paint.finish = payload[4];
      } else if (!IsKnownActionType(header[0])) {
        Note(FindingKind::kUnknownActionType, offset, id, header[0]);
      }
      *tail = std::move(action);
      tail = &(*tail)->next;
    }
  }

  ByteReader reader_;
  DataStore& store_;
  LoadReport* report_;

  CatalogueNode* category_ = nullptr;
  CatalogueNode* itemParent_ = nullptr;  // category or subcategory the next '+' joins
  bool parentDropped_ = false;
  int subcategoryCount_ = 0;
  int itemCount_ = 0;
  size_t skippedStart_ = 0;
  uint64_t skippedCount_ = 0;
  std::unordered_map<const CatalogueNode*, uint64_t> recordOffsets_;  // reports only
};

}  // namespace

void LoadDataStoreFromBytes(std::span<const uint8_t> bytes, DataStore& store, LoadReport* report) {
  Loader(bytes, store, report).Run();
}

bool LoadDataStore(const std::string& path, DataStore& store, LoadReport* report) {
  FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return false;
  std::vector<uint8_t> bytes;
  constexpr size_t kChunk = size_t{1} << 16;
  size_t got = 0;
  do {
    bytes.resize(bytes.size() + kChunk);
    got = std::fread(bytes.data() + bytes.size() - kChunk, 1, kChunk, file);
    bytes.resize(bytes.size() - kChunk + got);
  } while (got == kChunk);
  // A folder opens but cannot be read: it is no catalogue.
  const bool readable = std::ferror(file) == 0;
  std::fclose(file);
  if (!readable) return false;
  LoadDataStoreFromBytes(bytes, store, report);
  return true;
}

}  // namespace kbh
