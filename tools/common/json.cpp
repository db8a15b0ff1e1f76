#include "tools/common/json.hpp"

#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

namespace kbh {

const JsonValue* JsonValue::Find(std::string_view key) const {
  for (const JsonMember& member : members) {
    if (member.key == key) return &member.value;
  }
  return nullptr;
}

// --- Building ----------------------------------------------------------------

JsonValue JsonNull() {
  return JsonValue{};
}

JsonValue JsonBool(bool value) {
  JsonValue result;
  result.type = JsonType::kBool;
  result.boolean = value;
  return result;
}

JsonValue JsonInteger(int64_t value) {
  JsonValue result;
  result.type = JsonType::kNumber;
  result.text = std::to_string(value);
  return result;
}

JsonValue JsonFloat(float value) {
  if (std::isnan(value)) return JsonString("NaN");
  if (std::isinf(value)) return JsonString(value > 0 ? "Infinity" : "-Infinity");
  // The shortest of the precisions that reads back as the same float, so that
  // a hand-written 0.1 comes out as 0.1; nine digits always do.
  char digits[32];
  for (int precision = 6; precision <= 9; ++precision) {
    std::snprintf(digits, sizeof digits, "%.*g", precision, static_cast<double>(value));
    const float back = std::strtof(digits, nullptr);
    if (std::memcmp(&back, &value, sizeof value) == 0) break;
  }
  JsonValue result;
  result.type = JsonType::kNumber;
  result.text = digits;
  return result;
}

JsonValue JsonString(std::string utf8) {
  JsonValue result;
  result.type = JsonType::kString;
  result.text = std::move(utf8);
  return result;
}

JsonValue JsonArray() {
  JsonValue result;
  result.type = JsonType::kArray;
  return result;
}

JsonValue JsonObject() {
  JsonValue result;
  result.type = JsonType::kObject;
  return result;
}

JsonValue& JsonPush(JsonValue& array, JsonValue item) {
  return array.items.emplace_back(std::move(item));
}

JsonValue& JsonAdd(JsonValue& object, std::string key, JsonValue value) {
  return object.members.emplace_back(JsonMember{std::move(key), std::move(value)}).value;
}

// --- Reading -----------------------------------------------------------------

namespace {

constexpr int kMaxDepth = 256;

void AppendUtf8(char32_t codePoint, std::string* out) {
  if (codePoint < 0x80) {
    *out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    *out += static_cast<char>(0xC0 | (codePoint >> 6));
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    *out += static_cast<char>(0xE0 | (codePoint >> 12));
    *out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (codePoint >> 18));
    *out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

class JsonParser {
 public:
  JsonParser(std::string_view text, JsonError* error) : text_(text), error_(error) {}

  bool ParseDocument(JsonValue* value) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") at_ = 3;
    SkipSpace();
    if (!ParseValue(value, 0)) return false;
    SkipSpace();
    if (at_ < text_.size()) return Fail("unexpected text after the value");
    return true;
  }

 private:
  bool AtEnd() const { return at_ >= text_.size(); }
  unsigned char Peek() const { return AtEnd() ? 0 : static_cast<unsigned char>(text_[at_]); }

  // Columns count characters, not bytes: continuation bytes do not move them.
  void Advance() {
    const unsigned char c = Peek();
    ++at_;
    if (c == '\n') {
      ++line_;
      column_ = 1;
    } else if ((c & 0xC0) != 0x80) {
      ++column_;
    }
  }

  bool Fail(const std::string& message) {
    if (error_ != nullptr) *error_ = JsonError{line_, column_, message};
    return false;
  }

  bool FailUnexpected() {
    if (AtEnd()) return Fail("unexpected end of input");
    const unsigned char c = Peek();
    if (c >= 0x20 && c < 0x7F)
      return Fail(std::string("unexpected character '") + static_cast<char>(c) + "'");
    char message[48];
    std::snprintf(message, sizeof message, "unexpected byte 0x%02X", c);
    return Fail(message);
  }

  void SkipSpace() {
    while (!AtEnd()) {
      const unsigned char c = Peek();
      if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return;
      Advance();
    }
  }

  bool Expect(char c) {
    if (Peek() != static_cast<unsigned char>(c)) return FailUnexpected();
    Advance();
    return true;
  }

  bool ParseValue(JsonValue* value, int depth) {
    value->line = line_;
    value->column = column_;
    switch (Peek()) {
      case '{':
        return ParseObject(value, depth + 1);
      case '[':
        return ParseArray(value, depth + 1);
      case '"':
        value->type = JsonType::kString;
        return ParseString(&value->text);
      case 't':
        value->type = JsonType::kBool;
        value->boolean = true;
        return ParseLiteral("true");
      case 'f':
        value->type = JsonType::kBool;
        return ParseLiteral("false");
      case 'n':
        value->type = JsonType::kNull;
        return ParseLiteral("null");
      default:
        if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9')) return ParseNumber(value);
        return FailUnexpected();
    }
  }

  bool ParseLiteral(std::string_view word) {
    for (char c : word) {
      if (!Expect(c)) return false;
    }
    return true;
  }

  bool Digits() {
    if (Peek() < '0' || Peek() > '9') return FailUnexpected();
    while (Peek() >= '0' && Peek() <= '9')
      Advance();
    return true;
  }

  bool ParseNumber(JsonValue* value) {
    const size_t start = at_;
    if (Peek() == '-') Advance();
    if (Peek() == '0') {
      Advance();
      if (Peek() >= '0' && Peek() <= '9') return Fail("leading zeros are not allowed");
    } else if (!Digits()) {
      return false;
    }
    if (Peek() == '.') {
      Advance();
      if (!Digits()) return false;
    }
    if (Peek() == 'e' || Peek() == 'E') {
      Advance();
      if (Peek() == '+' || Peek() == '-') Advance();
      if (!Digits()) return false;
    }
    value->type = JsonType::kNumber;
    value->text.assign(text_.substr(start, at_ - start));
    return true;
  }

  bool ParseHex4(char32_t* out) {
    *out = 0;
    for (int i = 0; i < 4; ++i) {
      const unsigned char c = Peek();
      int digit = -1;
      if (c >= '0' && c <= '9') digit = c - '0';
      if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      if (digit < 0) return Fail("expected four hexadecimal digits after \\u");
      *out = *out << 4 | static_cast<char32_t>(digit);
      Advance();
    }
    return true;
  }

  bool ParseEscape(std::string* out) {
    Advance();  // the backslash
    const unsigned char c = Peek();
    const char* simple = nullptr;
    switch (c) {
      case '"':
        simple = "\"";
        break;
      case '\\':
        simple = "\\";
        break;
      case '/':
        simple = "/";
        break;
      case 'b':
        simple = "\b";
        break;
      case 'f':
        simple = "\f";
        break;
      case 'n':
        simple = "\n";
        break;
      case 'r':
        simple = "\r";
        break;
      case 't':
        simple = "\t";
        break;
      case 'u':
        break;
      default:
        return Fail("unknown escape sequence");
    }
    if (simple != nullptr) {
      Advance();
      *out += simple;
      return true;
    }
    Advance();
    char32_t codePoint = 0;
    if (!ParseHex4(&codePoint)) return false;
    if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) return Fail("lone low surrogate");
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
      if (Peek() != '\\' || at_ + 1 >= text_.size() || text_[at_ + 1] != 'u') {
        return Fail("high surrogate without its low surrogate");
      }
      Advance();
      Advance();
      char32_t low = 0;
      if (!ParseHex4(&low)) return false;
      if (low < 0xDC00 || low > 0xDFFF) return Fail("high surrogate without its low surrogate");
      codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
    }
    AppendUtf8(codePoint, out);
    return true;
  }

  // One raw UTF-8 character, checked for overlong forms, surrogates and range.
  bool ParseUtf8(std::string* out) {
    const unsigned char lead = Peek();
    int extra = 0;
    char32_t codePoint = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      codePoint = lead & 0x1F;
      minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      codePoint = lead & 0x0F;
      minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      codePoint = lead & 0x07;
      minimum = 0x10000;
    } else {
      return Fail("malformed UTF-8");
    }
    const size_t start = at_;
    Advance();
    for (int i = 0; i < extra; ++i) {
      if ((Peek() & 0xC0) != 0x80) return Fail("malformed UTF-8");
      codePoint = codePoint << 6 | (Peek() & 0x3F);
      Advance();
    }
    if (codePoint < minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
      return Fail("malformed UTF-8");
    }
    out->append(text_.substr(start, at_ - start));
    return true;
  }

  bool ParseString(std::string* out) {
    Advance();  // the opening quote
    for (;;) {
      if (AtEnd()) return Fail("unterminated string");
      const unsigned char c = Peek();
      if (c == '"') {
        Advance();
        return true;
      }
      if (c < 0x20) return Fail("control character in string (write it as an escape)");
      if (c == '\\') {
        if (!ParseEscape(out)) return false;
      } else if (c < 0x80) {
        *out += static_cast<char>(c);
        Advance();
      } else if (!ParseUtf8(out)) {
        return false;
      }
    }
  }

  bool ParseArray(JsonValue* value, int depth) {
    if (depth > kMaxDepth) return Fail("nested too deeply");
    value->type = JsonType::kArray;
    Advance();
    SkipSpace();
    if (Peek() == ']') {
      Advance();
      return true;
    }
    for (;;) {
      SkipSpace();
      if (!ParseValue(&value->items.emplace_back(), depth)) return false;
      SkipSpace();
      if (Peek() == ']') {
        Advance();
        return true;
      }
      if (!Expect(',')) return false;
    }
  }

  bool ParseObject(JsonValue* value, int depth) {
    if (depth > kMaxDepth) return Fail("nested too deeply");
    value->type = JsonType::kObject;
    Advance();
    SkipSpace();
    if (Peek() == '}') {
      Advance();
      return true;
    }
    // Small objects are checked for repeated keys by a scan, large ones by a set.
    constexpr size_t kScanLimit = 16;
    std::unordered_set<std::string> keys;
    for (;;) {
      SkipSpace();
      if (Peek() != '"') return FailUnexpected();
      const int keyLine = line_;
      const int keyColumn = column_;
      JsonMember member;
      if (!ParseString(&member.key)) return false;
      bool repeated = false;
      if (value->members.size() < kScanLimit) {
        repeated = value->Find(member.key) != nullptr;
      } else {
        if (keys.empty()) {
          for (const JsonMember& earlier : value->members)
            keys.insert(earlier.key);
        }
        repeated = !keys.insert(member.key).second;
      }
      if (repeated) {
        line_ = keyLine;
        column_ = keyColumn;
        return Fail("duplicate key \"" + member.key + "\"");
      }
      SkipSpace();
      if (!Expect(':')) return false;
      SkipSpace();
      if (!ParseValue(&member.value, depth)) return false;
      value->members.push_back(std::move(member));
      SkipSpace();
      if (Peek() == '}') {
        Advance();
        return true;
      }
      if (!Expect(',')) return false;
    }
  }

  std::string_view text_;
  JsonError* error_;
  size_t at_ = 0;
  int line_ = 1;
  int column_ = 1;
};

}  // namespace

bool ParseJson(std::string_view text, JsonValue* value, JsonError* error) {
  *value = JsonValue{};
  return JsonParser(text, error).ParseDocument(value);
}

bool ReadJsonInteger(const JsonValue& value, int64_t* out) {
  if (value.type != JsonType::kNumber) return false;
  if (value.text.find_first_of(".eE") != std::string::npos) return false;
  errno = 0;
  char* end = nullptr;
  const long long parsed = std::strtoll(value.text.c_str(), &end, 10);
  if (errno != 0 || end == value.text.c_str() || *end != '\0') return false;
  *out = parsed;
  return true;
}

bool ReadJsonFloat(const JsonValue& value, float* out) {
  if (value.type == JsonType::kString) {
    if (value.text == "NaN")
      *out = NAN;
    else if (value.text == "Infinity")
      *out = INFINITY;
    else if (value.text == "-Infinity")
      *out = -INFINITY;
    else
      return false;
    return true;
  }
  if (value.type != JsonType::kNumber) return false;
  // Straight from the text to the float: going through double could round twice.
  const float parsed = std::strtof(value.text.c_str(), nullptr);
  if (std::isinf(parsed)) return false;
  *out = parsed;
  return true;
}

// --- Writing -----------------------------------------------------------------

namespace {

constexpr size_t kLineWidth = 100;

void WriteString(std::string_view text, std::string* out) {
  *out += '"';
  for (size_t at = 0; at < text.size(); ++at) {
    const auto c = static_cast<unsigned char>(text[at]);
    switch (c) {
      case '"':
        *out += "\\\"";
        continue;
      case '\\':
        *out += "\\\\";
        continue;
      case '\n':
        *out += "\\n";
        continue;
      case '\r':
        *out += "\\r";
        continue;
      case '\t':
        *out += "\\t";
        continue;
      case '\b':
        *out += "\\b";
        continue;
      case '\f':
        *out += "\\f";
        continue;
      default:
        break;
    }
    // Control characters, DEL and the C1 controls (U+0080 to U+009F, encoded
    // C2 80 to C2 9F) are invisible in an editor: escape them.
    unsigned codePoint = 0x100;
    if (c < 0x20 || c == 0x7F) {
      codePoint = c;
    } else if (c == 0xC2 && at + 1 < text.size() &&
               static_cast<unsigned char>(text[at + 1]) >= 0x80 &&
               static_cast<unsigned char>(text[at + 1]) <= 0x9F) {
      codePoint = static_cast<unsigned char>(text[++at]);
    }
    if (codePoint < 0x100) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04X", codePoint);
      *out += escape;
    } else {
      *out += static_cast<char>(c);
    }
  }
  *out += '"';
}

bool IsScalarOrEmpty(const JsonValue& value) {
  return value.items.empty() && value.members.empty();
}

bool HoldsOnlyScalars(const JsonValue& value) {
  for (const JsonValue& item : value.items) {
    if (!IsScalarOrEmpty(item)) return false;
  }
  for (const JsonMember& member : value.members) {
    if (!IsScalarOrEmpty(member.value)) return false;
  }
  return true;
}

void WriteValue(const JsonValue& value, int depth, std::string* out);

void WriteCompact(const JsonValue& value, std::string* out) {
  WriteValue(value, -1, out);
}

// depth < 0 writes everything on one line.
void WriteValue(const JsonValue& value, int depth, std::string* out) {
  switch (value.type) {
    case JsonType::kNull:
      *out += "null";
      return;
    case JsonType::kBool:
      *out += value.boolean ? "true" : "false";
      return;
    case JsonType::kNumber:
      *out += value.text;
      return;
    case JsonType::kString:
      WriteString(value.text, out);
      return;
    case JsonType::kArray:
    case JsonType::kObject:
      break;
  }
  const bool isArray = value.type == JsonType::kArray;
  const size_t count = isArray ? value.items.size() : value.members.size();
  const char* open = isArray ? "[" : "{";
  const char* close = isArray ? "]" : "}";
  if (count == 0) {
    *out += open;
    *out += close;
    return;
  }
  if (depth >= 0 && HoldsOnlyScalars(value)) {
    std::string line;
    WriteCompact(value, &line);
    if (line.size() + static_cast<size_t>(depth) * 2 <= kLineWidth) {
      *out += line;
      return;
    }
  }
  const bool multiLine = depth >= 0;
  *out += open;
  for (size_t index = 0; index < count; ++index) {
    if (multiLine) {
      *out += '\n';
      out->append(static_cast<size_t>(depth + 1) * 2, ' ');
    }
    if (isArray) {
      WriteValue(value.items[index], multiLine ? depth + 1 : -1, out);
    } else {
      WriteString(value.members[index].key, out);
      *out += ": ";
      WriteValue(value.members[index].value, multiLine ? depth + 1 : -1, out);
    }
    if (index + 1 < count) *out += multiLine ? "," : ", ";
  }
  if (multiLine) {
    *out += '\n';
    out->append(static_cast<size_t>(depth) * 2, ' ');
  }
  *out += close;
}

}  // namespace

std::string WriteJson(const JsonValue& value) {
  std::string out;
  WriteValue(value, 0, &out);
  out += '\n';
  return out;
}

}  // namespace kbh
