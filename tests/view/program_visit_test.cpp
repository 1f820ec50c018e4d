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

#include "gwsim/simulator.h"
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

}  // namespace
