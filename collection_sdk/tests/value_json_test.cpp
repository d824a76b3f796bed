// Property nodes, the compact JSON serializer and the SDK's checks.
#include <gtest/gtest.h>

#include <string>

#include "collect_sdk/validation.h"
#include "collect_sdk/value_node.h"
#include "utils/calendar.h"

namespace {

using collect_sdk::PropertiesNode;
using collect_sdk::ValueNode;

std::string StderrOf(bool (*check)(const std::string&, const std::string&), const std::string& name,
                     const std::string& value, bool* result) {
  testing::internal::CaptureStderr();
  *result = check(name, value);
  return testing::internal::GetCapturedStderr();
}

struct CheckCase {
  const char* label;
  std::string value;
  bool passes;
  std::string message;
};

TEST(Validation, NameCheckAcceptsVariableNamesAndQuotesItsMessages) {
  const std::string tooLong = "Event Name is empty or too long, max length is 100";
  const std::string invalid = "Event Name need to be a valid variable name.";
  const CheckCase cases[] = {
      {"dollar start", "$AppStart", true, ""},
      {"underscore", "_x", true, ""},
      {"letter digit", "A9", true, ""},
      {"100 bytes", std::string(100, 'a'), true, ""},
      {"101 bytes", std::string(101, 'a'), false, "The " + tooLong},
      {"empty", "", false, "The " + tooLong},
      {"digit first", "9a", false, "The " + invalid},
      {"hyphen", "a-b", false, "The " + invalid},
      {"space", "a b", false, "The " + invalid},
      {"non-ASCII", "\xC3\xA9t\xC3\xA9", false, "The " + invalid},
  };
  for (const CheckCase& c : cases) {
    bool result = false;
    const std::string err = StderrOf(collect_sdk::CheckName, "Event Name", c.value, &result);
    EXPECT_EQ(result, c.passes) << c.label;
    EXPECT_EQ(err, c.message) << c.label;  // no newline after these two
  }
}

TEST(Validation, IdCheckLimitsLengthTo255Bytes) {
  const CheckCase cases[] = {
      {"one byte", "a", true, ""},
      {"255 bytes", std::string(255, 'x'), true, ""},
      {"256 bytes", std::string(256, 'x'), false, "The Distinct ID is too long, max length is 255.\n"},
      {"empty", "", false, "The Distinct ID is empty.\n"},
  };
  for (const CheckCase& c : cases) {
    bool result = false;
    const std::string err = StderrOf(collect_sdk::CheckId, "Distinct ID", c.value, &result);
    EXPECT_EQ(result, c.passes) << c.label;
    EXPECT_EQ(err, c.message) << c.label;
  }
}

TEST(Validation, StrictUtf8RefusesControlBytesBadSequencesAndCutOffs) {
  const struct {
    const char* label;
    std::string value;
    bool valid;
  } cases[] = {
      {"empty", "", true},
      {"ASCII with tab, LF, CR", "a\tb\nc\rd ~", true},
      {"two bytes", "\xC3\xA9", true},
      {"three bytes", "\xE4\xB8\xAD\xE6\x96\x87", true},
      {"E0 lower bound", "\xE0\xA0\x80", true},
      {"ED below surrogates", "\xED\x9F\xBF", true},
      {"four bytes", "\xF0\x9F\x98\x80", true},
      {"F4 upper bound", "\xF4\x8F\xBF\xBF", true},
      {"control 0x01", "a\x01", false},
      {"DEL", "\x7F", false},
      {"lone C3", "\xC3", false},
      {"overlong C0", "\xC0\xAF", false},
      {"overlong E0", "\xE0\x9F\xBF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"overlong F0", "\xF0\x8F\xBF\xBF", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false},
      {"cut off three", "\xE4\xB8", false},
      {"stray continuation", "\x80", false},
  };
  for (const auto& c : cases) EXPECT_EQ(collect_sdk::IsValidUtf8(c.value), c.valid) << c.label;
}

TEST(Validation, StringSetterRefusesLongOrInvalidValuesAndKeepsTheOldEntry) {
  PropertiesNode node;
  EXPECT_TRUE(node.SetString("k", std::string(8192, 'a')));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(node.SetString("k", std::string(8193, 'b')));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "String property 'k' is too long, value: " + std::string(8193, 'b') + "\n");
  ASSERT_NE(node.Find("k"), nullptr);
  EXPECT_EQ(node.Find("k")->AsString(), std::string(8192, 'a'));

  testing::internal::CaptureStderr();
  EXPECT_FALSE(node.SetString("u", "x\xC3"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "String property 'u' is not valid UTF-8 string, value: x\xC3\n");
  EXPECT_FALSE(node.Has("u"));
  EXPECT_FALSE(node.SetString("n", static_cast<const char*>(nullptr)));
}

TEST(Validation, PropertyCheckNamesKeyTimeAndProjectFaults) {
  const struct {
    const char* label;
    PropertiesNode node;
    std::string message;
  } cases[] = {
      {"bad key", [] { PropertiesNode n; n.SetBool("a b", true); return n; }(),
       "The Property Key need to be a valid variable name."},
      {"$time as string", [] { PropertiesNode n; n.SetString("$time", "now"); return n; }(),
       "The property '$time' should be DateTime type."},
      {"$project as int", [] { PropertiesNode n; n.SetNumber("$project", 1); return n; }(),
       "The property '$project' should be String type."},
      {"fine", [] { PropertiesNode n; n.SetDateTime("$time", 1, 2); n.SetString("$project", "p"); return n; }(),
       ""},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    const bool ok = c.node.Check();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message) << c.label;
    EXPECT_EQ(ok, c.message.empty()) << c.label;
  }
}

TEST(Json, NumbersUseGeneralFormatAndIntegersStayExact) {
  const struct {
    double value;
    const char* json;
  } numbers[] = {{3.5, "3.5"},       {1234567.0, "1.23457e+06"}, {0.00001, "1e-05"}, {100000.0, "100000"},
                 {0.0001, "0.0001"}, {-2.0, "-2"},               {1e100, "1e+100"}};
  for (const auto& n : numbers) EXPECT_EQ(ValueNode::Number(n.value).GetType(), ValueNode::NUMBER);
  for (const auto& n : numbers) {
    PropertiesNode node;
    node.SetNumber("v", n.value);
    EXPECT_EQ(node.ToJson(), std::string("{\"v\":") + n.json + "}") << n.json;
  }
  PropertiesNode node;
  node.SetNumber("i", -7);  // int overload: INT
  node.SetInt("big", 9007199254740993LL);
  node.SetNumber("inf", 1.0 / 0.0);  // no JSON form: null keeps the batch parseable
  EXPECT_EQ(node.Find("i")->GetType(), ValueNode::INT);
  EXPECT_EQ(node.ToJson(), "{\"big\":9007199254740993,\"i\":-7,\"inf\":null}");
}

TEST(Json, StringsEscapeExactlySevenBytes) {
  PropertiesNode node;
  ASSERT_TRUE(node.SetString("s", "q\"b\\t\tn\nr\r/ \xC3\xA9"));
  EXPECT_EQ(node.ToJson(), "{\"s\":\"q\\\"b\\\\t\\tn\\nr\\r/ \xC3\xA9\"}");
  node.SetList("l", {"a\bb\fc", ""});
  EXPECT_EQ(node.ToJson(), "{\"l\":[\"a\\bb\\fc\",\"\"],\"s\":\"q\\\"b\\\\t\\tn\\nr\\r/ \xC3\xA9\"}");
}

TEST(Json, KeysFollowByteOrderAndNestedObjectsAreDeepCopies) {
  PropertiesNode inner;
  inner.SetBool("z", false);
  PropertiesNode node;
  node.SetBool("b", true);
  node.SetObject("a", inner);
  node.SetString("B", "upper first");
  node.SetString("ab", "prefix after a");
  node.SetList("e", {});
  inner.SetBool("changed", true);  // the stored copy is unaffected
  EXPECT_EQ(node.ToJson(), "{\"B\":\"upper first\",\"a\":{\"z\":false},\"ab\":\"prefix after a\",\"b\":true,\"e\":[]}");
  PropertiesNode copy = node;
  copy.SetBool("b", false);
  EXPECT_TRUE(node.Find("b")->AsBool());
}

TEST(Json, DateTimeIsLocalTimeWithMilliseconds) {
  const int64_t seconds = 1700000000;
  Utils::LocalTime t{};
  ASSERT_TRUE(Utils::ToLocalCalendarTime(seconds, 7, &t));
  char expected[64];
  std::snprintf(expected, sizeof expected, "{\"d\":\"%04d-%02d-%02d %02d:%02d:%02d.007\"}", t.year, t.month, t.day,
                t.hour, t.minute, t.second);
  PropertiesNode node;
  node.SetDateTime("d", seconds, 7);
  EXPECT_EQ(node.ToJson(), expected);
}

TEST(Json, MergeReplacesSameNamedEntries) {
  PropertiesNode base;
  base.SetString("keep", "1");
  base.SetString("over", "old");
  PropertiesNode other;
  other.SetNumber("over", 2);
  base.Merge(other);
  EXPECT_EQ(base.ToJson(), "{\"keep\":\"1\",\"over\":2}");
  base.Merge(base);
  EXPECT_EQ(base.Size(), 2u);
}

}  // namespace
