#include "tools/catalogue/catalogue_compile.hpp"

#include <bit>
#include <cinttypes>
#include <cstdio>
#include <initializer_list>
#include <string_view>
#include <unordered_set>

#include "catalogue/data_store.hpp"
#include "catalogue/item_id.hpp"
#include "catalogue/khb_format.hpp"
#include "platform/os/windows1252.hpp"
#include "tools/catalogue/catalogue_dump.hpp"

namespace kbh {
namespace {

constexpr size_t kMaxActions = 0xFFFF;

struct PendingRecord {
  const JsonValue* json;
  ItemId id;
  std::string path;
};

class Compiler {
 public:
  Compiler(std::vector<uint8_t>* bytes, CompileError* error) : out_(*bytes), error_(error) {}

  bool Run(const JsonValue& root) {
    out_.clear();
    if (!ExpectType(root, JsonType::kObject, "", "an object")) return false;
    if (!CheckKeys(root, "", {"categories"})) return false;
    const JsonValue* categories = root.Find("categories");
    if (categories == nullptr) return Fail(root, "", "missing field \"categories\"");
    if (!ExpectType(*categories, JsonType::kArray, "categories", "an array")) return false;

    WriteHeader(kSectionInfo);
    out_.push_back(0);
    WriteHeader(kSectionTree);
    for (size_t index = 0; index < categories->items.size(); ++index) {
      if (!CompileCategory(categories->items[index], Index("categories", index))) return false;
    }
    out_.push_back(kMarkerTreeEnd);
    WriteHeader(kSectionRecords);
    for (const PendingRecord& record : records_) {
      if (!CompileRecord(*record.json, record.id, record.path)) return false;
    }
    return true;
  }

 private:
  // --- Errors and checks -------------------------------------------------------

  bool Fail(const JsonValue& at, const std::string& path, const std::string& message) {
    if (error_ != nullptr) *error_ = CompileError{at.line, at.column, path, message};
    return false;
  }

  static std::string Index(const std::string& path, size_t index) {
    return path + "[" + std::to_string(index) + "]";
  }
  static std::string Field(const std::string& path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
  }

  bool ExpectType(const JsonValue& value, JsonType type, const std::string& path,
                  const char* what) {
    if (value.type == type) return true;
    return Fail(value, path, std::string("expected ") + what);
  }

  bool CheckKeys(const JsonValue& object, const std::string& path,
                 std::initializer_list<std::string_view> allowed) {
    for (const JsonMember& member : object.members) {
      bool known = false;
      for (std::string_view key : allowed)
        known = known || member.key == key;
      if (!known) return Fail(member.value, Field(path, member.key), "unknown field");
    }
    return true;
  }

  bool ReadIntegerIn(const JsonValue& value, const std::string& path, int64_t low, int64_t high,
                     int64_t* out) {
    if (!ReadJsonInteger(value, out) || *out < low || *out > high) {
      return Fail(
          value, path,
          "expected a whole number from " + std::to_string(low) + " to " + std::to_string(high));
    }
    return true;
  }

  bool ReadHex32(const JsonValue& value, const std::string& path, uint32_t* out) {
    bool ok = value.type == JsonType::kString && value.text.size() == 8;
    uint32_t result = 0;
    for (size_t i = 0; ok && i < 8; ++i) {
      const char c = value.text[i];
      int digit = -1;
      if (c >= '0' && c <= '9') digit = c - '0';
      if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      ok = digit >= 0;
      result = result << 4 | static_cast<uint32_t>(digit);
    }
    if (!ok) return Fail(value, path, "expected 8 hexadecimal digits, as in \"01030101\"");
    *out = result;
    return true;
  }

  // A field that must be there.
  const JsonValue* Require(const JsonValue& object, const std::string& path, const char* key) {
    const JsonValue* value = object.Find(key);
    if (value == nullptr) Fail(object, path, std::string("missing field \"") + key + "\"");
    return value;
  }

  bool ToWindows1252(const JsonValue& value, const std::string& path, std::string* bytes) {
    if (!ExpectType(value, JsonType::kString, path, "a string")) return false;
    char32_t unmappable = 0;
    if (!Utf8ToWindows1252(value.text, bytes, &unmappable)) {
      char message[80];
      std::snprintf(message, sizeof message, "character U+%04" PRIX32 " has no Windows-1252 byte",
                    static_cast<uint32_t>(unmappable));
      return Fail(value, path, message);
    }
    if (bytes->find('\0') != std::string::npos) {
      return Fail(value, path, "a NUL cannot be stored: it would end the text");
    }
    return true;
  }

  // --- Output ------------------------------------------------------------------

  void WriteHeader(uint8_t type) {
    out_.push_back(type);
    out_.insert(out_.end(), kSectionHeaderSize - 1, 0);
  }

  void WriteU32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
      out_.push_back(static_cast<uint8_t>(value >> shift));
  }

  void WriteBytes(std::string_view bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }

  // A line the loader reads back as exactly this text: it stops at the first
  // line feed, after limit - 1 bytes, and keeps the text up to a NUL.
  bool WriteLine(const JsonValue& value, const std::string& path, size_t limit) {
    std::string bytes;
    if (!ToWindows1252(value, path, &bytes)) return false;
    const size_t capacity = limit - 1;
    const size_t lineFeed = bytes.find('\n');
    if (lineFeed != std::string::npos && lineFeed + 1 != bytes.size()) {
      return Fail(value, path, "a line feed can only end this text: the line stops at it");
    }
    if (lineFeed != std::string::npos) {
      if (bytes.size() > capacity) return TooLong(value, path, bytes.size(), capacity);
      WriteBytes(bytes);
      return true;
    }
    if (bytes.size() + 1 > capacity) return TooLong(value, path, bytes.size(), capacity - 1);
    WriteBytes(bytes);
    out_.push_back('\0');
    if (bytes.size() + 2 <= capacity) out_.push_back('\n');
    return true;
  }

  bool TooLong(const JsonValue& value, const std::string& path, size_t size, size_t most) {
    return Fail(value, path,
                "too long: " + std::to_string(size) + " bytes in Windows-1252, at most " +
                    std::to_string(most) + " fit");
  }

  // --- The tree ------------------------------------------------------------------

  // Checks a node's common fields and writes its name line.
  bool CompileNode(const JsonValue& node, const std::string& path, int type,
                   const JsonValue** children) {
    if (!ExpectType(node, JsonType::kObject, path, "an object")) return false;
    if (!CheckKeys(node, path, {"id", "type", "name", "record", "children"})) return false;
    const JsonValue* typeValue = Require(node, path, "type");
    const JsonValue* name = Require(node, path, "name");
    if (typeValue == nullptr || name == nullptr) return false;
    int64_t actualType = 0;
    if (!ReadIntegerIn(*typeValue, Field(path, "type"), 1, 3, &actualType)) return false;
    if (actualType != type) {
      const char* expected = type == 1   ? "1 (a category)"
                             : type == 2 ? "2 (a subcategory)"
                                         : "3 (an item)";
      return Fail(*typeValue, Field(path, "type"), std::string("expected type ") + expected);
    }
    *children = node.Find("children");
    if (*children != nullptr &&
        !ExpectType(**children, JsonType::kArray, Field(path, "children"), "an array")) {
      return false;
    }
    return WriteLine(*name, Field(path, "name"), kNameLineLimit);
  }

  // A node's record is written after the tree; it must reach this node, which
  // it cannot when an earlier node has the same id.
  bool NoteRecord(const JsonValue& node, const std::string& path, ItemId id) {
    const bool firstWithId = ids_.insert(id).second;
    const JsonValue* record = node.Find("record");
    if (record == nullptr || record->type == JsonType::kNull) return true;
    if (!ExpectType(*record, JsonType::kObject, Field(path, "record"), "an object or null")) {
      return false;
    }
    if (!firstWithId) {
      return Fail(*record, Field(path, "record"),
                  "an earlier node has the id " + HexId(id) + ", so this record would go there");
    }
    records_.push_back({record, id, Field(path, "record")});
    return true;
  }

  // An id may be left out where the order gives it; when given, it must agree.
  bool CheckId(const JsonValue& node, const std::string& path, ItemId expected) {
    const JsonValue* id = node.Find("id");
    if (id == nullptr) return true;
    uint32_t given = 0;
    if (!ReadHex32(*id, Field(path, "id"), &given)) return false;
    if (given != expected) {
      return Fail(*id, Field(path, "id"), "the position in the tree gives " + HexId(expected));
    }
    return true;
  }

  bool CompileCategory(const JsonValue& node, const std::string& path) {
    if (!ExpectType(node, JsonType::kObject, path, "an object")) return false;
    const JsonValue* idValue = Require(node, path, "id");
    if (idValue == nullptr) return false;
    uint32_t id = 0;
    if (!ReadHex32(*idValue, Field(path, "id"), &id)) return false;
    if ((id & 0xFFFF) != 0) {
      return Fail(*idValue, Field(path, "id"),
                  "a category's id is its kind and number followed by 0000");
    }
    out_.push_back(kMarkerCategory);
    out_.push_back(CategoryNumberOf(id));
    out_.push_back(static_cast<uint8_t>(KindOf(id)));
    const JsonValue* children = nullptr;
    if (!CompileNode(node, path, 1, &children)) return false;
    if (!NoteRecord(node, path, id)) return false;
    if (children == nullptr) return true;

    int subcategory = 0;
    int directItems = 0;
    bool sawSubcategory = false;
    for (size_t index = 0; index < children->items.size(); ++index) {
      const JsonValue& child = children->items[index];
      const std::string childPath = Index(Field(path, "children"), index);
      if (!ExpectType(child, JsonType::kObject, childPath, "an object")) return false;
      const JsonValue* type = child.Find("type");
      int64_t childType = 0;
      if (type == nullptr) return Fail(child, childPath, "missing field \"type\"");
      if (!ReadIntegerIn(*type, Field(childPath, "type"), 2, 3, &childType)) return false;
      if (childType == 3) {
        if (sawSubcategory) {
          return Fail(child, childPath,
                      "items directly under a category must come before its first subcategory");
        }
        // They form an unnamed subcategory 1.
        subcategory = 1;
        if (++directItems > kMaxChildNumber) return TooMany(child, childPath, "items");
        if (!CompileItem(child, childPath, id | ItemId(subcategory) << 8 | ItemId(directItems))) {
          return false;
        }
        continue;
      }
      sawSubcategory = true;
      if (++subcategory > kMaxChildNumber) return TooMany(child, childPath, "subcategories");
      if (!CompileSubcategory(child, childPath, id | ItemId(subcategory) << 8)) return false;
    }
    return true;
  }

  bool TooMany(const JsonValue& at, const std::string& path, const char* what) {
    return Fail(
        at, path,
        std::string("more than 254 ") + what + ": 255 is the wildcard byte of action targets");
  }

  bool CompileSubcategory(const JsonValue& node, const std::string& path, ItemId id) {
    if (!CheckId(node, path, id)) return false;
    out_.push_back(kMarkerSubcategory);
    const JsonValue* children = nullptr;
    if (!CompileNode(node, path, 2, &children)) return false;
    if (!NoteRecord(node, path, id)) return false;
    if (children == nullptr) return true;
    for (size_t index = 0; index < children->items.size(); ++index) {
      const std::string childPath = Index(Field(path, "children"), index);
      if (index + 1 > static_cast<size_t>(kMaxChildNumber)) {
        return TooMany(children->items[index], childPath, "items");
      }
      if (!CompileItem(children->items[index], childPath, id | ItemId(index + 1))) return false;
    }
    return true;
  }

  bool CompileItem(const JsonValue& node, const std::string& path, ItemId id) {
    if (!ExpectType(node, JsonType::kObject, path, "an object")) return false;
    if (!CheckId(node, path, id)) return false;
    out_.push_back(kMarkerItem);
    const JsonValue* children = nullptr;
    if (!CompileNode(node, path, 3, &children)) return false;
    if (children != nullptr && !children->items.empty()) {
      return Fail(children->items[0], Index(Field(path, "children"), 0), "an item has no children");
    }
    return NoteRecord(node, path, id);
  }

  // --- Part records ----------------------------------------------------------------

  bool CompileRecord(const JsonValue& record, ItemId id, const std::string& path) {
    if (!CheckKeys(record, path, {"text1", "text2", "text3", "text4", "text5", "actions"})) {
      return false;
    }
    static const JsonValue kEmpty = JsonString("");
    auto text = [&](const char* key) -> const JsonValue& {
      const JsonValue* value = record.Find(key);
      return value != nullptr ? *value : kEmpty;
    };
    WriteU32(id);
    // The file's order: text1, text2, text5, text3, then the text4 block.
    if (!WriteLine(text("text1"), Field(path, "text1"), kText1LineLimit) ||
        !WriteLine(text("text2"), Field(path, "text2"), kText2LineLimit) ||
        !WriteLine(text("text5"), Field(path, "text5"), kText5LineLimit) ||
        !WriteLine(text("text3"), Field(path, "text3"), kText3LineLimit)) {
      return false;
    }
    std::string description;
    if (!ToWindows1252(text("text4"), Field(path, "text4"), &description)) return false;
    if (description.size() + 1 > kText4BlockLimit) {
      return TooLong(text("text4"), Field(path, "text4"), description.size(), kText4BlockLimit - 1);
    }
    WriteU32(static_cast<uint32_t>(description.size() + 1));
    WriteBytes(description);
    out_.push_back('\0');

    const JsonValue* actions = record.Find("actions");
    const std::string actionsPath = Field(path, "actions");
    if (actions == nullptr) {
      out_.insert(out_.end(), 2, 0);
      return true;
    }
    if (!ExpectType(*actions, JsonType::kArray, actionsPath, "an array")) return false;
    if (actions->items.size() > kMaxActions) {
      return Fail(actions->items[kMaxActions], Index(actionsPath, kMaxActions),
                  "more than 65535 actions");
    }
    out_.push_back(static_cast<uint8_t>(actions->items.size()));
    out_.push_back(static_cast<uint8_t>(actions->items.size() >> 8));
    for (size_t index = 0; index < actions->items.size(); ++index) {
      if (!CompileAction(actions->items[index], Index(actionsPath, index))) return false;
    }
    return true;
  }

  bool CompileAction(const JsonValue& action, const std::string& path) {
    if (!ExpectType(action, JsonType::kObject, path, "an object")) return false;
    const JsonValue* typeValue = Require(action, path, "type");
    const JsonValue* targetValue = Require(action, path, "target");
    if (typeValue == nullptr || targetValue == nullptr) return false;
    int64_t type = 0;
    uint32_t target = 0;
    if (!ReadIntegerIn(*typeValue, Field(path, "type"), 0, 255, &type)) return false;
    if (!ReadHex32(*targetValue, Field(path, "target"), &target)) return false;
    const bool position = type == static_cast<uint8_t>(ActionType::kPosition);
    const bool paint = type == static_cast<uint8_t>(ActionType::kPaint);
    if (position && !CheckKeys(action, path, {"type", "target", "x", "y", "z"})) return false;
    if (paint && !CheckKeys(action, path, {"type", "target", "colour", "finish"})) return false;
    if (!position && !paint && !CheckKeys(action, path, {"type", "target"})) return false;

    out_.push_back(static_cast<uint8_t>(type));
    out_.insert(out_.end(), 3, 0);
    WriteU32(target);
    if (position) {
      for (const char* axis : {"x", "y", "z"}) {
        const JsonValue* value = Require(action, path, axis);
        float coordinate = 0;
        if (value == nullptr) return false;
        if (!ReadJsonFloat(*value, &coordinate)) {
          return Fail(*value, Field(path, axis), "expected a number that fits a float");
        }
        WriteU32(std::bit_cast<uint32_t>(coordinate));
      }
      out_.insert(out_.end(), 4, 0);
    } else if (paint) {
      const JsonValue* colourValue = Require(action, path, "colour");
      const JsonValue* finishValue = Require(action, path, "finish");
      uint32_t colour = 0;
      int64_t finish = 0;
      if (colourValue == nullptr || finishValue == nullptr) return false;
      if (!ReadHex32(*colourValue, Field(path, "colour"), &colour)) return false;
      if (!ReadIntegerIn(*finishValue, Field(path, "finish"), 0, 255, &finish)) return false;
      WriteU32(colour);
      out_.push_back(static_cast<uint8_t>(finish));
      out_.insert(out_.end(), 3, 0);
    }
    return true;
  }

  std::vector<uint8_t>& out_;
  CompileError* error_;
  std::unordered_set<ItemId> ids_;
  std::vector<PendingRecord> records_;
};

}  // namespace

bool CompileCatalogue(const JsonValue& root, std::vector<uint8_t>* bytes, CompileError* error) {
  return Compiler(bytes, error).Run(root);
}

}  // namespace kbh
