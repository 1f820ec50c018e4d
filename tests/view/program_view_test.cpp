// The program's four windows rendered by the view: every control has its
// widget with the control's state, the windows have their designed sizes,
// and every caption is readable.
#include <gtest/gtest.h>

#include <QAccessible>
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
#include <QToolButton>

#include "platform/qt/text_codec.h"
#include "program_fixture.h"

namespace {

using platform::qt::Decode;
using platform::qt::FormView;

/// Checks the widget of `c` (and of everything below it) against the
/// control's state; returns how many controls were checked.
int CheckTree(const platform::qt::FormView& view, platform::Control& c) {
  int checked = 0;
  const bool hasWidget = !dynamic_cast<platform::PopupMenu*>(&c) && !dynamic_cast<platform::MenuItem*>(&c);
  if (hasWidget) {
    QWidget* w = view.WidgetOf(c);
    EXPECT_NE(w, nullptr) << c.Name();
    if (!w) return checked;
    ++checked;
    EXPECT_EQ(w->objectName().toStdString(), c.Name());
    const bool isTopOrPage = dynamic_cast<platform::Form*>(&c) || dynamic_cast<platform::TabSheet*>(&c);
    if (!isTopOrPage) {
      EXPECT_EQ(!w->isHidden(), c.Visible()) << c.Name();
      EXPECT_EQ(w->isEnabled(), c.EffectivelyEnabled()) << c.Name();
    }
    if (auto* l = qobject_cast<QLabel*>(w); l && dynamic_cast<platform::Label*>(&c)) {
      EXPECT_EQ(l->text(), Decode(c.Caption())) << c.Name();
      EXPECT_GE(l->width(), l->sizeHint().width()) << c.Name() << " caption clipped";
      EXPECT_GE(l->height(), l->sizeHint().height()) << c.Name() << " caption clipped";
    }
    if (auto* b = qobject_cast<QPushButton*>(w)) {
      // The caption, with the mnemonic mark the view may have added.
      EXPECT_EQ(QString(b->text()).remove('&'), Decode(c.Caption()).remove('&')) << c.Name();
      EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text().remove('&'))) << c.Name();
    }
    if (auto* e = dynamic_cast<platform::Edit*>(&c)) {
      auto* line = qobject_cast<QLineEdit*>(w);
      EXPECT_NE(line, nullptr) << c.Name();
      if (line) {
        EXPECT_EQ(line->text(), Decode(e->Text())) << c.Name();
        EXPECT_EQ(line->echoMode() == QLineEdit::Password, e->PasswordChar() != 0) << c.Name();
      }
    }
    if (auto* cb = dynamic_cast<platform::CheckBox*>(&c)) {
      auto* box = qobject_cast<QCheckBox*>(w);
      EXPECT_EQ(box->isChecked(), cb->Checked()) << c.Name();
      EXPECT_EQ(box->text(), Decode(c.Caption())) << c.Name();
      EXPECT_GE(box->width(), box->sizeHint().width()) << c.Name() << " caption clipped";
    }
    if (auto* rb = dynamic_cast<platform::RadioButton*>(&c)) {
      auto* radio = qobject_cast<QRadioButton*>(w);
      EXPECT_EQ(radio->isChecked(), rb->Checked()) << c.Name();
      EXPECT_FALSE(radio->autoExclusive()) << c.Name();
      EXPECT_GE(radio->width(), radio->sizeHint().width()) << c.Name() << " caption clipped";
    }
    if (auto* rg = dynamic_cast<platform::RadioGroup*>(&c)) {
      const auto items = w->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
      EXPECT_EQ(size_t(items.size()), rg->Items().size()) << c.Name();
      for (int i = 0; i < int(items.size()); ++i) {
        EXPECT_EQ(items[i]->isChecked(), i == rg->ItemIndex()) << c.Name() << " item " << i;
        EXPECT_EQ(items[i]->text(), Decode(rg->Items()[size_t(i)])) << c.Name();
      }
    }
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
      EXPECT_EQ(g->title(), Decode(c.Caption())) << c.Name();
    }
    if (auto* combo = dynamic_cast<platform::ComboBox*>(&c)) {
      EXPECT_EQ(qobject_cast<QComboBox*>(w)->currentIndex(), combo->ItemIndex()) << c.Name();
    }
    if (auto* memo = dynamic_cast<platform::Memo*>(&c)) {
      EXPECT_EQ(qobject_cast<QPlainTextEdit*>(w)->document()->lineCount(),
                std::max<int>(1, int(memo->Lines().size())))
          << c.Name();
    }
    if (auto* gauge = dynamic_cast<platform::Gauge*>(&c)) {
      EXPECT_EQ(qobject_cast<QProgressBar*>(w)->value(), gauge->Progress()) << c.Name();
    }
    if (auto* sheet = dynamic_cast<platform::TabSheet*>(&c)) {
      auto* tabs = qobject_cast<QTabWidget*>(view.WidgetOf(*sheet->Owner()));
      const int index = tabs->indexOf(w);
      EXPECT_EQ(index, sheet->PageIndex()) << c.Name();
      EXPECT_EQ(tabs->tabText(index), Decode(c.Caption())) << c.Name();
      EXPECT_EQ(tabs->isTabVisible(index), sheet->TabVisible()) << c.Name();
    }
    if (auto* pc = dynamic_cast<platform::PageControl*>(&c)) {
      EXPECT_EQ(qobject_cast<QTabWidget*>(w)->currentIndex(), pc->ActivePageIndex()) << c.Name();
    }
  }
  for (platform::Control* child : c.Children()) checked += CheckTree(view, *child);
  return checked;
}

// Catches: controls of the real windows that the view skips or shows with a
// state other than the control's (after start-up and the language file).
TEST_F(ProgramFixture, EveryControlOfEveryWindowHasItsWidget) {
  EXPECT_GT(CheckTree(view->Main(), program->Main()), 120);
  EXPECT_GT(CheckTree(view->Connection(), program->Connection()), 10);
  EXPECT_GT(CheckTree(view->Login(), program->Login()), 5);
  EXPECT_GT(CheckTree(view->Debug(), program->Debug()), 5);
  // Another state: the connection dialog on TCP, the About page.
  program->Connection().RB_TCP.Click();
  program->Main().PageControl1.SetActivePage(&program->Main().Tab_About);
  CheckTree(view->Connection(), program->Connection());
  CheckTree(view->Main(), program->Main());
}

// Catches: windows that do not have their designed client sizes and titles.
TEST_F(ProgramFixture, WindowsHaveTheirDesignedSizesAndCaptions) {
  struct Row {
    platform::qt::FormView* view;
    QSize size;
    const char* title;
  };
  const Row rows[] = {{&view->Main(), {510, 340}, "VoIP Gateway Morvel Configuration"},
                      {&view->Connection(), {319, 180}, "Connect"},
                      {&view->Login(), {192, 95}, "Login"}};
  for (const Row& r : rows) {
    EXPECT_EQ(r.view->Window()->size(), r.size) << r.title;
    EXPECT_EQ(r.view->Window()->maximumSize(), r.size) << r.title << " must not be resizable";
    EXPECT_EQ(r.view->Window()->windowTitle(), QString::fromLatin1(r.title));
  }
  EXPECT_TRUE(view->Connection().Window()->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(view->Main().Window()->windowFlags() & Qt::WindowMaximizeButtonHint);
  // The cover panel lies over the pages, right under the header.
  EXPECT_EQ(view->Main().WidgetNamed("P_main")->geometry().topLeft(), QPoint(0, 81));
}

// Catches: tab captions that overflow into scroll arrows or get elided.
TEST_F(ProgramFixture, AllVisibleTabsShowAtOnce) {
  auto* tabs = qobject_cast<QTabWidget*>(view->Main().WidgetNamed("PageControl1"));
  ASSERT_NE(tabs, nullptr);
  QTabBar* bar = tabs->tabBar();
  int visible = 0, right = 0;
  for (int i = 0; i < bar->count(); ++i) {
    if (!bar->isTabVisible(i)) continue;
    ++visible;
    right = std::max(right, bar->tabRect(i).right());
    EXPECT_GE(bar->tabRect(i).width(), bar->fontMetrics().horizontalAdvance(bar->tabText(i))) << i;
  }
  EXPECT_EQ(visible, 7);
  EXPECT_LE(right, tabs->width());
  for (auto* arrow : bar->findChildren<QToolButton*>()) EXPECT_FALSE(arrow->isVisible());
}

// Catches: the debug shortcut that does not reach the hidden menu entry from
// the real main window, a context menu that lists the hidden entry, or a
// debug window already shown that stays behind the main window.
TEST_F(ProgramFixture, CtrlDeleteShowsTheDebugWindow) {
  auto& main = program->Main();
  main.P_main.Hide();
  main.PageControl1.SetActivePage(&main.Tab_VoIP);
  auto* edit = qobject_cast<QLineEdit*>(view->Main().WidgetNamed("ED_H323_ID"));
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_TRUE(program->Debug().Visible());
  EXPECT_TRUE(view->Debug().Window()->isVisible());
  EXPECT_TRUE(main.PopupMenu1.ListedItems().empty());

  view->Main().Window()->activateWindow();
  ASSERT_TRUE(
      platform::DelayUntil(2000, [&] { return QApplication::activeWindow() == view->Main().Window(); }));
  QTest::keyClick(edit, Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_TRUE(
      platform::DelayUntil(2000, [&] { return QApplication::activeWindow() == view->Debug().Window(); }));
}

// Catches: Enter in an edit of the main window that does not press the
// visible default button (Connect, or Disconnect when that is shown).
TEST_F(ProgramFixture, EnterInAnEditPressesConnect) {
  auto& main = program->Main();
  main.P_main.Hide();
  main.PageControl1.SetActivePage(&main.Tab_VoIP);
  auto* edit = qobject_cast<QLineEdit*>(view->Main().WidgetNamed("ED_H323_ID"));
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_TRUE(program->Connection().Visible());  // Connect shows the connection dialog
}

/// What a screen reader says for `w`: the name of the label it has (on
/// Linux a combo box's own name is its current item), or else its name.
QString Spoken(QWidget* w) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
  if (!a) return {};
  for (const auto& [label, relation] : a->relations(QAccessible::Label))
    return label->text(QAccessible::Name);
  return a->text(QAccessible::Name);
}

// Catches an input a screen reader cannot name (no label beside it as its
// buddy, no caption or spoken name), and names that keep the built-in
// caption when the language file gives another.
TEST_F(ProgramFixture, EveryInputHasANameForScreenReaders) {
  int inputs = 0;
  for (FormView* v : {&view->Main(), &view->Connection(), &view->Login(), &view->Debug()}) {
    for (QWidget* w : v->Window()->findChildren<QWidget*>()) {
      const bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) ||
                         qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractScrollArea*>(w);
      // Inputs Tab reaches; not the lists that drop down from a combo box.
      if (!input || !(w->focusPolicy() & Qt::TabFocus) || w->window() != v->Window()) continue;
      ++inputs;
      EXPECT_FALSE(Spoken(w).isEmpty()) << w->objectName().toStdString();
    }
  }
  EXPECT_GT(inputs, 80);
  auto& p = program->Main().pages;
  p.L_Login_ID.SetCaption("Benutzer");
  EXPECT_EQ(Spoken(view->Main().WidgetNamed("ED_PPPoE_ID")), QStringLiteral("Benutzer"));
  program->Main().Tab_Status_information.SetCaption("Zustand");
  EXPECT_EQ(Spoken(view->Main().WidgetNamed("M_State_Info")), QStringLiteral("Zustand"));
}

}  // namespace
