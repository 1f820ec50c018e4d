// A whole visit through the real widgets against the gateway simulator over
// TCP: connect, log in, read out, edit, save.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>
#include <set>

#include "gwsim/simulator.h"
#include "platform/qt/modal_forms.h"
#include "program_fixture.h"

namespace {

using platform::qt::FormView;

QLineEdit* Line(FormView& v, const char* name) {
  auto* w = qobject_cast<QLineEdit*>(v.WidgetNamed(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

void Click(FormView& v, const char* name) {
  auto* b = qobject_cast<QAbstractButton*>(v.WidgetNamed(name));
  ASSERT_NE(b, nullptr) << name;
  ASSERT_TRUE(b->isVisible() && b->isEnabled()) << name;
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

/// Replaces the text of an edit the way a user does: select all, type.
void Retype(QLineEdit* e, const QString& text) {
  e->setFocus();
  e->selectAll();
  QTest::keyClicks(e, text);
}

bool SaveConfirmed(const platform::ScriptedMessageBoxes& boxes) {
  for (const auto& b : boxes.Shown())
    if (b.icon == platform::Icon::Information && b.caption == "OK") return true;
  return false;
}

class Visit : public ProgramFixture {
 protected:
  void SetUp() override {
    gwsim::SimulatorOptions options;  // the PPPoE / H.323 gateway
    options.tcpPort = 0;
    sim = std::make_unique<gwsim::Simulator>(options);
    sim->start();
    ProgramFixture::SetUp();
  }
  void TearDown() override {
    ProgramFixture::TearDown();
    sim.reset();
  }
  /// Connects over TCP and logs in through the controls, then waits for the
  /// read-out to end.
  void LogIn() {
    auto& c = program->Connection();
    program->Main().BB_Connect.Click();
    c.RB_TCP.Click();
    c.ED_host.SetText("127.0.0.1");
    c.ED_TCP.SetText(std::to_string(sim->tcpPort()));
    c.BB_Connect.Click();
    ASSERT_TRUE(program->Login().Visible());
    program->Login().ED_ID.SetText("admin");
    program->Login().ED_Password.SetText("admin");
    program->Login().BB_OK.Click();
    const config::ConfigPages& p = program->Main().pages;
    ASSERT_TRUE(platform::DelayUntil(
        10000, [&] { return !p.ED_PPPoE_DNS.IsEmpty() && !p.L_version.Caption().empty(); }));
  }
  std::unique_ptr<gwsim::Simulator> sim;
};

// Catches: any break in the road from a user's clicks and keys to the
// gateway and back: widgets that do not reach their controls, read-outs
// that do not reach the widgets, an edit that is not saved.
TEST_F(Visit, ConnectLoginReadOutEditAndSaveThroughTheWidgets) {
  const gwsim::GatewayConfig before = sim->config();
  ASSERT_FALSE(before.pppoeId.empty());
  auto& main = program->Main();

  Click(view->Main(), "BB_Connect");
  ASSERT_TRUE(view->Connection().Window()->isVisible());
  Click(view->Connection(), "RB_TCP");
  ASSERT_TRUE(Line(view->Connection(), "ED_host")->isEnabled());
  QTest::keyClicks(Line(view->Connection(), "ED_host"), "127.0.0.1");
  Retype(Line(view->Connection(), "ED_TCP"), QString::number(sim->tcpPort()));
  Click(view->Connection(), "BB_Connect");  // OK
  ASSERT_TRUE(platform::DelayUntil(5000, [&] { return view->Login().Window()->isVisible(); }))
      << "the login dialog did not open; boxes shown: " << boxes.Shown().size();
  EXPECT_FALSE(view->Connection().Window()->isVisible());
  EXPECT_FALSE(view->Main().WidgetNamed("BB_Connect")->isVisible());
  EXPECT_TRUE(view->Main().WidgetNamed("BB_Disconnect")->isVisible());

  QTest::keyClicks(Line(view->Login(), "ED_ID"), "admin");
  QTest::keyClicks(Line(view->Login(), "ED_Password"), "admin");
  EXPECT_EQ(Line(view->Login(), "ED_Password")->displayText(), QStringLiteral("*****"));
  QTest::keyClick(Line(view->Login(), "ED_Password"), Qt::Key_Return);

  // The read-out: the cover goes with the accepted model, the DNS reply ends it.
  ASSERT_TRUE(platform::DelayUntil(10000, [&] {
    return !main.P_main.Visible() && !main.pages.ED_PPPoE_DNS.IsEmpty() &&
           !main.pages.L_version.Caption().empty();
  }));
  EXPECT_FALSE(view->Login().Window()->isVisible());
  EXPECT_FALSE(view->Main().WidgetNamed("P_main")->isVisible());
  EXPECT_EQ(Line(view->Main(), "ED_PPPoE_ID")->text().toStdString(), before.pppoeId);
  EXPECT_EQ(Line(view->Main(), "ED_H323_ID")->text().toStdString(), before.h323Id);
  EXPECT_EQ(qobject_cast<QLabel*>(view->Main().WidgetNamed("L_model"))->text().toStdString(), before.model);
  EXPECT_EQ(Line(view->Main(), "ED_PPPoE_DNS")->text(),
            QString::fromStdString(main.pages.ED_PPPoE_DNS.Text()));
  auto* tabs = qobject_cast<QTabWidget*>(view->Main().WidgetNamed("PageControl1"));
  EXPECT_EQ(tabs->currentWidget(), view->Main().WidgetNamed("Tab_LAN"));

  // An edit in a widget, then Save.
  Retype(Line(view->Main(), "ED_PPPoE_ID"), QStringLiteral("visitor@isp"));
  EXPECT_EQ(main.pages.ED_PPPoE_ID.Text(), "visitor@isp");
  QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                    tabs->tabBar()->tabRect(main.Tab_VoIP.PageIndex()).center());
  Retype(Line(view->Main(), "ED_H323_ID"), QStringLiteral("gw2002"));
  Click(view->Main(), "BB_Save");
  ASSERT_TRUE(platform::DelayUntil(10000, [&] { return SaveConfirmed(boxes); }));

  const gwsim::GatewayConfig after = sim->config();
  EXPECT_EQ(after.pppoeId, "visitor@isp");
  EXPECT_EQ(after.h323Id, "gw2002");
  EXPECT_EQ(after.pppoePassword, before.pppoePassword);
}

// Catches a pasted line break that reaches the gateway: Qt's line edit keeps
// it, and Save sent the text after it as a console command of its own.
TEST_F(Visit, PastedLineBreakNeverReachesTheGateway) {
  LogIn();
  QApplication::clipboard()->setText(QStringLiteral("secret\nreboot-system"));
  QLineEdit* password = Line(view->Main(), "ED_PPPoE_Password");
  password->setFocus();
  password->selectAll();
  QTest::keyClick(password, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(password->text(), QStringLiteral("secretreboot-system"));
  ASSERT_EQ(program->Main().pages.ED_PPPoE_Password.Text(), "secretreboot-system");

  Click(view->Main(), "BB_Save");
  ASSERT_TRUE(platform::DelayUntil(10000, [&] { return SaveConfirmed(boxes); }));
  const std::string line =
      "ppp pap sent-username " + sim->config().pppoeId + " password secretreboot-system\\r";
  EXPECT_NE(sim->transcript().find(line), std::string::npos) << sim->transcript();
  EXPECT_EQ(sim->config().pppoePassword, "secretreboot-system");
  EXPECT_EQ(sim->counters().reboots, 0u);
}

// Catches a window that drops the memo's leading empty line: appending an
// empty line to an empty text edit adds nothing, so "System Information"
// showed on the first line although the memo's first line is empty.
TEST_F(Visit, StatusMemoShowsTheModelsLines) {
  LogIn();
  auto* tabs = qobject_cast<QTabWidget*>(view->Main().WidgetNamed("PageControl1"));
  const int status = program->Main().Tab_Status_information.PageIndex();
  QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(status).center());
  const platform::Memo& memo = program->Main().pages.M_State_Info;
  ASSERT_TRUE(platform::DelayUntil(10000, [&] { return memo.Lines().size() > 2; }));
  ASSERT_EQ(memo.Lines()[1], "System Information");
  auto* shown = qobject_cast<QPlainTextEdit*>(view->Main().WidgetNamed("M_State_Info"));
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->blockCount(), int(memo.Lines().size()));
  EXPECT_EQ(shown->document()->findBlockByNumber(0).text(), QString());
  EXPECT_EQ(shown->document()->findBlockByNumber(1).text(), QStringLiteral("System Information"));
}

/// Where the keyboard's input goes: the focused widget, or the active window.
QWidget* KeyTarget() {
  QWidget* w = QApplication::focusWidget();
  return w ? w : QApplication::activeWindow();
}

std::string Focused() {
  QWidget* w = QApplication::focusWidget();
  return w ? w->objectName().toStdString() : "";
}

/// A key pressed as a user presses it: to whatever has the focus.
void Press(Qt::Key key, Qt::KeyboardModifiers mods = {}) {
  QWidget* target = KeyTarget();
  ASSERT_NE(target, nullptr) << "no window has the keyboard";
  QTest::keyClick(target, key, mods);
}

/// Alt and the underlined letter of a button: Qt shows the press and clicks
/// the button 100 ms later.
void PressMnemonic(Qt::Key letter) {
  Press(letter, Qt::AltModifier);
  platform::Delay(150);
}

void Type(const QString& text) {
  ASSERT_NE(KeyTarget(), nullptr);
  QTest::keyClicks(KeyTarget(), text);
}

/// Tab until `name` has the focus; false after a round without it.
bool TabTo(const std::string& name) {
  for (int i = 0; i < 80 && Focused() != name; ++i) Press(Qt::Key_Tab);
  return Focused() == name;
}

bool Active(FormView& v) {
  return platform::DelayUntil(3000, [&] { return QApplication::activeWindow() == v.Window(); });
}

/// What a window manager does when a dialog closes: the main window has the
/// keyboard again (the offscreen platform has no window manager).
bool BackToMain(FormView& main) {
  if (!QApplication::activeWindow()) main.Window()->activateWindow();
  return Active(main);
}

// Catches a visit that needs the mouse: a window that takes no keyboard
// focus, Tab that skips inputs, leaves reading order or lands on the pages
// under the cover, mnemonics, Enter or Escape that press nothing, Ctrl+Tab
// that misses a page or shows the hidden one.
TEST_F(Visit, AWholeVisitWithTheKeyboardAlone) {
  auto& main = program->Main();
  view->Main().Window()->activateWindow();
  ASSERT_TRUE(Active(view->Main()));
  // Before a login the cover hides the pages: Tab goes round the buttons.
  std::set<std::string> reached;
  for (int i = 0; i < 12; ++i) {
    Press(Qt::Key_Tab);
    reached.insert(Focused());
  }
  EXPECT_EQ(reached, (std::set<std::string>{"BB_Connect", "BB_Import", "BB_Exit"}));

  PressMnemonic(Qt::Key_C);  // Connect
  ASSERT_TRUE(Active(view->Connection()));
  Press(Qt::Key_Escape);  // Cancel
  EXPECT_FALSE(program->Connection().Visible());
  ASSERT_TRUE(BackToMain(view->Main()));
  PressMnemonic(Qt::Key_C);
  ASSERT_TRUE(Active(view->Connection()));
  ASSERT_TRUE(TabTo("RB_TCP"));
  Press(Qt::Key_Space);
  ASSERT_TRUE(program->Connection().RB_TCP.Checked());
  Press(Qt::Key_Tab);
  EXPECT_EQ(Focused(), "ED_host");
  Type(QStringLiteral("127.0.0.1"));
  Press(Qt::Key_Tab);
  EXPECT_EQ(Focused(), "ED_TCP");
  Press(Qt::Key_A, Qt::ControlModifier);
  Type(QString::number(sim->tcpPort()));
  Press(Qt::Key_Return);  // OK

  ASSERT_TRUE(Active(view->Login())) << "boxes shown: " << boxes.Shown().size();
  EXPECT_EQ(Focused(), "ED_ID");
  Type(QStringLiteral("admin"));
  Press(Qt::Key_Tab);
  Type(QStringLiteral("admin"));
  Press(Qt::Key_Return);
  // The read-out is over when Save can be pressed.
  ASSERT_TRUE(platform::DelayUntil(10000, [&] { return !main.P_main.Visible() && main.BB_Save.Enabled(); }));
  ASSERT_TRUE(BackToMain(view->Main()));

  // Ctrl+Tab through every page shown, from the pages and from the buttons.
  auto* tabs = qobject_cast<QTabWidget*>(view->Main().WidgetNamed("PageControl1"));
  std::vector<int> pages;
  for (int i = 0; i < 7; ++i) {
    Press(Qt::Key_Tab, Qt::ControlModifier);
    pages.push_back(tabs->currentIndex());
  }
  EXPECT_EQ(pages, (std::vector<int>{2, 3, 4, 5, 6, 7, 1}));  // the PSTN page (0) stays hidden
  ASSERT_TRUE(TabTo("BB_Save"));
  Press(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(tabs->currentIndex(), 2);
  Press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(tabs->currentIndex(), 1);

  // The debug window: from the trace, Tab goes on to the line to send.
  Press(Qt::Key_Delete, Qt::ControlModifier);
  ASSERT_TRUE(Active(view->Debug()));
  ASSERT_TRUE(TabTo("Edit1"));
  Type(QStringLiteral("get-version"));
  ASSERT_TRUE(TabTo("Button2"));  // ".."
  Press(Qt::Key_Space);
  const auto& trace = program->Debug().Display.Lines();
  EXPECT_NE(std::find(trace.begin(), trace.end(), "Send_Message : get-version\r"), trace.end());
  view->Main().Window()->activateWindow();  // Alt+Tab, which the window manager gives
  ASSERT_TRUE(Active(view->Main()));

  // The LAN page in reading order: the network type, then its fields.
  ASSERT_TRUE(TabTo("qt_tabwidget_tabbar"));
  Press(Qt::Key_Tab);
  EXPECT_EQ(Focused(), "RG_Network_type_item0");
  ASSERT_TRUE(TabTo("ED_PPPoE_ID"));
  Press(Qt::Key_A, Qt::ControlModifier);
  Type(QStringLiteral("kb-user"));
  // Save opens the review, a modal window; Enter presses its Save.
  platform::qt::QtModalForms modal;
  platform::InstallModalForms(&modal);
  bool reviewed = false;
  QTimer reviewWatch;
  QObject::connect(&reviewWatch, &QTimer::timeout, [&] {
    if (!program->Review().Visible()) return;
    reviewWatch.stop();
    reviewed = Active(view->Review());
    Press(Qt::Key_Return);
    if (program->Review().Visible()) program->Review().Close();  // so a failure cannot hang the test
  });
  reviewWatch.start(20);
  PressMnemonic(Qt::Key_S);  // Save
  platform::InstallModalForms(nullptr);
  EXPECT_TRUE(reviewed);
  ASSERT_TRUE(platform::DelayUntil(10000, [&] { return SaveConfirmed(boxes); }));
  ASSERT_TRUE(BackToMain(view->Main()));
  EXPECT_EQ(sim->config().pppoeId, "kb-user");

  boxes.Queue(platform::Answer::Yes);
  PressMnemonic(Qt::Key_R);  // Restart
  EXPECT_TRUE(platform::DelayUntil(5000, [&] { return sim->counters().reboots == 1; }));
  main.Timer1.Fire();  // the 40 seconds of the restart wait, over which Exit is disabled
  boxes.Queue(platform::Answer::Yes);
  PressMnemonic(Qt::Key_E);  // Exit
  EXPECT_TRUE(ended);
}

// Catches a review that does not show an edit with its before and after,
// shows a secret, takes input besides its own, or lets a cancelled save send
// anything: the program's modal window, left with Escape.
TEST_F(Visit, TheReviewListsAnEditAndEscapeSendsNothing) {
  LogIn();
  const gwsim::GatewayConfig before = sim->config();
  Retype(Line(view->Main(), "ED_PPPoE_ID"), QStringLiteral("visitor@isp"));
  platform::qt::QtModalForms modal;
  platform::InstallModalForms(&modal);
  QString changes, lines;
  bool modalWindow = false, escaped = false;
  QTimer::singleShot(0, [&] {
    QWidget* review = view->Review().Window();
    modalWindow = review->isVisible() && review->windowModality() == Qt::ApplicationModal;
    changes = qobject_cast<QPlainTextEdit*>(view->Review().WidgetNamed("M_Changes"))->toPlainText();
    lines = qobject_cast<QPlainTextEdit*>(view->Review().WidgetNamed("M_Lines"))->toPlainText();
    QTest::keyClick(review, Qt::Key_Escape);
    escaped = !review->isVisible();
    if (!escaped) program->Review().Close();  // so a failure cannot hang the test
  });
  Click(view->Main(), "BB_Save");
  platform::InstallModalForms(nullptr);

  EXPECT_TRUE(modalWindow);
  EXPECT_EQ(changes.toStdString(), "LAN / Login ID: " + before.pppoeId + " \xE2\x86\x92 visitor@isp");
  EXPECT_NE(lines.indexOf(QStringLiteral("ppp pap sent-username visitor@isp password \u2022")), -1)
      << lines.toStdString();
  EXPECT_EQ(lines.indexOf(QString::fromStdString(before.pppoePassword)), -1);
  EXPECT_TRUE(escaped);
  platform::Delay(200);
  EXPECT_EQ(sim->transcript().find("write-system"), std::string::npos);
  EXPECT_EQ(program->Main().pages.ED_PPPoE_ID.Text(), "visitor@isp");
}

}  // namespace
