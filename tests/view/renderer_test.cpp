// The view on small forms of our own: every kind gets its widget, user input
// reaches the control and its rule, program changes reach the widget, and
// neither direction echoes back.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "platform/qt/qt_widgets.h"
#include "platform/qt/view.h"
#include "platform/ui/toolkit.h"

using namespace platform;
using platform::qt::FormView;

namespace {

template <typename W>
W* Widget(FormView& v, const char* name) {
  return qobject_cast<W*>(v.WidgetNamed(name));
}

/// A window with one control of every kind.
struct SampleForm : Form {
  SampleForm() : Form("F_Sample", "Sample") {
    SetGeometry({0, 0, 400, 300});
    label.SetCaption("Name");
    label.SetGeometry({8, 8, 10, 13});  // narrower than its caption
    edit.SetGeometry({80, 8, 120, 21});
    secret.SetPasswordChar('*');
    secret.SetGeometry({80, 32, 120, 21});
    address.SetGeometry({80, 56, 120, 21});
    check.SetCaption("Check");
    check.SetGeometry({8, 80, 100, 17});
    radioA.SetCaption("A");
    radioB.SetCaption("B");
    radioA.SetGeometry({8, 8, 60, 17});
    radioB.SetGeometry({8, 30, 60, 17});
    groupA.SetGeometry({8, 100, 120, 56});
    groupB.SetGeometry({130, 100, 120, 56});
    choice.SetItems({"one", "two", "three"});
    choice.SetColumns(3);
    choice.SetGeometry({8, 160, 240, 45});
    combo.SetItems({"ttyS0", "ttyUSB0"});
    combo.SetItemIndex(0);
    combo.SetGeometry({260, 8, 120, 21});
    ok.SetCaption("&OK");
    ok.SetDefault(true);
    ok.SetGeometry({300, 260, 80, 25});
    memo.SetGeometry({260, 40, 130, 60});
    gauge.SetGeometry({260, 110, 130, 17});
    menuItem.SetShortCut(shortcut::kCtrl | shortcut::kDelete);
    menuItem.Hide();
    SetPopupMenu(&menu);
  }
  Label label{this, "L_Name"};
  Edit edit{this, "ED_Name"};
  Edit secret{this, "ED_Secret"};
  AddressEdit address{this, "ED_Address"};
  CheckBox check{this, "CK_Check"};
  RadioSet set;
  GroupBox groupA{this, "GB_A"};
  RadioButton radioA{&groupA, "RB_A", &set};
  GroupBox groupB{this, "GB_B"};
  RadioButton radioB{&groupB, "RB_B", &set};
  RadioGroup choice{this, "RG_Choice"};
  ComboBox combo{this, "CB_Port"};
  Button ok{this, "BB_OK"};
  Memo memo{this, "M_Log"};
  Gauge gauge{this, "Gauge1"};
  PopupMenu menu{this, "PopupMenu1"};
  MenuItem menuItem{&menu, "debug1"};
};

class Renderer : public ::testing::Test {
 protected:
  void SetUp() override {
    view = std::make_unique<FormView>(form);
    form.Show();
    view->Window()->activateWindow();
    QApplication::processEvents();
  }
  SampleForm form;
  std::unique_ptr<FormView> view;
  ScriptedMessageBoxes boxes;
};

// Catches: a control without its widget, or a widget not findable by name.
TEST_F(Renderer, EveryControlHasAWidgetNamedAfterIt) {
  for (const char* name : {"L_Name", "ED_Name", "ED_Secret", "ED_Address", "CK_Check", "GB_A", "RB_A", "GB_B",
                           "RB_B", "RG_Choice", "CB_Port", "BB_OK", "M_Log", "Gauge1"}) {
    QWidget* w = view->WidgetNamed(name);
    ASSERT_NE(w, nullptr) << name;
    EXPECT_EQ(w->objectName(), QString::fromLatin1(name));
    EXPECT_EQ(view->Window()->findChild<QWidget*>(QString::fromLatin1(name)), w) << name;
  }
  EXPECT_EQ(view->Window()->windowTitle(), QStringLiteral("Sample"));
  EXPECT_TRUE(view->Window()->isVisible());
}

// Catches: captions clipped to a geometry narrower than their text.
TEST_F(Renderer, LabelsGrowToShowTheirCaption) {
  auto* label = Widget<QLabel>(*view, "L_Name");
  EXPECT_GE(label->width(), label->sizeHint().width());
  EXPECT_EQ(label->pos(), QPoint(8, 8));
}

// Catches: typing that does not reach the control, or a program change that
// is echoed back as a user edit.
TEST_F(Renderer, EditTextFlowsBothWaysWithoutEcho) {
  int changes = 0;
  form.edit.Observe([&](Control&, Prop p) { changes += p == Prop::Text; });
  auto* w = Widget<QLineEdit>(*view, "ED_Name");
  QTest::keyClicks(w, "gw1");
  EXPECT_EQ(form.edit.Text(), "gw1");
  EXPECT_EQ(changes, 3);
  form.edit.SetText("10.0.0.1");
  EXPECT_EQ(w->text(), QStringLiteral("10.0.0.1"));
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(Widget<QLineEdit>(*view, "ED_Secret")->echoMode(), QLineEdit::Password);
}

// Catches: a key-press rule that is bypassed, or Enter that does not reach
// the form's default button.
TEST_F(Renderer, KeyPressRuleSeesTypedCharactersAndEnterPressesTheDefault) {
  std::string seen;
  form.edit.onKeyPress = [&](char& k) {
    seen += k;
    if (k == 'x') k = 0;  // the rule may drop a key
  };
  int pressed = 0;
  form.ok.onClick = [&] { ++pressed; };
  auto* w = Widget<QLineEdit>(*view, "ED_Name");
  QTest::keyClicks(w, "axb");
  QTest::keyClick(w, Qt::Key_Return);
  EXPECT_EQ(seen, "axb\r");
  EXPECT_EQ(form.edit.Text(), "ab");
  EXPECT_EQ(pressed, 1);
  form.ok.Hide();  // no visible default button: Enter does nothing
  QTest::keyClick(w, Qt::Key_Return);
  EXPECT_EQ(pressed, 1);
}

// Catches: leaving an edit that does not run its exit rule.
TEST_F(Renderer, LeavingAnEditRunsItsExitRule) {
  int exits = 0;
  form.edit.onExit = [&] { ++exits; };
  auto* w = Widget<QLineEdit>(*view, "ED_Name");
  w->setFocus(Qt::OtherFocusReason);
  Widget<QLineEdit>(*view, "ED_Secret")->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(form.Focused(), &form.secret);
}

// Catches: the masked edit inserting instead of overwriting, or its text
// leaving the 15-character dotted form.
TEST_F(Renderer, AddressEditTypesIntoItsGroups) {
  auto* w = Widget<QLineEdit>(*view, "ED_Address");
  EXPECT_EQ(w->text(), QStringLiteral("   .   .   .   "));
  EXPECT_TRUE(w->font().fixedPitch() || QFontInfo(w->font()).fixedPitch());
  w->setCursorPosition(0);
  QTest::keyClicks(w, "10.1.2.3");
  EXPECT_EQ(form.address.Text(), "10 .1  .2  .3  ");
  EXPECT_EQ(w->text(), QStringLiteral("10 .1  .2  .3  "));
  QTest::keyClick(w, Qt::Key_Backspace);
  EXPECT_EQ(form.address.Text(), "10 .1  .2  .   ");
  form.address.SetText("192.168.1.1");
  EXPECT_EQ(w->text(), QStringLiteral("192.168.1  .1  "));
}

// Catches: radios excluded by Qt's parentage instead of the control's set
// (these two sit in different groups), or a rule run for unchecking.
TEST_F(Renderer, RadiosExcludeThroughTheirSetOnly) {
  int clicksA = 0, clicksB = 0;
  form.radioA.onClick = [&] { ++clicksA; };
  form.radioB.onClick = [&] { ++clicksB; };
  auto* a = Widget<QRadioButton>(*view, "RB_A");
  auto* b = Widget<QRadioButton>(*view, "RB_B");
  EXPECT_FALSE(a->autoExclusive());
  QTest::mouseClick(a, Qt::LeftButton);
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_FALSE(form.radioA.Checked());
  EXPECT_TRUE(form.radioB.Checked());
  EXPECT_FALSE(a->isChecked());
  EXPECT_TRUE(b->isChecked());
  QTest::mouseClick(b, Qt::LeftButton);  // clicking a checked radio keeps it
  EXPECT_TRUE(b->isChecked());
  EXPECT_EQ(clicksA, 1);
  EXPECT_EQ(clicksB, 1);
}

// Catches: a check box whose widget and control disagree after the rule
// changes the value back.
TEST_F(Renderer, CheckBoxRuleMayOverrideTheClick) {
  int runs = 0;
  form.check.onClick = [&] {
    ++runs;
    if (form.check.Checked()) form.check.SetChecked(false);  // a rule that refuses
  };
  auto* w = Widget<QCheckBox>(*view, "CK_Check");
  QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, w->height() / 2));
  EXPECT_FALSE(form.check.Checked());
  EXPECT_FALSE(w->isChecked());
  EXPECT_EQ(runs, 2);
}

// Catches: radio-group items that do not follow the control or run no rule.
TEST_F(Renderer, RadioGroupItemsFollowTheChoice) {
  int runs = 0;
  form.choice.onClick = [&] { ++runs; };
  auto* box = Widget<QGroupBox>(*view, "RG_Choice");
  const auto items = box->findChildren<QRadioButton*>();
  ASSERT_EQ(items.size(), 3);
  form.choice.SetItemIndex(2);
  EXPECT_TRUE(items[2]->isChecked());
  EXPECT_EQ(runs, 1);
  QTest::mouseClick(items[0], Qt::LeftButton, {}, QPoint(5, items[0]->height() / 2));
  EXPECT_EQ(form.choice.ItemIndex(), 0);
  EXPECT_FALSE(items[2]->isChecked());
  EXPECT_EQ(runs, 2);
  // Three columns: the items sit side by side.
  EXPECT_EQ(items[0]->y(), items[2]->y());
  EXPECT_LT(items[0]->x(), items[1]->x());
}

// Catches: a user's choice in the list that runs no change rule, or a
// program choice that does.
TEST_F(Renderer, ComboBoxUserChoiceRunsTheChangeRule) {
  int changes = 0;
  form.combo.onChange = [&] { ++changes; };
  auto* w = Widget<QComboBox>(*view, "CB_Port");
  EXPECT_EQ(w->count(), 2);
  form.combo.SetItemIndex(1);
  EXPECT_EQ(w->currentIndex(), 1);
  EXPECT_EQ(changes, 0);
  w->setFocus();
  QTest::keyClick(w, Qt::Key_Up);  // a user's choice of the first entry
  EXPECT_EQ(form.combo.ItemIndex(), 0);
  EXPECT_EQ(changes, 1);
}

// Catches: memo appends that redraw or lose lines, CRs shown as breaks, and
// control characters shown as empty boxes.
TEST_F(Renderer, MemoAppendsLines) {
  auto* w = Widget<QPlainTextEdit>(*view, "M_Log");
  form.memo.Add("Send_Message : get-model\r");
  form.memo.Add("Connected...");
  form.memo.Add("Send_Message : \x1b");
  EXPECT_EQ(w->toPlainText(),
            QStringLiteral(u"Send_Message : get-model\nConnected...\nSend_Message : \u241B"));
  form.memo.Clear();
  EXPECT_TRUE(w->toPlainText().isEmpty());
  EXPECT_EQ(w->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
}

// Catches: a gauge that shows the program's value out of range.
TEST_F(Renderer, GaugeShowsClampedProgress) {
  form.gauge.SetProgress(150);
  EXPECT_EQ(Widget<QProgressBar>(*view, "Gauge1")->value(), 100);
}

// Catches: visibility and enabling that do not reach the widgets.
TEST_F(Renderer, VisibleAndEnabledFollowTheControls) {
  form.groupA.SetEnabled(false);
  EXPECT_FALSE(Widget<QRadioButton>(*view, "RB_A")->isEnabled());  // disabling a group disables its content
  form.groupB.Hide();
  EXPECT_FALSE(Widget<QRadioButton>(*view, "RB_B")->isVisible());
  form.groupB.Show();
  EXPECT_TRUE(Widget<QRadioButton>(*view, "RB_B")->isVisible());
}

// Catches: a menu shortcut that an edit swallows (Ctrl+Delete deletes a word
// there), or a hidden entry that loses its shortcut.
TEST_F(Renderer, MenuShortcutWorksAnywhereInTheWindow) {
  int runs = 0;
  form.menuItem.onClick = [&] { ++runs; };
  auto* w = Widget<QLineEdit>(*view, "ED_Name");
  form.edit.SetText("one two");
  w->setFocus();
  w->setCursorPosition(0);
  QTest::keyClick(w, Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(form.edit.Text(), "one two");
}

// Catches: the window's close box closing a form whose close query refuses.
TEST_F(Renderer, ClosingGoesThroughTheCloseQuery) {
  bool allow = false;
  form.onCloseQuery = [&](bool& canClose) { canClose = allow; };
  view->Window()->close();
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(view->Window()->isVisible());
  allow = true;
  view->Window()->close();
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(view->Window()->isVisible());
}

// Catches: an error escaping a click handler (it must reach the general
// error handler's box, not end the program).
TEST_F(Renderer, ErrorsInRulesReachTheErrorBox) {
  form.ok.onClick = [] { throw platform::Error("Port ttyS9 cannot be opened"); };
  QTest::mouseClick(Widget<QPushButton>(*view, "BB_OK"), Qt::LeftButton);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "Port ttyS9 cannot be opened.");
  EXPECT_EQ(boxes.Shown()[0].icon, Icon::Error);
}

/// A page control with three pages and an owner-drawn grid on the second.
struct PagesForm : Form {
  PagesForm() : Form("F_Pages", "Pages") {
    SetGeometry({0, 0, 300, 200});
    SetBorderStyle(Border::FixedSingle);
    header.SetAlign(Align::Top);
    header.SetGeometry({0, 0, 300, 30});
    bar.SetAlign(Align::Bottom);
    bar.SetGeometry({0, 0, 300, 20});
    pages.SetAlign(Align::Client);
    a.SetCaption("First");
    b.SetCaption("Second");
    c.SetCaption("Third");
    grid.SetGeometry({4, 4, 193, 91});
    grid.SetColWidths({40, 40, 110});
    grid.SetRowHeight(17);
    grid.SetFixed(2, 1);
    grid.SetEditable(true);
    grid.SetRowCount(3);
    grid.SetCell(0, 1, "1");
  }
  Panel header{this, "Panel1"};
  PageControl pages{this, "PageControl1"};
  TabSheet a{&pages, "Tab_A"};
  TabSheet b{&pages, "Tab_B"};
  StringGrid grid{&b, "SG_Grid", 3, 2};
  TabSheet c{&pages, "Tab_C"};
  Panel bar{this, "Panel2"};
};

class Pages : public ::testing::Test {
 protected:
  void SetUp() override {
    view = std::make_unique<FormView>(form);
    form.Show();
    QApplication::processEvents();
    tabs = Widget<QTabWidget>(*view, "PageControl1");
  }
  PagesForm form;
  std::unique_ptr<FormView> view;
  QTabWidget* tabs = nullptr;
};

// Catches: aligned controls laid at their stored geometry instead of docked,
// or a fixed border that can still be resized.
TEST_F(Pages, AlignedControlsDockAndFixedWindowsKeepTheirSize) {
  EXPECT_EQ(view->WidgetNamed("Panel1")->geometry(), QRect(0, 0, 300, 30));
  EXPECT_EQ(view->WidgetNamed("Panel2")->geometry(), QRect(0, 180, 300, 20));
  EXPECT_EQ(tabs->geometry(), QRect(0, 30, 300, 150));
  EXPECT_EQ(view->Window()->minimumSize(), QSize(300, 200));
  EXPECT_EQ(view->Window()->maximumSize(), QSize(300, 200));
  form.header.Hide();  // a hidden aligned control gives its room away
  EXPECT_EQ(tabs->geometry(), QRect(0, 0, 300, 180));
}

// Catches: a program page choice that runs the change rule, a user's that
// does not, and hidden tabs still shown.
TEST_F(Pages, OnlyTheUsersTabChoiceRunsTheChangeRule) {
  int changes = 0;
  form.pages.onChange = [&] { ++changes; };
  form.pages.SetActivePage(&form.c);
  EXPECT_EQ(tabs->currentIndex(), 2);
  EXPECT_EQ(changes, 0);
  QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
  EXPECT_EQ(form.pages.ActivePage(), &form.b);
  EXPECT_EQ(changes, 1);
  form.b.SetTabVisible(false);  // hiding the active tab moves to the next
  EXPECT_FALSE(tabs->isTabVisible(1));
  EXPECT_EQ(tabs->currentIndex(), 2);
  EXPECT_EQ(changes, 1);
  form.a.SetCaption("Erste");
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("Erste"));
}

/// Records what the draw-cell rule was asked to paint.
struct DrawLog {
  std::vector<std::tuple<int, int, bool, bool>> cells;  // col, row, fixed, selected
};

// Catches: a grid painted by the view's own rules instead of the control's
// draw-cell rule, or cell states (fixed, selected) handed over wrong.
TEST_F(Pages, GridIsPaintedByItsDrawCellRule) {
  DrawLog log;
  form.grid.onDrawCell = [&](int col, int row, const Rect& r, const CellState& s, Canvas& canvas) {
    log.cells.emplace_back(col, row, s.fixed, s.selected);
    EXPECT_GT(r.width, 0);
    canvas.FillRect(r);
    canvas.TextOut(r.left + 2, r.top + 2, form.grid.Cell(col, row));
  };
  form.pages.SetActivePage(&form.b);
  form.grid.Select(2, 1);
  auto* grid = view->WidgetNamed("SG_Grid");
  grid->grab();                     // paints
  EXPECT_EQ(log.cells.size(), 9u);  // 3 rows x 3 columns
  int selected = 0;
  for (const auto& [col, row, fixed, sel] : log.cells) {
    EXPECT_EQ(fixed, col < 2 || row < 1);
    selected += sel;
    if (sel) {
      EXPECT_EQ(std::make_pair(col, row), std::make_pair(2, 1));
    }
  }
  EXPECT_EQ(selected, 1);
}

// Catches: editing that does not reach the cell, or fixed cells that can be edited.
TEST_F(Pages, EditingACellSetsTheControlsCell) {
  form.pages.SetActivePage(&form.b);
  auto* grid = static_cast<platform::qt::GridWidget*>(view->WidgetNamed("SG_Grid"));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(2, 2).center());
  EXPECT_EQ(form.grid.Row(), 2);
  QTest::keyClicks(grid, "2001");
  EXPECT_EQ(form.grid.Cell(2, 2), "2001");
  QTest::keyClick(grid->Editor(), Qt::Key_Return);
  form.grid.SetCell(2, 2, "2002");  // a program change shows
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(0, 1).center());  // fixed: ignored
  EXPECT_EQ(form.grid.Col(), 2);
  form.grid.SetRowCount(2);  // the edited row is gone; no editor left on it
  EXPECT_TRUE(!grid->Editor() || grid->Editor()->isHidden());
  form.grid.SetEnabled(false);
  EXPECT_FALSE(grid->StartEditing(false));
}

}  // namespace
