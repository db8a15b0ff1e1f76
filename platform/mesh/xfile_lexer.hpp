// Tokenisers of the two .x bodies (text and binary). Both hand the parser the
// same token kinds and the same number readers, so one parser, a template over
// the lexer, reads both encodings without a virtual call per number. Nothing
// here allocates: names and strings are views into the body.
#pragma once

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace kbh {

enum class XTokenKind {
  kEnd,
  kInvalid,  // the lexer's Problem() says why
  kName,     // an identifier; in text also anything else that is not punctuation
  kString,   // a quoted string (without its quotes)
  kGuid,     // <...> in text, a GUID record in binary
  kOpenBrace,
  kCloseBrace,
  kSeparator,  // ';' or ','
  kNumber,     // binary only: a whole integer or float record
  kTemplate,   // the keyword that starts a template declaration
  kOther       // brackets, parentheses, the binary type keywords
};

struct XToken {
  XTokenKind kind = XTokenKind::kEnd;
  std::string_view text;
};

// ASCII letters compared without case, for template names written by hand.
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// --- Text ------------------------------------------------------------------

class XTextLexer {
 public:
  XTextLexer(const char* begin, const char* end) : begin_(begin), p_(begin), end_(end) {}

  XToken Next() {
    SkipBlank();
    if (p_ == end_) return {XTokenKind::kEnd, {}};
    const char c = *p_;
    switch (c) {
      case '{':
        ++p_;
        return {XTokenKind::kOpenBrace, {}};
      case '}':
        ++p_;
        return {XTokenKind::kCloseBrace, {}};
      case ';':
      case ',':
        ++p_;
        return {XTokenKind::kSeparator, {}};
      case '"':
      case '<': {
        const char close = c == '"' ? '"' : '>';
        const char* stop = static_cast<const char*>(
            std::memchr(p_ + 1, close, static_cast<size_t>(end_ - p_ - 1)));
        if (!stop) {
          problem_ = c == '"' ? "unterminated string" : "unterminated GUID";
          return {XTokenKind::kInvalid, {}};
        }
        const std::string_view text(p_ + 1, static_cast<size_t>(stop - p_ - 1));
        p_ = stop + 1;
        return {c == '"' ? XTokenKind::kString : XTokenKind::kGuid, text};
      }
      case '[':
      case ']':
      case '(':
      case ')':
      case '>':
        ++p_;
        return {XTokenKind::kOther, {}};
      default: {
        const char* start = p_;
        p_ = WordEnd(p_);
        const std::string_view word(start, static_cast<size_t>(p_ - start));
        if (EqualsNoCase(word, "template")) return {XTokenKind::kTemplate, word};
        return {XTokenKind::kName, word};
      }
    }
  }

  bool ReadUInt(uint32_t* value) {
    const char* start = NumberStart();
    if (!start) return false;
    const char* stop = WordEnd(start);
    const auto result = std::from_chars(start, stop, *value);
    if (result.ec == std::errc() && result.ptr == stop) {
      p_ = stop;
      return true;
    }
    // Some exporters write counts and indices as "3.000000".
    float f = 0.0f;
    if (ParseFloat(start, stop, &f) && f >= 0.0f && f < 4294967296.0f && std::floor(f) == f) {
      *value = static_cast<uint32_t>(f);
      p_ = stop;
      return true;
    }
    problem_ = "expected a whole number";
    return false;
  }

  bool ReadFloat(float* value) {
    const char* start = NumberStart();
    if (!start) return false;
    const char* stop = WordEnd(start);
    if (!ParseFloat(start, stop, value)) {
      problem_ = "expected a number";
      return false;
    }
    p_ = stop;
    return true;
  }

  // Numbers need at least one character and one separator between them.
  size_t MaxNumbersLeft() const { return (static_cast<size_t>(end_ - p_) + 1) / 2; }
  std::string_view Problem() const { return problem_; }
  std::string Where() const {
    size_t line = 1;
    for (const char* q = begin_; q < p_; ++q)
      line += *q == '\n';
    return "line " + std::to_string(line);
  }

 private:
  enum : uint8_t { kBlank = 1, kDelimiter = 2 };
  static constexpr std::array<uint8_t, 256> kClasses = [] {
    std::array<uint8_t, 256> classes{};
    // NUL and Ctrl-Z pad the end of some old files.
    for (const unsigned char c : {' ', '\t', '\r', '\n', '\v', '\f', '\0', '\x1a'}) {
      classes[c] = kBlank | kDelimiter;
    }
    for (const unsigned char c : {'{', '}', ';', ',', '"', '<', '>', '[', ']', '(', ')'}) {
      classes[c] = kDelimiter;
    }
    return classes;
  }();

  static uint8_t ClassOf(char c) { return kClasses[static_cast<unsigned char>(c)]; }

  const char* WordEnd(const char* q) const {
    while (q < end_ && !(ClassOf(*q) & kDelimiter))
      ++q;
    return q;
  }

  void SkipBlank() {
    while (p_ < end_) {
      if (ClassOf(*p_) & kBlank) {
        ++p_;
      } else if (*p_ == '#' || (*p_ == '/' && p_ + 1 < end_ && p_[1] == '/')) {
        const void* newline = std::memchr(p_, '\n', static_cast<size_t>(end_ - p_));
        p_ = newline ? static_cast<const char*>(newline) : end_;
      } else {
        break;
      }
    }
  }

  // Skips blanks and separators; the start of the number's word, or null
  // (with the problem set) when the next thing is not a word.
  const char* NumberStart() {
    for (;;) {
      SkipBlank();
      if (p_ == end_) {
        problem_ = "unexpected end of file";
        return nullptr;
      }
      if (*p_ != ';' && *p_ != ',') break;
      ++p_;
    }
    if (ClassOf(*p_) & kDelimiter) {
      problem_ = "expected a number";
      return nullptr;
    }
    return p_;
  }

  static bool ParseFloat(const char* start, const char* stop, float* value) {
    const char* first = start;
    if (first < stop && *first == '+') ++first;
    auto result = std::from_chars(first, stop, *value);
    if (result.ec == std::errc::result_out_of_range) {
      // Beyond float's range: round through double to zero or infinity.
      double wide = 0.0;
      result = std::from_chars(first, stop, wide);
      *value = static_cast<float>(wide);
    }
    if (result.ec != std::errc() && result.ec != std::errc::result_out_of_range) return false;
    if (result.ptr == stop) return true;
    // The Windows C library prints non-finite values as "1.#INF00",
    // "-1.#IND00" or "1.#QNAN0".
    const std::string_view rest(result.ptr, static_cast<size_t>(stop - result.ptr));
    if (rest.starts_with("#INF")) {
      *value = *start == '-' ? -std::numeric_limits<float>::infinity()
                             : std::numeric_limits<float>::infinity();
      return true;
    }
    if (rest.starts_with("#IND") || rest.starts_with("#QNAN") || rest.starts_with("#SNAN")) {
      *value = std::numeric_limits<float>::quiet_NaN();
      return true;
    }
    return false;
  }

  const char* begin_;
  const char* p_;
  const char* end_;
  const char* problem_ = "";
};

// --- Binary ----------------------------------------------------------------

class XBinaryLexer {
 public:
  // floatBytes is 4 or 8, from the header's float size.
  XBinaryLexer(const uint8_t* begin, const uint8_t* end, size_t floatBytes)
      : begin_(begin), p_(begin), end_(end), floatBytes_(floatBytes) {}

  XToken Next() {
    if (listLeft_ > 0) {
      // The caller wants structure: the rest of an open list is skipped whole.
      p_ += static_cast<size_t>(listLeft_) * ItemBytes();
      listLeft_ = 0;
      return {XTokenKind::kNumber, {}};
    }
    if (p_ == end_) return {XTokenKind::kEnd, {}};
    if (Left() < 2) return Invalid("truncated token");
    const uint32_t token = U16(p_);
    p_ += 2;
    switch (token) {
      case kName:
      case kString: {
        if (Left() < 4) return Invalid("truncated name");
        const uint32_t length = U32(p_);
        if (length > Left() - 4) return Invalid("name runs past the end");
        const std::string_view text(reinterpret_cast<const char*>(p_ + 4), length);
        p_ += 4 + size_t{length};
        if (token == kName) return {XTokenKind::kName, text};
        // The record ends with a separator token, which writers store as a
        // 16-bit or a 32-bit value.
        if (Left() >= 2 && (U16(p_) == kComma || U16(p_) == kSemicolon)) {
          p_ += 2;
          if (Left() >= 2 && U16(p_) == 0) p_ += 2;
        }
        return {XTokenKind::kString, text};
      }
      case kInteger:
        if (Left() < 4) return Invalid("truncated integer");
        p_ += 4;
        return {XTokenKind::kNumber, {}};
      case kGuid:
        if (Left() < 16) return Invalid("truncated GUID");
        p_ += 16;
        return {XTokenKind::kGuid, {}};
      case kIntegerList:
      case kFloatList:
        if (!OpenList(token)) return {XTokenKind::kInvalid, {}};
        p_ += static_cast<size_t>(listLeft_) * ItemBytes();
        listLeft_ = 0;
        return {XTokenKind::kNumber, {}};
      case kOpenBrace:
        return {XTokenKind::kOpenBrace, {}};
      case kCloseBrace:
        return {XTokenKind::kCloseBrace, {}};
      case kComma:
      case kSemicolon:
        return {XTokenKind::kSeparator, {}};
      case kTemplate:
        return {XTokenKind::kTemplate, {}};
      case 0:
        // Zero padding to the end of the body is harmless.
        if (std::all_of(p_, end_, [](uint8_t b) { return b == 0; })) {
          p_ = end_;
          return {XTokenKind::kEnd, {}};
        }
        break;
      default:
        if ((token >= 12 && token <= 18) || (token >= 40 && token <= 52)) {
          return {XTokenKind::kOther, {}};
        }
        break;
    }
    p_ -= 2;
    return Invalid("unknown token");
  }

  bool ReadUInt(uint32_t* value) {
    for (;;) {
      if (listLeft_ > 0) {
        --listLeft_;
        if (listIsFloat_) {
          const double f = TakeFloat();
          if (!(f >= 0.0 && f < 4294967296.0 && std::floor(f) == f)) {
            problem_ = "expected a whole number";
            return false;
          }
          *value = static_cast<uint32_t>(f);
        } else {
          *value = U32(p_);
          p_ += 4;
        }
        return true;
      }
      if (!NextNumberRecord(value)) return false;
      if (!opened_) return true;
    }
  }

  bool ReadFloat(float* value) {
    for (;;) {
      if (listLeft_ > 0) {
        --listLeft_;
        if (listIsFloat_) {
          *value = static_cast<float>(TakeFloat());
        } else {
          *value = static_cast<float>(U32(p_));
          p_ += 4;
        }
        return true;
      }
      uint32_t single = 0;
      if (!NextNumberRecord(&single)) return false;
      if (!opened_) {
        *value = static_cast<float>(single);
        return true;
      }
    }
  }

  // Every number takes at least four bytes.
  size_t MaxNumbersLeft() const { return Left() / 4; }
  std::string_view Problem() const { return problem_; }
  std::string Where() const { return "body offset " + std::to_string(p_ - begin_); }

 private:
  enum : uint32_t {
    kName = 1,
    kString = 2,
    kInteger = 3,
    kGuid = 5,
    kIntegerList = 6,
    kFloatList = 7,
    kOpenBrace = 10,
    kCloseBrace = 11,
    kComma = 19,
    kSemicolon = 20,
    kTemplate = 31
  };

  static uint32_t U16(const uint8_t* q) { return uint32_t{q[0]} | uint32_t{q[1]} << 8; }
  static uint32_t U32(const uint8_t* q) { return U16(q) | U16(q + 2) << 16; }

  size_t Left() const { return static_cast<size_t>(end_ - p_); }
  size_t ItemBytes() const { return listIsFloat_ ? floatBytes_ : 4; }

  XToken Invalid(const char* problem) {
    problem_ = problem;
    return {XTokenKind::kInvalid, {}};
  }

  double TakeFloat() {
    double result;
    if (floatBytes_ == 8) {
      uint64_t bits = uint64_t{U32(p_)} | uint64_t{U32(p_ + 4)} << 32;
      std::memcpy(&result, &bits, 8);
    } else {
      const uint32_t bits = U32(p_);
      float narrow;
      std::memcpy(&narrow, &bits, 4);
      result = narrow;
    }
    p_ += floatBytes_;
    return result;
  }

  // p_ is just past a list token: reads its count and checks it against the
  // bytes that remain.
  bool OpenList(uint32_t token) {
    if (Left() < 4) {
      problem_ = "truncated list";
      return false;
    }
    const uint32_t count = U32(p_);
    const size_t itemBytes = token == kFloatList ? floatBytes_ : 4;
    if (count > (Left() - 4) / itemBytes) {
      problem_ = "list runs past the end";
      return false;
    }
    p_ += 4;
    listLeft_ = count;
    listIsFloat_ = token == kFloatList;
    return true;
  }

  // Skips separators to the next number record: a single integer goes to
  // *single (opened_ false), a list is opened (opened_ true).
  bool NextNumberRecord(uint32_t* single) {
    for (;;) {
      if (Left() < 2) {
        problem_ = "unexpected end of file";
        return false;
      }
      const uint32_t token = U16(p_);
      if (token == kComma || token == kSemicolon) {
        p_ += 2;
        continue;
      }
      if (token == kInteger) {
        if (Left() < 6) {
          problem_ = "truncated integer";
          return false;
        }
        *single = U32(p_ + 2);
        p_ += 6;
        opened_ = false;
        return true;
      }
      if (token == kIntegerList || token == kFloatList) {
        p_ += 2;
        if (!OpenList(token)) return false;
        opened_ = true;
        return true;
      }
      problem_ = "expected a number";
      return false;
    }
  }

  const uint8_t* begin_;
  const uint8_t* p_;
  const uint8_t* end_;
  size_t floatBytes_;
  uint32_t listLeft_ = 0;
  bool listIsFloat_ = false;
  bool opened_ = false;
  const char* problem_ = "";
};

}  // namespace kbh
