// Faults on the real transports against the simulator: the far end vanishing
// or resetting mid read-out and mid save, a gateway that never answers.
#include <QTimer>

#include "fault_fixture.h"

namespace robustness {
namespace {

using platform::Answer;

class Vanish : public FaultTest, public ::testing::WithParamInterface<Via> {
 protected:
  /// The simulator paces its output at 9600 baud, so a fault lands while
  /// replies are still on their way.
  void StartPaced() {
    gwsim::SimulatorOptions o;
    o.config = gwsim::preset("full");
    o.pace9600 = true;
    StartGateway(std::move(o));
  }
  /// The far end goes away: the pty closes for good, the TCP peer resets.
  void Fault() {
    if (GetParam() == Via::Serial)
      sim().closePty();
    else
      sim().dropTcpClient();
  }
  bool TransportClosed() {
    devlink::DeviceLink& c = link();
    return GetParam() == Via::Serial ? !c.SerialOpen() : !c.TcpUp();
  }
};

// Catches a link that loops on a dead transport, goes on with the query
// series into nothing, or leaves the buttons claiming a connection.
TEST_P(Vanish, MidReadOut) {
  StartPaced();
  ASSERT_TRUE(Connect(GetParam()));
  TypeLogin();
  ASSERT_TRUE(WaitSent("get-lan\r"));
  Fault();
  ASSERT_TRUE(platform::DelayUntil(kWaitMs, [&] { return TransportClosed() && ButtonsIdle(); }));
  EXPECT_FALSE(Sent("get-dns-server\r"));
  platform::Delay(200);  // nothing keeps firing on the dead transport
  std::string shown;
  for (const platform::MessageBox& box : boxes.Shown()) shown += box.text + "\n";
  EXPECT_LE(boxes.Shown().size(), 1u) << shown;
}

// Catches a save reported complete although the gateway never confirmed it,
// and buttons left enabled on a connection that is gone.
TEST_P(Vanish, MidSave) {
  StartPaced();
  ASSERT_TRUE(Connect(GetParam()));
  TypeLogin();
  // Save is enabled once the read-out has ended.
  ASSERT_TRUE(platform::DelayUntil(kWaitMs, [&] { return main().BB_Save.Enabled(); }));
  main().BB_Save.Click();
  ASSERT_TRUE(Sent("write-system\r"));
  // Mid handshake: the gateway has echoed the first marker.
  ASSERT_TRUE(platform::DelayUntil(kWaitMs, [&] { return link().Record().StartTagCount() == 1; }));
  Fault();
  ASSERT_TRUE(platform::DelayUntil(kWaitMs, [&] { return TransportClosed() && ButtonsIdle(); }));
  platform::Delay(200);
  EXPECT_FALSE(BoxShown("Save was complete"));
  EXPECT_EQ(sim().counters().savesApplied, 0u);
}

INSTANTIATE_TEST_SUITE_P(Transports, Vanish, ::testing::Values(Via::Tcp, Via::Serial), ViaTestName);

struct SilentCase {
  Via via;
  bool login;         // the login goes unanswered
  const char* query;  // else this query does
};

class Silent : public FaultTest, public ::testing::WithParamInterface<SilentCase> {};

// Catches a wait without end on the user-interface thread: while the gateway
// keeps silent, timers still tick, and Disconnect and Exit still work.
TEST_P(Silent, WindowStaysResponsive) {
  const SilentCase& c = GetParam();
  gwsim::SimulatorOptions o;
  o.console.silentLogin = c.login;
  if (!c.login) o.console.silentQueries = {c.query};
  StartGateway(std::move(o));
  ASSERT_TRUE(Connect(c.via));
  TypeLogin();
  const std::string stuck = c.login ? "start-login admin admin\r" : std::string(c.query) + "\r";
  ASSERT_TRUE(WaitSent(stuck));
  const devlink::Reply state = c.login ? devlink::Reply::Login : devlink::Reply::Voip;
  ASSERT_TRUE(platform::DelayUntil(kWaitMs, [&] { return link().Record().ReplyState() == state; }));

  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(5);
  EXPECT_TRUE(platform::DelayUntil(kWaitMs, [&] { return ticks >= 3; }));
  EXPECT_EQ(link().Record().ReplyState(), state);

  boxes.Queue(Answer::Ok);
  main().BB_Disconnect.Click();
  EXPECT_TRUE(platform::DelayUntil(kWaitMs, [&] { return ButtonsIdle(); }));
  boxes.Queue(Answer::Yes);
  main().BB_Exit.Click();
  EXPECT_TRUE(ended());
}

const SilentCase kSilent[] = {
    {Via::Tcp, true, nullptr},
    {Via::Serial, true, nullptr},
    {Via::Tcp, false, "get-voip"},
    {Via::Serial, false, "get-voip"},
};
INSTANTIATE_TEST_SUITE_P(Gateways, Silent, ::testing::ValuesIn(kSilent), [](const auto& info) {
  return std::string(ViaName(info.param.via)) + (info.param.login ? "_Login" : "_Query");
});

class OneBytePerEvent : public FaultTest, public ::testing::WithParamInterface<Via> {};

// Catches words or lines lost or glued together when every byte arrives in
// a receive event of its own.
TEST_P(OneBytePerEvent, ReadOutComplete) {
  gwsim::SimulatorOptions o;
  o.config = gwsim::preset("full");
  o.chunkBytes = 1;
  o.chunkPause = std::chrono::microseconds(200);
  StartGateway(std::move(o));
  const gwsim::GatewayConfig cfg = sim().config();
  ASSERT_TRUE(Connect(GetParam()));
  TypeLogin();
  ASSERT_TRUE(platform::DelayUntil(kWaitMs * 3, [&] {
    return Sent("get-dns-server\r") && link().Record().ReplyState() == devlink::Reply::Dns &&
           !pages().ED_PPPoE_DNS.IsEmpty();
  }));
  EXPECT_EQ(pages().L_model.Caption(), cfg.model);
  EXPECT_EQ(pages().L_version.Caption(), cfg.version);
  EXPECT_EQ(pages().ED_H323_ID.Text(), cfg.h323Id);
  const platform::StringGrid& grid = pages().SG_VoIP_Phone_number;
  ASSERT_EQ(size_t(grid.RowCount() - 1), cfg.voicePorts.size());
  for (size_t i = 0; i < cfg.voicePorts.size(); ++i) {
    EXPECT_EQ(grid.Cell(0, int(i) + 1), cfg.voicePorts[i].name);
    EXPECT_EQ(grid.Cell(1, int(i) + 1), cfg.voicePorts[i].type);
  }
}

INSTANTIATE_TEST_SUITE_P(Transports, OneBytePerEvent, ::testing::Values(Via::Tcp, Via::Serial), ViaTestName);

}  // namespace
}  // namespace robustness
