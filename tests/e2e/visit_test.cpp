// Whole visits against the simulated gateway over loopback TCP and over a
// pseudo-terminal: connect (with the serial probe), login, read-out, save,
// restart.
#include "e2e_fixture.h"

namespace e2e {
namespace {

using platform::Answer;
using platform::Icon;

struct VisitCase {
  Via via;
  Gateway gateway;
};

std::string CaseName(const ::testing::TestParamInfo<VisitCase>& info) {
  std::string n = std::string(ViaName(info.param.via)) + "_" + info.param.gateway.preset;
  if (info.param.gateway.pace9600) n += "_paced";
  if (info.param.gateway.chunkBytes) n += "_chunked";
  if (info.param.gateway.lineEnd == gwsim::LineEnd::Cr) n += "_cr";
  if (info.param.gateway.lineEnd == gwsim::LineEnd::Lf) n += "_lf";
  for (char& ch : n)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
}

class Visit : public VisitTest, public ::testing::WithParamInterface<VisitCase> {};

// Catches a connect, probe or login that does not reach the read-out, a
// read-out that misses or misplaces any field of any network type or
// protocol, a refused login that is not offered again, and a save of
// unchanged pages that changes the gateway (the script and the read-out must
// agree on every field they share).
TEST_P(Visit, LoginReadOutAndUnchangedSave) {
  const VisitCase& c = GetParam();
  StartGateway(c.gateway);
  const gwsim::GatewayConfig before = sim().config();

  ASSERT_TRUE(Connect(c.via)) << "connect failed; boxes: " << boxes.Shown().size();
  EXPECT_FALSE(connection().Visible());
  EXPECT_TRUE(main().BB_Disconnect.Showing());

  TypeLogin("admin", "wrong");
  ASSERT_TRUE(platform::DelayUntil(kWaitMs, [&] { return BoxShown("Id or password is not correct"); }));
  EXPECT_TRUE(login().Visible());
  EXPECT_TRUE(main().P_main.Visible());

  TypeLogin("admin", "admin");
  ASSERT_TRUE(WaitForReadOut());
  EXPECT_FALSE(login().Visible());
  EXPECT_FALSE(main().P_main.Visible());
  EXPECT_TRUE(main().BB_Save.Enabled() && main().BB_Restart.Enabled());
  ExpectPagesShow(before, pages());

  ASSERT_TRUE(SaveAndConfirm());
  EXPECT_EQ(boxes.Shown().back(),
            (platform::MessageBox{"Save was complete\rPlease restart, if you want to apply to a modification",
                                  "OK", Icon::Information, platform::Buttons::Ok}));
  EXPECT_EQ(sim().counters().savesApplied, 1u);
  EXPECT_EQ(gwsim::formatConfigText(sim().config()), gwsim::formatConfigText(before));
}

const VisitCase kVisits[] = {
    {Via::Tcp, {"pppoe-h323", ""}},
    {Via::Tcp, {"dhcp-sip", ""}},
    {Via::Tcp, {"static-mgcp", ""}},
    {Via::Tcp, {"full", ""}},
    {Via::Tcp, {"full", "", gwsim::LineEnd::Cr, 7}},
    {Via::Serial, {"pppoe-h323", "", gwsim::LineEnd::CrLf, 0, true}},
    {Via::Serial, {"dhcp-sip", ""}},
    {Via::Serial, {"static-mgcp", "", gwsim::LineEnd::Lf}},
    {Via::Serial, {"full", "", gwsim::LineEnd::CrLf, 5}},
};
INSTANTIATE_TEST_SUITE_P(Gateways, Visit, ::testing::ValuesIn(kVisits), CaseName);

}  // namespace
}  // namespace e2e
