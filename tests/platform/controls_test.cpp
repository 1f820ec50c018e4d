#include <gtest/gtest.h>

#include "platform/ui/toolkit.h"

using namespace platform;

namespace {

struct Counter {
  int runs = 0;
  std::function<void()> Fn() {
    return [this] { ++runs; };
  }
};

}  // namespace

// A rule that runs on an unchanged value, or misses a real change, breaks the
// rule chains of the windows (and can recurse forever).
TEST(ControlRules, RunOnlyOnRealChanges) {
  Form form("F", "F");
  CheckBox check(&form, "CK");
  RadioGroup group(&form, "RG");
  group.SetItems({"a", "b", "c"});
  Counter checkRuns, groupRuns;
  check.onClick = checkRuns.Fn();
  group.onClick = groupRuns.Fn();

  check.SetChecked(true);
  check.SetChecked(true);
  check.SetChecked(false);
  EXPECT_EQ(checkRuns.runs, 2);  // both directions, not the repeat

  group.SetItemIndex(1);
  group.SetItemIndex(1);
  group.SetItemIndex(7);  // clamped to the last item: a change
  EXPECT_EQ(group.ItemIndex(), 2);
  EXPECT_EQ(groupRuns.runs, 2);

  int notes = 0;
  check.Observe([&](Control&, Prop p) { notes += p == Prop::Checked; });
  check.SetChecked(false);
  check.SetChecked(true);
  EXPECT_EQ(notes, 1);
}

// Radio buttons exclude each other by their explicit set only: siblings under
// the same parent but in another set (or none) are left alone.
TEST(ControlRules, RadioSetsExcludeOnlyTheirMembers) {
  Form form("F", "F");
  RadioSet set;
  RadioButton a(&form, "A", &set), b(&form, "B", &set), loose(&form, "C");
  Counter aRuns, bRuns;
  a.onClick = aRuns.Fn();
  b.onClick = bRuns.Fn();
  loose.SetChecked(true);

  a.Click();
  b.SetChecked(true);
  EXPECT_FALSE(a.Checked());
  EXPECT_TRUE(b.Checked());
  EXPECT_TRUE(loose.Checked());
  EXPECT_EQ(aRuns.runs, 1);  // unchecking by the set runs nothing
  EXPECT_EQ(bRuns.runs, 1);
  b.Click();  // already checked
  EXPECT_EQ(bRuns.runs, 1);
}

// The masked address edit must read back exactly what the placing rule gives.
TEST(AddressEdit, PlacesGroupByGroup) {
  struct Row {
    const char* in;
    const char* out;
  } rows[] = {
      {"10.1.2.3", "10 .1  .2  .3  "},
      {"10 ", "10 .   .   .   "},
      {"", "   .   .   .   "},
      {"1234.5", "123.5  .   .   "},
      {"192.168.100.200", "192.168.100.200"},
      {"10 .1  .2  .3  ", "10 .1  .2  .3  "},
      {"1.2.3.4.5", "1  .2  .3  .4  "},
      {"a1.b", " 1 .   .   .   "},
      {"....", "   .   .   .   "},
  };
  Form form("F", "F");
  AddressEdit edit(&form, "ED");
  for (const Row& r : rows) {
    edit.SetText(r.in);
    EXPECT_EQ(edit.Text(), r.out) << "input «" << r.in << "»";
    EXPECT_EQ(edit.Text().size(), 15u);
  }
  edit.SetText("");
  EXPECT_TRUE(edit.IsEmpty());
}

// Hiding the active page's tab must leave a visible page active, and a page
// chosen by the program must not run the user's page-change rule.
TEST(PageControl, HiddenTabsAndProgramChoices) {
  Form form("F", "F");
  PageControl pages(&form, "PC");
  TabSheet p0(&pages, "P0"), p1(&pages, "P1"), p2(&pages, "P2");
  Counter changes;
  pages.onChange = changes.Fn();

  EXPECT_EQ(pages.ActivePage(), &p0);
  p0.SetTabVisible(false);
  EXPECT_EQ(pages.ActivePage(), &p1);
  EXPECT_EQ(p0.PageIndex(), 0);
  pages.SetActivePage(&p2);
  EXPECT_EQ(changes.runs, 0);
  pages.UserSelect(&p1);
  pages.UserSelect(&p1);
  EXPECT_EQ(changes.runs, 1);
}

// Disabling or hiding a group must reach everything inside it.
TEST(Control, GroupsGovernTheirContents) {
  Form form("F", "F");
  form.Show();
  GroupBox group(&form, "GB");
  Button inside(&group, "BB");
  Counter presses;
  inside.onClick = presses.Fn();

  group.SetEnabled(false);
  EXPECT_TRUE(inside.Enabled());
  EXPECT_FALSE(inside.EffectivelyEnabled());
  inside.Click();
  group.SetEnabled(true);
  group.Hide();
  inside.Click();
  EXPECT_EQ(presses.runs, 0);
  group.Show();
  inside.Click();
  EXPECT_EQ(presses.runs, 1);
  EXPECT_EQ(form.Find("BB"), &inside);
  EXPECT_EQ(form.Find("nothing"), nullptr);
}

// Enter must press whichever default button is visible and enabled, and the
// hidden menu entry must still answer its shortcut.
TEST(Form, EnterAndShortcuts) {
  Form form("F", "F");
  form.Show();
  Button connect(&form, "Connect"), disconnect(&form, "Disconnect");
  connect.SetDefault(true);
  disconnect.SetDefault(true);
  disconnect.Hide();
  std::string pressed;
  connect.onClick = [&] { pressed += "C"; };
  disconnect.onClick = [&] { pressed += "D"; };
  form.PressEnter();
  connect.Hide();
  disconnect.Show();
  form.PressEnter();
  EXPECT_EQ(pressed, "CD");

  PopupMenu menu(&form, "Menu");
  MenuItem debug(&menu, "debug");
  debug.Hide();
  debug.SetShortCut(shortcut::kCtrl | shortcut::kDelete);
  Counter shown;
  debug.onClick = shown.Fn();
  form.SetPopupMenu(&menu);
  EXPECT_EQ(shortcut::kCtrl | shortcut::kDelete, 16430);
  EXPECT_TRUE(form.ShortCut(16430));
  EXPECT_FALSE(form.ShortCut(16431));
  EXPECT_EQ(shown.runs, 1);
  EXPECT_TRUE(menu.ListedItems().empty());
}

// Closing must ask first; a refusal keeps the window open.
TEST(Form, CloseQueryCanRefuse) {
  Form form("F", "F");
  bool allow = false;
  int closes = 0, shows = 0;
  form.onShow = [&] { ++shows; };
  form.onCloseQuery = [&](bool& can) { can = allow; };
  form.onClose = [&] { ++closes; };
  form.Show();
  form.Show();
  EXPECT_EQ(shows, 1);
  EXPECT_FALSE(form.Close());
  EXPECT_TRUE(form.Visible());
  allow = true;
  EXPECT_TRUE(form.Close());
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(closes, 1);
}

// Grids drop rows (and their texts) beyond a smaller row count, and ignore
// cells outside.
TEST(StringGrid, ShrinkDropsRows) {
  Form form("F", "F");
  StringGrid grid(&form, "SG", 3, 2);
  grid.SetRowCount(4);
  grid.SetCell(2, 3, "1003");
  grid.SetRowCount(2);
  grid.SetRowCount(4);
  EXPECT_EQ(grid.Cell(2, 3), "");
  grid.SetCell(5, 1, "x");
  grid.SetCell(0, -1, "x");
  EXPECT_EQ(grid.Cell(5, 1), "");
  grid.SetRowCount(0);
  EXPECT_EQ(grid.RowCount(), 1);
}

// Catches a row lookup whose index misses a change: a cell rewritten, rows
// dropped or added, another column asked about in between.
TEST(StringGrid, RowsWithFollowsEveryChange) {
  Form form("F", "F");
  StringGrid grid(&form, "SG", 3, 4);
  grid.SetCell(0, 1, "a");
  grid.SetCell(0, 3, "a");
  EXPECT_EQ(grid.RowsWith(0, "a"), (std::vector<int>{1, 3}));
  grid.SetCell(0, 1, "b");
  EXPECT_EQ(grid.RowsWith(0, "a"), (std::vector<int>{3}));
  grid.SetRowCount(3);
  EXPECT_TRUE(grid.RowsWith(0, "a").empty());
  grid.SetRowCount(5);
  EXPECT_EQ(grid.RowsWith(0, ""), (std::vector<int>{0, 2, 3, 4}));
  grid.SetCell(2, 2, "b");
  EXPECT_EQ(grid.RowsWith(2, "b"), (std::vector<int>{2}));
  grid.SetCell(0, 4, "b");
  EXPECT_EQ(grid.RowsWith(0, "b"), (std::vector<int>{1, 4}));
}

// The gauge never shows more than its maximum.
TEST(Gauge, ProgressStaysInRange) {
  Form form("F", "F");
  Gauge gauge(&form, "G");
  for (int i = 0; i < 150; ++i) gauge.SetProgress(gauge.Progress() + 1);
  EXPECT_EQ(gauge.Progress(), 100);
  gauge.SetProgress(-5);
  EXPECT_EQ(gauge.Progress(), 0);
}

// The message-box double answers in order, then with the first button, and
// records everything it was shown.
TEST(MessageBoxes, ScriptedAnswersAndRecord) {
  ScriptedMessageBoxes boxes;
  boxes.Queue(Answer::No);
  EXPECT_EQ(ShowMessageBox("q", "Confirm", Icon::Question, Buttons::YesNo), Answer::No);
  EXPECT_EQ(ShowMessageBox("q", "Confirm", Icon::Question, Buttons::YesNo), Answer::Yes);
  EXPECT_EQ(ShowMessageBox("w", "Warning", Icon::Warning), Answer::Ok);
  ASSERT_EQ(boxes.Shown().size(), 3u);
  EXPECT_EQ(boxes.Shown()[2], (MessageBox{"w", "Warning", Icon::Warning, Buttons::Ok}));
}
