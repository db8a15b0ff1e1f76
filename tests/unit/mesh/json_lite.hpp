// Just enough JSON for the tests: expected.json of the corpus and the lines
// kbh-mesh prints. Parsing strictly also checks that those lines are JSON.
#pragma once

#include <cctype>
#include <charconv>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kbh::testing {

struct Json {
  enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
  bool boolean = false;
  double number = 0.0;
  std::string text;
  std::vector<Json> items;
  // Keys in the order they appear, for checks of the output form.
  std::vector<std::pair<std::string, Json>> members;

  const Json* Find(std::string_view key) const {
    for (const auto& [name, value] : members) {
      if (name == key) return &value;
    }
    return nullptr;
  }
};

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : text_(text) {}

  // False unless the whole text is one JSON value.
  bool Parse(Json* out) {
    if (!Value(out, 0)) return false;
    SkipSpace();
    return pos_ == text_.size();
  }

 private:
  void SkipSpace() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
      ++pos_;
  }
  bool Eat(char c) {
    SkipSpace();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool Word(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  bool String(std::string* out) {
    if (!Eat('"')) return false;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        *out += c;
        continue;
      }
      if (pos_ >= text_.size()) return false;
      const char e = text_[pos_++];
      if (e == 'u') {
        unsigned code = 0;
        if (pos_ + 4 > text_.size()) return false;
        const auto r = std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, code, 16);
        if (r.ptr != text_.data() + pos_ + 4) return false;
        pos_ += 4;
        if (code >= 0x80) return false;  // the tests only need ASCII escapes decoded
        *out += static_cast<char>(code);
      } else if (std::string_view("\"\\/").find(e) != std::string_view::npos) {
        *out += e;
      } else if (e == 'n') {
        *out += '\n';
      } else if (e == 't') {
        *out += '\t';
      } else {
        return false;
      }
    }
    return false;
  }

  bool Value(Json* out, int depth) {
    if (depth > 32) return false;
    SkipSpace();
    if (pos_ >= text_.size()) return false;
    const char c = text_[pos_];
    if (c == '{') {
      ++pos_;
      out->kind = Json::Kind::Object;
      if (Eat('}')) return true;
      do {
        std::string key;
        Json value;
        if (!String(&key) || !Eat(':') || !Value(&value, depth + 1)) return false;
        out->members.emplace_back(std::move(key), std::move(value));
      } while (Eat(','));
      return Eat('}');
    }
    if (c == '[') {
      ++pos_;
      out->kind = Json::Kind::Array;
      if (Eat(']')) return true;
      do {
        out->items.emplace_back();
        if (!Value(&out->items.back(), depth + 1)) return false;
      } while (Eat(','));
      return Eat(']');
    }
    if (c == '"') {
      out->kind = Json::Kind::String;
      return String(&out->text);
    }
    if (Word("true") || Word("false")) {
      out->kind = Json::Kind::Bool;
      out->boolean = c == 't';
      return true;
    }
    if (Word("null")) return true;
    out->kind = Json::Kind::Number;
    const auto r = std::from_chars(text_.data() + pos_, text_.data() + text_.size(), out->number);
    if (r.ec != std::errc() || r.ptr == text_.data() + pos_) return false;
    pos_ = static_cast<size_t>(r.ptr - text_.data());
    return true;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace kbh::testing
