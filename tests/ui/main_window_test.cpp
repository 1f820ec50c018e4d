#include <filesystem>
#include <fstream>

#include "ui_fixture.h"

namespace ui::test {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

using MainWindowTest = UiTest;

// Catches a start-up that leaves the pages uncovered, the PSTN tab listed, or
// more than Connect and Exit usable.
TEST_F(MainWindowTest, StartsInTheIdleLook) {
  TF_morvel_config_main& w = main();
  EXPECT_TRUE(w.Visible());
  EXPECT_TRUE(w.P_main.Showing());
  EXPECT_EQ(w.P_main.Geometry().top, 81);
  EXPECT_FALSE(w.P_State.Visible());
  EXPECT_TRUE(w.BB_Connect.Showing());
  EXPECT_TRUE(w.BB_Connect.EffectivelyEnabled());
  EXPECT_FALSE(w.BB_Disconnect.Visible());
  EXPECT_FALSE(w.BB_Save.Enabled());
  EXPECT_FALSE(w.BB_Restart.Enabled());
  EXPECT_TRUE(w.BB_Exit.Enabled());
  EXPECT_EQ(w.PageControl1.ActivePage(), &w.Tab_LAN);
  EXPECT_FALSE(w.Tab_PSTN.TabVisible());
  EXPECT_FALSE(pages().GB_Area_Number.Visible());
  EXPECT_TRUE(w.IMG_Morvel_Setup.Visible());
  EXPECT_FALSE(w.IMG_DIAL_UP.Visible());
  EXPECT_FALSE(w.IMG_Product.Visible());
  EXPECT_EQ(pages().L_Morvel_Version.Caption(), "v2.35");
  EXPECT_EQ(pages().SG_VoIP_Phone_number.Cell(2, 0), "Phone number");
  EXPECT_FALSE(w.T_State_Info.Enabled());
  EXPECT_FALSE(w.Timer1.Enabled());
  EXPECT_FALSE(w.Timer_gauge.Enabled());
  EXPECT_FALSE(connection().Visible());
  EXPECT_FALSE(debug().Visible());
  EXPECT_FALSE(login().Visible());
  EXPECT_TRUE(boxes.Shown().empty());
}

// Catches globals that point nowhere while the program runs, or that dangle
// after it ended.
TEST(ProgramTest, GlobalsReachTheWindowsOnlyWhileTheProgramLives) {
  {
    Program program([] {});
    EXPECT_EQ(F_morvel_config_main, &program.Main());
    EXPECT_EQ(F_Connection, &program.Connection());
    EXPECT_EQ(F_Debug, &program.Debug());
    EXPECT_EQ(F_Login, &program.Login());
    // The link traces to the debug window and fills the main window's pages.
    program.Link().Receive("get-version\r\nversion 9.9\r\n", devlink::LineEnds::Tcp);
    EXPECT_EQ(program.Debug().Display.Lines().back(), "Send_Message :  ");
    EXPECT_EQ(program.Main().pages.L_version.Caption(), "9.9");
  }
  EXPECT_EQ(F_morvel_config_main, nullptr);
  EXPECT_EQ(F_Login, nullptr);
}

// Catches a language file that is not written or not applied at show: the
// defaults replace the built-in captions and fill the message texts.
TEST_F(MainWindowTest, ShowWritesAndAppliesTheDefaultLanguageFile) {
  EXPECT_TRUE(std::filesystem::exists(Dir() + "/language.cfg"));
  EXPECT_EQ(main().Tab_LAN.Caption(), "LAN");
  EXPECT_EQ(main().BB_Connect.Caption(), "Connect");
  EXPECT_EQ(pages().L_Model_.Caption(), "Model :");
  EXPECT_EQ(login().BB_OK.Caption(), "OK");
  EXPECT_EQ(main().messages[lang::Msg::CloseProgram], "Would you like to close this program?");
}

class LanguageFileTest : public UiTest {
 protected:
  void BeforeStart() override { std::ofstream(Dir() + "/language.cfg") << "Save = Keep\r\n"; }
};

// Catches a conversion run in the wrong directory, or defaults written over
// an existing file.
TEST_F(LanguageFileTest, AnExistingFileIsAppliedAsItIs) {
  EXPECT_EQ(main().BB_Save.Caption(), "Keep");
  EXPECT_EQ(main().BB_Exit.Caption(), "Exit");
  EXPECT_EQ(main().Tab_LAN.Caption(), " LAN   ");
  EXPECT_EQ(main().messages[lang::Msg::CloseProgram], "");
}

class UnreadableLanguageFileTest : public UiTest {
 protected:
  // A directory where the file should be cannot be read as one.
  void BeforeStart() override { std::filesystem::create_directory(Dir() + "/language.cfg"); }
};

// Catches an I/O error of the conversion that escapes the show handler, is
// shown more than once, or keeps the window from showing.
TEST_F(UnreadableLanguageFileTest, ShowsOneErrorBoxAndTheWindowAllTheSame) {
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].icon, Icon::Error);
  EXPECT_TRUE(main().Visible());
  EXPECT_FALSE(main().Tab_PSTN.TabVisible());
  EXPECT_EQ(pages().L_Morvel_Version.Caption(), "v2.35");
}

// Catches Connect forgetting a per-connection reset, leaving status mode on,
// or not showing the dialog.
TEST_F(MainWindowTest, ConnectResetsTheCountersAndShowsTheDialog) {
  this->link().StartIn(
      devlink::LinkState().SaveTagsSeen(1, 1).VoipCounted(3, 3, 3).StatusLines().FollowUpDue());
  const devlink::LinkRecord link = this->link().Record();
  pages().SG_VoIP_Phone_number.SetRowCount(4);
  main().P_main.Hide();

  main().BB_Connect.Click();

  EXPECT_EQ(link.StartTagCount() + link.EndTagCount(), 0);
  EXPECT_EQ(link.VoicePortRow() + link.PotsPeerCount() + link.PatternCount(), 0);
  EXPECT_FALSE(link.StatusMode());
  EXPECT_FALSE(link.StatusFollowUp());
  EXPECT_EQ(pages().SG_VoIP_Phone_number.RowCount(), 2);
  EXPECT_TRUE(connection().Visible());
  EXPECT_TRUE(main().P_main.Visible());
}

// Catches Enter pressing a hidden default button instead of the visible one.
TEST_F(MainWindowTest, EnterPressesWhicheverOfConnectAndDisconnectIsVisible) {
  main().PressEnter();
  EXPECT_TRUE(connection().Visible());

  ConnectOver(devlink::TransportKind::Tcp);
  boxes.Queue(Answer::Cancel);
  main().PressEnter();
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "Do you want to end connection?");
}

struct DisconnectCase {
  const char* name;
  devlink::TransportKind mode;
  Answer answer;
  std::vector<std::string> sent;
  bool closed;
};

// Catches Disconnect that sends the end command over TCP, forgets it over
// serial, or acts on Cancel.
TEST_F(MainWindowTest, DisconnectByTransportAndAnswer) {
  const DisconnectCase cases[] = {
      {"serial, OK", devlink::TransportKind::Serial, Answer::Ok, {"end-morvel\r"}, true},
      {"TCP, OK", devlink::TransportKind::Tcp, Answer::Ok, {}, true},
      {"serial, Cancel", devlink::TransportKind::Serial, Answer::Cancel, {}, false},
      {"no transport, OK", devlink::TransportKind::None, Answer::Ok, {}, false},
  };
  for (const DisconnectCase& c : cases) {
    SCOPED_TRACE(c.name);
    serial = RecordingTransport{};
    tcp = RecordingTransport{};
    WireCloseEvents();
    ConnectOver(c.mode);
    main().P_main.Hide();
    main().T_State_Info.Start();
    boxes.Clear();
    boxes.Queue(c.answer);

    main().BB_Disconnect.Click();

    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0], (platform::MessageBox{"Do you want to end connection?", "Confirm",
                                                      Icon::Question, Buttons::OkCancel}));
    RecordingTransport& t = c.mode == devlink::TransportKind::Tcp ? tcp : serial;
    EXPECT_EQ(t.written, c.sent);
    EXPECT_EQ(t.closes, c.closed ? 1 : 0);
    const bool acted = c.answer == Answer::Ok;
    EXPECT_EQ(main().T_State_Info.Enabled(), !acted);
    EXPECT_EQ(main().P_main.Visible(), acted);
    if (c.closed) {
      EXPECT_TRUE(main().BB_Connect.Showing());
      EXPECT_FALSE(main().BB_Save.Enabled());
    }
  }
}

// Catches an exit that ignores the answer, sends the end command over TCP or
// twice over serial, or does not end the program.
TEST_F(MainWindowTest, ExitAsksAndEndsTheProgramOnlyOnYes) {
  ConnectOver(devlink::TransportKind::Serial);
  boxes.Queue(Answer::No);
  main().BB_Exit.Click();
  EXPECT_TRUE(main().Visible());
  EXPECT_TRUE(serial.written.empty());
  EXPECT_EQ(programEnds, 0);

  boxes.Queue(Answer::Yes);
  main().BB_Exit.Click();
  EXPECT_EQ(boxes.Shown().back(), (platform::MessageBox{"Would you like to close this program?", "Confirm",
                                                        Icon::Question, Buttons::YesNo}));
  EXPECT_EQ(serial.written, std::vector<std::string>{"end-morvel\r"});
  EXPECT_EQ(serial.closes, 1);
  EXPECT_FALSE(main().Visible());
  EXPECT_EQ(programEnds, 1);
}

// Catches a close over TCP that writes the serial end command anyway.
TEST_F(MainWindowTest, ExitOverTcpSendsNothing) {
  ConnectOver(devlink::TransportKind::Tcp);
  serial.open = false;
  boxes.Queue(Answer::Yes);
  main().Close();
  EXPECT_TRUE(tcp.written.empty());
  EXPECT_TRUE(serial.written.empty());
  EXPECT_EQ(programEnds, 1);
}

// Catches Ctrl+Delete not reaching the hidden entry, or the entry being listed.
TEST_F(MainWindowTest, CtrlDeleteShowsTheDebugWindow) {
  EXPECT_TRUE(main().PopupMenu1.ListedItems().empty());
  EXPECT_TRUE(main().ShortCut(16430));
  EXPECT_TRUE(debug().Visible());
}

// Catches a restart that acts on No.
TEST_F(MainWindowTest, RestartAnsweredNoChangesNothing) {
  ConnectOver(devlink::TransportKind::Tcp);
  boxes.Queue(Answer::No);
  main().BB_Restart.Click();
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0],
            (platform::MessageBox{"Would you like to restart?", "Confirm", Icon::Question, Buttons::YesNo}));
  EXPECT_TRUE(tcp.written.empty());
  EXPECT_EQ(tcp.closes, 0);
  EXPECT_FALSE(main().Timer1.Enabled());
  EXPECT_TRUE(main().BB_Exit.Enabled());
}

// Catches a restart wait with the wrong look, a transport left open, Connect
// usable too early, or a wait that never ends.
TEST_F(MainWindowTest, RestartWaitsFortySecondsThenAllowsConnect) {
  ConnectOver(devlink::TransportKind::Tcp);
  main().P_main.Hide();
  main().T_State_Info.Start();
  link().StartIn(devlink::LinkState().StatusLines());
  boxes.Queue(Answer::Yes);

  main().BB_Restart.Click();

  EXPECT_EQ(tcp.written, std::vector<std::string>{"reboot-system\r"});
  EXPECT_EQ(tcp.closes, 1);
  EXPECT_FALSE(link().Record().StatusMode());
  TF_morvel_config_main& w = main();
  EXPECT_TRUE(w.P_main.Visible());
  EXPECT_TRUE(w.P_State.Showing());
  EXPECT_EQ(w.Gauge1.Progress(), 0);
  EXPECT_TRUE(w.BB_Connect.Visible());
  EXPECT_FALSE(w.BB_Connect.Enabled());
  EXPECT_FALSE(w.BB_Disconnect.Visible());
  EXPECT_FALSE(w.BB_Save.Enabled());
  EXPECT_FALSE(w.BB_Restart.Enabled());
  EXPECT_FALSE(w.BB_Exit.Enabled());
  EXPECT_FALSE(w.T_State_Info.Enabled());
  EXPECT_TRUE(w.Timer1.Enabled());
  EXPECT_TRUE(w.Timer_gauge.Enabled());
  EXPECT_EQ(w.Timer1.Interval(), 40000);
  EXPECT_EQ(w.Timer_gauge.Interval(), 700);

  for (int i = 0; i < 57; ++i) w.Timer_gauge.Fire();
  w.Timer1.Fire();

  EXPECT_FALSE(w.P_State.Visible());
  EXPECT_FALSE(w.Timer1.Enabled());
  EXPECT_TRUE(w.BB_Connect.EffectivelyEnabled());
  EXPECT_TRUE(w.BB_Exit.Enabled());
  EXPECT_TRUE(w.P_main.Visible());
  EXPECT_TRUE(w.Timer_gauge.Enabled());
  EXPECT_EQ(w.Gauge1.Progress(), 57);
}

// Catches a gauge that overflows 100, a gauge timer that never stops, or a
// second restart that does not start the strip from 0.
TEST_F(MainWindowTest, GaugeStopsAfterItsHundredthTickAndRestartsFromZero) {
  ConnectOver(devlink::TransportKind::Serial);
  main().BB_Restart.SetEnabled(true);  // over serial the accepted model enables it
  boxes.Queue(Answer::Yes);
  main().BB_Restart.Click();
  EXPECT_EQ(serial.closes, 1);
  for (int i = 0; i < 99; ++i) main().Timer_gauge.Fire();
  EXPECT_TRUE(main().Timer_gauge.Enabled());
  main().Timer_gauge.Fire();
  EXPECT_FALSE(main().Timer_gauge.Enabled());
  EXPECT_EQ(main().Gauge1.Progress(), 100);
  main().Timer_gauge.Fire();
  EXPECT_EQ(main().Gauge1.Progress(), 100);
  main().Timer1.Fire();

  serial.open = true;
  main().BB_Restart.SetEnabled(true);
  boxes.Queue(Answer::Yes);
  main().BB_Restart.Click();
  EXPECT_EQ(main().Gauge1.Progress(), 0);
  EXPECT_EQ(main().gaugeTickCount, 0);
  EXPECT_TRUE(main().Timer_gauge.Enabled());
  EXPECT_TRUE(main().P_State.Visible());
}

// Catches a restart before any connection that fails instead of starting the wait.
TEST_F(MainWindowTest, RestartWithoutTransportStillStartsTheWait) {
  boxes.Queue(Answer::Yes);
  main().BB_Restart.Click();  // disabled: nothing
  EXPECT_TRUE(boxes.Shown().empty());
  boxes.Queue(Answer::Yes);
  main().BB_RestartClick();
  EXPECT_TRUE(main().Timer1.Enabled());
  EXPECT_EQ(debug().Display.Lines().back(), "Send_Message : reboot-system\r");
}

// Catches a failing serial write that is not shown, or that closes the port anyway.
TEST_F(MainWindowTest, AFailedEndCommandIsShownAndLeavesTheConnection) {
  struct FailingTransport : RecordingTransport {
    void Write(std::string_view) override { throw platform::Error("WriteFile function failed"); }
  } failing;
  link().Transport().Plug(devlink::TransportKind::Serial, &failing);
  ConnectOver(devlink::TransportKind::Serial);
  boxes.Queue(Answer::Ok);
  main().BB_Disconnect.Click();
  ASSERT_EQ(boxes.Shown().size(), 2u);
  EXPECT_EQ(boxes.Shown()[1].icon, Icon::Error);
  EXPECT_EQ(boxes.Shown()[1].text, "WriteFile function failed.");
  EXPECT_EQ(failing.closes, 0);
  EXPECT_TRUE(main().BB_Disconnect.Visible());
}

}  // namespace
}  // namespace ui::test
