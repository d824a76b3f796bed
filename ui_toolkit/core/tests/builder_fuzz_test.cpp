// Mutated and truncated layouts: the builder answers with an error and a
// position inside the text, never a crash (run under ASan and UBSan too).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "skinui/core/layout_builder.h"

namespace skinui {
namespace {

const char kSeed[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Window size="360,180" caption="0,0,0,30" roundcorner="4,4">
  <Font id="0" name="微软雅黑" size="14" default="true" />
  <VerticalLayout bkcolor="#FFFFFFFF">
    <HorizontalLayout height="30" bkcolor="#FFF5FAFE">
      <Label text="温馨提示" width="152" textcolor="#FF303F56" padding="10,0,0,0" />
      <Button name="closebtn" width="24" height="24" normalimage="file='a.png' corner='1,1,1,1'" />
    </HorizontalLayout>
    <TabLayout selectedid="0"><Label/><Edit textpadding="9,0,9,3"/></TabLayout>
    <Progress value="5" isstretchfore="false" foreimage="b.png" />
    <SequenceLabel sequencecount="3" sequencespan="30" sequencebkimage="%.3d.png" />
  </VerticalLayout>
</Window>)";

struct Hook : IBuilderCallback {
  std::unique_ptr<Control> CreateCustomControl(std::wstring_view name) override {
    return CreateStandardCustomControl(name);
  }
};

void CheckOutcome(const std::string& xml) {
  Hook hook;
  Layout layout;
  BuildError error;
  if (BuildLayout(xml, &hook, &layout, &error)) return;
  int max_line = 1;
  for (char c : xml) max_line += c == '\n' ? 1 : 0;
  ASSERT_NE(error.status, BuildStatus::kOk);
  ASSERT_GE(error.line, 1);
  ASSERT_LE(error.line, max_line);
  ASSERT_GE(error.column, 1);
  ASSERT_FALSE(error.message.empty());
}

TEST(BuilderFuzz, SeedBuilds) {
  Hook hook;
  Layout layout;
  BuildError error;
  ASSERT_TRUE(BuildLayout(kSeed, &hook, &layout, &error)) << error.message;
}

TEST(BuilderFuzz, EveryTruncationFailsCleanly) {
  const std::string seed = kSeed;
  for (std::size_t n = 0; n < seed.size(); ++n) {
    SCOPED_TRACE(n);
    CheckOutcome(seed.substr(0, n));
  }
}

TEST(BuilderFuzz, RandomByteMutations) {
  const std::string seed = kSeed;
  std::mt19937 random(20261211);
  const char alphabet[] = "<>/='\"&;#,-0123456789xX \n\t\x80\xff";
  for (int round = 0; round < 3000; ++round) {
    std::string xml = seed;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % xml.size();
      switch (random() % 3) {
        case 0:
          xml[at] = alphabet[random() % (sizeof alphabet - 1)];
          break;
        case 1:
          xml.erase(at, 1 + random() % 8);
          break;
        default:
          xml.insert(at, 1, alphabet[random() % (sizeof alphabet - 1)]);
      }
      if (xml.empty()) xml = "<";
    }
    SCOPED_TRACE(xml);
    CheckOutcome(xml);
  }
}

TEST(BuilderFuzz, DeepNestingIsRefusedNotOverflowed) {
  std::string xml = "<Window>";
  for (int i = 0; i < 5000; ++i) xml += "<VerticalLayout>";
  for (int i = 0; i < 5000; ++i) xml += "</VerticalLayout>";
  xml += "</Window>";
  Layout layout;
  BuildError error;
  EXPECT_FALSE(BuildLayout(xml, nullptr, &layout, &error));
  EXPECT_EQ(error.status, BuildStatus::kBadStructure);
}

}  // namespace
}  // namespace skinui
