// Placement by the vertical, horizontal and tab layouts.
#include <gtest/gtest.h>

#include "skinui/core/container.h"
#include "skinui/core/control_manager.h"
#include "skinui/core/layout_builder.h"

namespace skinui {
namespace {

// Builds `xml`, lays it out over `client` offscreen and returns the manager.
std::unique_ptr<ControlManager> LayOut(const char* xml, Size client) {
  Layout layout;
  BuildError error;
  EXPECT_TRUE(BuildLayout(xml, nullptr, &layout, &error)) << error.message;
  auto manager = std::make_unique<ControlManager>();
  manager->SetRoot(std::move(layout.root));
  manager->Resize(client);
  Surface frame;
  manager->Render(&frame, Rect{0, 0, client.width, client.height});
  return manager;
}

Rect PosOf(const ControlManager& m, const wchar_t* name) {
  Control* c = m.FindControl(name);
  EXPECT_NE(c, nullptr) << "missing control";
  return c != nullptr ? c->Pos() : Rect{};
}

TEST(Layout, VerticalSharesTheRestAmongUnsizedChildren) {
  auto m = LayOut(R"(<Window><VerticalLayout inset="2,3,4,5" childpadding="1">
      <Control name="a" height="10" />
      <Control name="b" />
      <Control name="c" height="20" width="30" padding="5,2,0,4" />
      <Control name="hidden" height="50" visible="false" />
      <Control name="d" />
    </VerticalLayout></Window>)",
                  Size{100, 100});
  // Inner 94 x 92; fixed 10 + 20 + margins 6 + gaps 3 = 39; 53 left for b and d.
  EXPECT_EQ(PosOf(*m, L"a"), (Rect{2, 3, 96, 13}));
  EXPECT_EQ(PosOf(*m, L"b"), (Rect{2, 14, 96, 40}));
  EXPECT_EQ(PosOf(*m, L"c"), (Rect{7, 43, 37, 63}));
  EXPECT_EQ(PosOf(*m, L"d"), (Rect{2, 68, 96, 95}));
}

TEST(Layout, HorizontalLinesUpAndSpacersCentre) {
  auto m = LayOut(R"(<Window><HorizontalLayout>
      <Control name="left" />
      <Control name="mid" width="40" height="24" padding="0,3,0,0" />
      <Control name="right" />
      <Control name="edge" width="10" />
    </HorizontalLayout></Window>)",
                  Size{111, 30});
  EXPECT_EQ(PosOf(*m, L"left"), (Rect{0, 0, 30, 30}));
  EXPECT_EQ(PosOf(*m, L"mid"), (Rect{30, 3, 70, 27}));
  EXPECT_EQ(PosOf(*m, L"right"), (Rect{70, 0, 101, 30}));
  EXPECT_EQ(PosOf(*m, L"edge"), (Rect{101, 0, 111, 30}));
}

TEST(Layout, FloatAndPos) {
  auto m = LayOut(R"(<Window><Container inset="5,5,5,5">
      <Control name="f" float="true" pos="10,20,40,30" />
      <Control name="sized" pos="0,0,12,8" />
    </Container></Window>)",
                  Size{100, 100});
  EXPECT_EQ(PosOf(*m, L"f"), (Rect{15, 25, 45, 35}));
  EXPECT_EQ(PosOf(*m, L"sized"), (Rect{5, 5, 17, 13}));
}

TEST(Layout, TabShowsOnePageAndNotifiesSelection) {
  auto m = LayOut(R"(<Window><TabLayout name="tabs" selectedid="1">
      <Control name="p0" /><Control name="p1" /><Control name="p2" />
    </TabLayout></Window>)",
                  Size{50, 50});
  struct Listener : INotifyListener {
    void Notify(const Notification& n) override { seen.push_back(n); }
    std::vector<Notification> seen;
  } listener;
  m->AddNotifier(&listener);
  auto* tabs = static_cast<TabLayout*>(m->FindControl(L"tabs"));
  EXPECT_EQ(tabs->CurSel(), 1);
  EXPECT_FALSE(m->FindControl(L"p0")->IsVisible());
  EXPECT_TRUE(m->FindControl(L"p1")->IsVisible());
  EXPECT_EQ(m->ControlAt(Point{5, 5}), m->FindControl(L"p1"));

  EXPECT_TRUE(tabs->SelectItem(2));
  EXPECT_TRUE(tabs->SelectItem(2));  // already selected: no second notification
  EXPECT_FALSE(tabs->SelectItem(3));
  ASSERT_EQ(listener.seen.size(), 1u);
  EXPECT_EQ(listener.seen[0].type, L"tabselect");
  EXPECT_EQ(listener.seen[0].sender, tabs);
  EXPECT_EQ(listener.seen[0].wparam, 2u);
  EXPECT_EQ(listener.seen[0].lparam, 1);
  EXPECT_TRUE(m->FindControl(L"p2")->IsVisible());
  EXPECT_FALSE(m->FindControl(L"p1")->IsVisible());
  m->RemoveNotifier(&listener);
}

}  // namespace
}  // namespace skinui
