// Attribute value parsing and the layout builder's reading of elements,
// attributes, fonts and Window attributes, and its errors with positions.
#include <gtest/gtest.h>

#include "skinui/core/attribute_parse.h"
#include "skinui/core/button.h"
#include "skinui/core/check_box.h"
#include "skinui/core/container.h"
#include "skinui/core/layout_builder.h"
#include "skinui/core/progress.h"
#include "skinui/core/sequence_controls.h"

namespace skinui {
namespace {

TEST(AttributeParse, NumbersListsAndBooleans) {
  struct Case {
    const char* text;
    bool ok;
    Rect rect;
  } cases[] = {
      {"1,2,3,4", true, {1, 2, 3, 4}},   {" 1 , -2,3 ,4 ", true, {1, -2, 3, 4}},
      {"1,2,3", false, {}},              {"1,2,3,4,5", false, {}},
      {"1,2,x,4", false, {}},            {"", false, {}},
      {"1,,3,4", false, {}},             {"+5,0,0,0", true, {5, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Rect r{9, 9, 9, 9};
    EXPECT_EQ(ParseRectValue(c.text, &r), c.ok) << c.text;
    if (c.ok) EXPECT_EQ(r, c.rect) << c.text;
    if (!c.ok) EXPECT_EQ(r, (Rect{9, 9, 9, 9})) << "unchanged on failure: " << c.text;
  }
  bool b = false;
  EXPECT_TRUE(ParseBoolValue("TRUE", &b));
  EXPECT_TRUE(b);
  EXPECT_TRUE(ParseBoolValue("False", &b));
  EXPECT_FALSE(b);
  EXPECT_FALSE(ParseBoolValue("yes", &b));
  int n = 0;
  EXPECT_FALSE(ParseIntValue("12px", &n));
  EXPECT_FALSE(ParseIntValue("99999999999", &n));
  Argb c = 0;
  EXPECT_TRUE(ParseColorValue("#26003B76", &c));
  EXPECT_EQ(c, 0x26003B76u);
  EXPECT_TRUE(ParseColorValue("0xFF227EFA", &c));
  EXPECT_EQ(c, 0xFF227EFAu);
}

const char kLayout[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Window size="600,400" caption="0,0,0,35" roundcorner="2,2" showshadow="true" shadowsize="6"
        shadowcolor="#26003B76" ShadowPosition="1,1" mininfo="300,200">
  <Font id="0" name="微软雅黑" size="14" default="true" />
  <Font id="3" name="微软雅黑" size="12" underline="true" bold="true" />
  <VerticalLayout name="winCtn" bkimage="res\mainWnd\bg1.png">
    <HorizontalLayout height="45">
      <Control width="10" />
      <TabLayout name="titleTabLt" width="200" selectedid="1">
        <Control />
        <Button name="backBtn" width="46" height="18" FONT="0" align="left" textcolor="#FF303F56"
                hottextcolor="#FF59CB8F" pushedtextcolor="#FF11A557" hotborercolor="#FF59CB8F" />
      </TabLayout>
    </HorizontalLayout>
    <CheckBox name="treatyCb" width="68" visible="false" selected="true" textpadding="26,0,0,0"
              userdata="agree" />
    <Progress name="installPrg" width="410" isstretchfore="false" value="30" />
    <SequenceLabel name="anim" sequencebkimage="a\%.3d.png" sequencecount="5" sequencespan="40"
                   sequenceloop="False" autostart="false" SequenceRound="FALSE" />
  </VerticalLayout>
</Window>)";

struct Hook : IBuilderCallback {
  std::unique_ptr<Control> CreateCustomControl(std::wstring_view name) override {
    asked.emplace_back(name);
    return CreateStandardCustomControl(name);
  }
  std::vector<std::wstring> asked;
};

TEST(LayoutBuilder, ReadsElementsAttributesFontsAndWindow) {
  Hook hook;
  Layout layout;
  BuildError error;
  ASSERT_TRUE(BuildLayout(kLayout, &hook, &layout, &error)) << error.message;
  ASSERT_NE(layout.root, nullptr);
  EXPECT_EQ(layout.root->GetClass(), L"VerticalLayout");
  EXPECT_EQ(layout.window.size, (Size{600, 400}));
  EXPECT_EQ(layout.window.caption, (Rect{0, 0, 0, 35}));
  EXPECT_EQ(layout.window.round_corner, (Size{2, 2}));
  EXPECT_EQ(layout.window.min_info, (Size{300, 200}));
  EXPECT_EQ(layout.window.Get("showshadow"), L"true");
  EXPECT_EQ(layout.window.Get("SHADOWCOLOR"), L"#26003B76");
  EXPECT_EQ(layout.window.Get("shadowposition"), L"1,1");
  EXPECT_FALSE(layout.window.Has("shadowimage"));
  ASSERT_EQ(layout.fonts.fonts.size(), 2u);
  EXPECT_EQ(layout.fonts.default_id, 0);
  EXPECT_EQ(layout.fonts.fonts[0].name, L"微软雅黑");
  EXPECT_EQ(layout.fonts.fonts[3].size, 12);
  EXPECT_TRUE(layout.fonts.fonts[3].underline);
  EXPECT_TRUE(layout.fonts.fonts[3].bold);

  auto* tab = static_cast<TabLayout*>(layout.root->FindByName(L"titleTabLt"));
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->FixedWidth(), 200);
  EXPECT_EQ(tab->CurSel(), 1);
  Control* back = layout.root->FindByName(L"backBtn");
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->GetClass(), L"Button");
  EXPECT_EQ(back->FixedHeight(), 18);
  auto* cb = static_cast<CheckBox*>(layout.root->FindByName(L"treatyCb"));
  ASSERT_NE(cb, nullptr);
  EXPECT_TRUE(cb->IsSelected());
  EXPECT_FALSE(cb->IsVisible());
  EXPECT_EQ(cb->UserData(), L"agree");
  auto* prg = static_cast<Progress*>(layout.root->FindByName(L"installPrg"));
  ASSERT_NE(prg, nullptr);
  EXPECT_EQ(prg->Value(), 30);
  EXPECT_EQ(layout.root->FindByName(L"winCtn")->BkImage(), "res\\mainWnd\\bg1.png");

  ASSERT_EQ(hook.asked.size(), 1u);
  EXPECT_EQ(hook.asked[0], L"SequenceLabel");
  auto* anim = static_cast<CSequenceLabel*>(layout.root->FindByName(L"anim"));
  ASSERT_NE(anim, nullptr);
  EXPECT_EQ(anim->GetClass(), L"SequenceLabel");
  EXPECT_EQ(anim->GetInterface(L"SequenceLabel"), anim);
  EXPECT_EQ(anim->GetInterface(L"Label"), anim);
  EXPECT_EQ(anim->GetSequenceCount(), 5);
  EXPECT_EQ(anim->GetSequenceSpan(), 40);
  EXPECT_EQ(anim->GetSequenceImage(), "a\\%.3d.png");
  // Only the exact text "false" turns these off.
  EXPECT_TRUE(anim->Sequence().SequenceLoop);
  EXPECT_TRUE(anim->Sequence().SequenceRound);
  EXPECT_FALSE(anim->Sequence().AutoStart);
}

TEST(LayoutBuilder, ErrorsCarryTheirPosition) {
  struct Case {
    const char* xml;
    BuildStatus status;
    int line;
    int column;
  } cases[] = {
      {"<Window>\n  <Label text='a'>\n</Window>", BuildStatus::kXmlError, 3, 3},
      {"<Layout />", BuildStatus::kNoWindow, 1, 2},
      {"<Window>\n <VerticalLayout>\n  <Gizmo />\n </VerticalLayout>\n</Window>",
       BuildStatus::kUnknownElement, 3, 4},
      {"<Window>\n<Label\n   width='12px' />\n</Window>", BuildStatus::kBadAttribute, 3, 4},
      {"<Window size='600x400'/>", BuildStatus::kBadAttribute, 1, 9},
      {"<Window><Font id='0' size='big'/></Window>", BuildStatus::kBadAttribute, 1, 22},
      {"<Window><Label textcolor='#GG000000'/></Window>", BuildStatus::kBadAttribute, 1, 16},
      {"<Window><Label><Label/></Label></Window>", BuildStatus::kBadStructure, 1, 17},
      {"<Window><Control/><Control/></Window>", BuildStatus::kBadStructure, 1, 20},
      {"", BuildStatus::kXmlError, 1, 1},
  };
  for (const Case& c : cases) {
    Layout layout;
    BuildError error;
    EXPECT_FALSE(BuildLayout(c.xml, nullptr, &layout, &error)) << c.xml;
    EXPECT_EQ(error.status, c.status) << c.xml << " -> " << error.message;
    EXPECT_EQ(error.line, c.line) << c.xml << " -> " << error.message;
    EXPECT_EQ(error.column, c.column) << c.xml << " -> " << error.message;
    EXPECT_EQ(error.message.rfind(std::to_string(c.line) + ":" + std::to_string(c.column) + ": ", 0),
              0u)
        << error.message;
  }
}

TEST(LayoutBuilder, UnknownAttributesAreIgnoredAndNamesIgnoreCase) {
  Layout layout;
  BuildError error;
  ASSERT_TRUE(BuildLayout("<window><verticallayout><BUTTON Name='b' WIDTH='5' whatever='x'/>"
                          "</verticallayout></window>",
                          nullptr, &layout, &error))
      << error.message;
  Control* b = layout.root->FindByName(L"b");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->FixedWidth(), 5);
  EXPECT_EQ(b->SetAttribute("whatever", "x"), AttributeResult::kUnknown);
  EXPECT_EQ(b->SetAttribute("HotBorerColor", "#FF59CB8F"), AttributeResult::kOk);
  EXPECT_EQ(b->SetAttribute("width", "-3"), AttributeResult::kBadValue);
}

}  // namespace
}  // namespace skinui

namespace skinui {
namespace {

TEST(SequenceButton, DefaultsNamesAndAttributes) {
  std::unique_ptr<Control> made = CreateStandardCustomControl(L"sequencebutton");
  ASSERT_NE(made, nullptr);
  auto* button = static_cast<CSequenceButton*>(made->GetInterface(L"SequenceButton"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetClass(), L"SequenceButton");
  EXPECT_NE(button->GetInterface(L"Button"), nullptr);
  EXPECT_EQ(button->GetInterface(L"SequenceLabel"), nullptr);
  EXPECT_TRUE(button->Sequence().SequenceRound);
  EXPECT_TRUE(button->Sequence().SequenceLoop);
  EXPECT_EQ(button->GetSequenceSpan(), 60);
  EXPECT_EQ(button->SetAttribute("SequenceSpan", "15ms"), AttributeResult::kOk);
  EXPECT_EQ(button->GetSequenceSpan(), 15);  // read as the C library reads base 10
  EXPECT_EQ(button->SetAttribute("sequenceround", "false"), AttributeResult::kOk);
  EXPECT_FALSE(button->Sequence().SequenceRound);
  EXPECT_EQ(button->SetAttribute("normalimage", "a.png"), AttributeResult::kOk);  // base's
  EXPECT_EQ(CreateStandardCustomControl(L"Gizmo"), nullptr);

  CSequenceLabel label;
  EXPECT_FALSE(label.Sequence().SequenceRound);
  EXPECT_EQ(label.GetSequenceSpan(), 30);
  EXPECT_FALSE(label.SetTimer(kSequenceTimerId, 30));  // no window: timers refuse
}

}  // namespace
}  // namespace skinui
