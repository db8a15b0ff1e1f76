// A small, strict JSON reader and writer for the command-line tools.
//
// Strict: no comments, no trailing commas, no duplicate keys, no control
// characters or malformed UTF-8 in strings, nothing after the value (a UTF-8
// byte-order mark before it is accepted). Every value remembers where it
// started so that a tool can point at the offending field. Numbers keep their
// text, so an integer is read exactly and a float written with WriteFloat
// reads back as the identical float.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kbh {

enum class JsonType : uint8_t { kNull, kBool, kNumber, kString, kArray, kObject };

struct JsonMember;

struct JsonValue {
  JsonType type = JsonType::kNull;
  bool boolean = false;
  std::string text;  // a string's content (UTF-8), or a number as written
  std::vector<JsonValue> items;
  std::vector<JsonMember> members;  // in the order written
  int line = 0;                     // 1-based position of the value's first character
  int column = 0;

  // The member named key, or null (also for non-objects).
  const JsonValue* Find(std::string_view key) const;
};

struct JsonMember {
  std::string key;
  JsonValue value;
};

// --- Building ----------------------------------------------------------------

JsonValue JsonNull();
JsonValue JsonBool(bool value);
JsonValue JsonInteger(int64_t value);
// Nine significant digits: enough for every float to come back exactly.
// Infinities and NaN have no JSON form; they become the strings "Infinity",
// "-Infinity" and "NaN", which ReadJsonFloat accepts.
JsonValue JsonFloat(float value);
JsonValue JsonString(std::string utf8);
JsonValue JsonArray();
JsonValue JsonObject();
// Appends to an array or an object; returns the new element.
JsonValue& JsonPush(JsonValue& array, JsonValue item);
JsonValue& JsonAdd(JsonValue& object, std::string key, JsonValue value);

// --- Reading -----------------------------------------------------------------

struct JsonError {
  int line = 0;
  int column = 0;
  std::string message;
};

bool ParseJson(std::string_view text, JsonValue* value, JsonError* error);

// An integer number (no fraction, no exponent) that fits; false otherwise.
bool ReadJsonInteger(const JsonValue& value, int64_t* out);
// A number that is a finite float, or one of the strings JsonFloat writes for the
// others.
bool ReadJsonFloat(const JsonValue& value, float* out);

// --- Writing -----------------------------------------------------------------

// Indented by two spaces per level; arrays and objects that hold only scalars
// stay on one line when short. Ends with a line feed.
std::string WriteJson(const JsonValue& value);

}  // namespace kbh
