#include "tools/common/json.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace kbh {
namespace {

JsonValue MustParse(std::string_view text) {
  JsonValue value;
  JsonError error;
  EXPECT_TRUE(ParseJson(text, &value, &error))
      << error.line << ":" << error.column << " " << error.message;
  return value;
}

TEST(Json, ReadsEveryKindOfValueWithPositions) {
  const JsonValue root =
      MustParse("{\"a\": [true, false, null],\n \"b\": -12.5e3, \"c\": {}, \"d\": \"x\"}");
  ASSERT_EQ(root.type, JsonType::kObject);
  ASSERT_EQ(root.members.size(), 4u);
  const JsonValue& array = *root.Find("a");
  ASSERT_EQ(array.items.size(), 3u);
  EXPECT_TRUE(array.items[0].boolean);
  EXPECT_EQ(array.items[1].type, JsonType::kBool);
  EXPECT_FALSE(array.items[1].boolean);
  EXPECT_EQ(array.items[2].type, JsonType::kNull);
  EXPECT_EQ(root.Find("b")->text, "-12.5e3");
  EXPECT_EQ(root.Find("b")->line, 2);
  EXPECT_EQ(root.Find("b")->column, 7);
  EXPECT_EQ(root.Find("c")->type, JsonType::kObject);
  EXPECT_EQ(root.Find("missing"), nullptr);
}

TEST(Json, DecodesEveryEscapeIncludingSurrogatePairs) {
  const JsonValue value = MustParse(R"("\"\\\/\b\f\n\r\t\u00e9\u20AC\ud83d\ude00")");
  EXPECT_EQ(value.text, "\"\\/\b\f\n\r\t\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(MustParse("\"\xC3\xA4\xE2\x82\xAC\"").text, "\xC3\xA4\xE2\x82\xAC");
  EXPECT_EQ(MustParse("\xEF\xBB\xBF [] ").type, JsonType::kArray);  // byte-order mark
}

struct BadJson {
  const char* text;
  int line;
  int column;
  const char* message;
};

TEST(Json, RefusesWhatIsNotStrictJsonAndSaysWhere) {
  const BadJson cases[] = {
      {"", 1, 1, "unexpected end of input"},
      {"{\n  \"a\": 1,\n}", 3, 1, "unexpected character '}'"},
      {"[1, 2,]", 1, 7, "unexpected character ']'"},
      {"[01]", 1, 3, "leading zeros"},
      {"[1.]", 1, 4, "unexpected character ']'"},
      {"{\"a\": 1, \"a\": 2}", 1, 10, "duplicate key \"a\""},
      {"{\"\xC3\xA4\": x}", 1, 7, "unexpected character 'x'"},  // columns count characters
      {"\"\\ud800\"", 1, 8, "high surrogate without its low surrogate"},
      {"\"\\ud800\\u0041\"", 1, 14, "high surrogate without its low surrogate"},
      {"\"\\udc00\"", 1, 8, "lone low surrogate"},
      {"\"\\x\"", 1, 3, "unknown escape"},
      {"\"\\u12G4\"", 1, 6, "four hexadecimal digits"},
      {"\"a\tb\"", 1, 3, "control character"},
      {"\"\xC3\"", 1, 3, "malformed UTF-8"},
      {"\"\xC0\xAF\"", 1, 2, "malformed UTF-8"},          // overlong
      {"\"\xED\xA0\x80\"", 1, 3, "malformed UTF-8"},      // a surrogate
      {"\"\xF4\x90\x80\x80\"", 1, 3, "malformed UTF-8"},  // beyond U+10FFFF
      {"\"open", 1, 6, "unterminated string"},
      {"[1] x", 1, 5, "unexpected text after the value"},
      {"// no\n1", 1, 1, "unexpected character '/'"},
  };
  for (const BadJson& bad : cases) {
    JsonValue value;
    JsonError error;
    EXPECT_FALSE(ParseJson(bad.text, &value, &error)) << bad.text;
    EXPECT_EQ(error.line, bad.line) << bad.text;
    EXPECT_EQ(error.column, bad.column) << bad.text;
    EXPECT_NE(error.message.find(bad.message), std::string::npos)
        << bad.text << ": " << error.message;
  }
}

TEST(Json, DeepNestingIsRefusedInsteadOfExhaustingTheStack) {
  JsonValue value;
  JsonError error;
  EXPECT_TRUE(ParseJson(std::string(200, '[') + std::string(200, ']'), &value, &error));
  EXPECT_FALSE(ParseJson(std::string(100000, '['), &value, &error));
  EXPECT_EQ(error.message, "nested too deeply");
}

TEST(Json, IntegersAreReadExactlyOrNotAtAll) {
  int64_t out = 0;
  EXPECT_TRUE(ReadJsonInteger(MustParse("-9007199254740993"), &out));
  EXPECT_EQ(out, -9007199254740993);
  EXPECT_FALSE(ReadJsonInteger(MustParse("1.0"), &out));
  EXPECT_FALSE(ReadJsonInteger(MustParse("1e2"), &out));
  EXPECT_FALSE(ReadJsonInteger(MustParse("99999999999999999999"), &out));
  EXPECT_FALSE(ReadJsonInteger(MustParse("\"1\""), &out));
}

float ThroughText(float value) {
  JsonValue array = JsonArray();
  JsonPush(array, JsonFloat(value));
  const JsonValue back = MustParse(WriteJson(array));
  float out = 0;
  EXPECT_TRUE(ReadJsonFloat(back.items.at(0), &out)) << WriteJson(array);
  return out;
}

TEST(Json, EveryFloatComesBackBitForBit) {
  const float edges[] = {0.0f,
                         -0.0f,
                         0.1f,
                         1.0f / 3.0f,
                         16777217.0f,
                         std::numeric_limits<float>::max(),
                         std::numeric_limits<float>::lowest(),
                         std::numeric_limits<float>::min(),
                         std::numeric_limits<float>::denorm_min(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
  for (float value : edges) {
    EXPECT_EQ(std::bit_cast<uint32_t>(ThroughText(value)), std::bit_cast<uint32_t>(value)) << value;
  }
  EXPECT_TRUE(std::isnan(ThroughText(std::numeric_limits<float>::quiet_NaN())));
  std::mt19937 random(7);
  for (int index = 0; index < 20000; ++index) {
    const float value = std::bit_cast<float>(static_cast<uint32_t>(random()));
    if (!std::isfinite(value)) continue;
    ASSERT_EQ(std::bit_cast<uint32_t>(ThroughText(value)), std::bit_cast<uint32_t>(value)) << value;
  }
  // The shortest form that reads back is chosen.
  EXPECT_EQ(JsonFloat(0.1f).text, "0.1");
  EXPECT_EQ(JsonFloat(-2.5f).text, "-2.5");
  float tooBig = 0;
  EXPECT_FALSE(ReadJsonFloat(MustParse("1e39"), &tooBig));
}

TEST(Json, WritingEscapesWhatAnEditorWouldHideAndReadsBackTheSame) {
  JsonValue root = JsonObject();
  JsonAdd(root, "text",
          JsonString("tab\tquote\"slash\\nul" + std::string(1, '\0') +
                     "\x7F"
                     "c1\xC2\x81"
                     "\xC3\xA4"));
  JsonAdd(root, "list", JsonArray());
  JsonValue& short_ = JsonAdd(root, "short", JsonArray());
  JsonPush(short_, JsonInteger(1));
  JsonPush(short_, JsonBool(true));
  const std::string text = WriteJson(root);
  EXPECT_EQ(text,
            "{\n"
            "  \"text\": \"tab\\tquote\\\"slash\\\\nul\\u0000\\u007Fc1\\u0081\xC3\xA4\",\n"
            "  \"list\": [],\n"
            "  \"short\": [1, true]\n"
            "}\n");
  EXPECT_EQ(MustParse(text).Find("text")->text, root.Find("text")->text);
}

}  // namespace
}  // namespace kbh
