// The connection log of a whole visit over each transport.
#include <fstream>
#include <sstream>

#include "e2e_fixture.h"

namespace e2e {
namespace {

class LogFile : public VisitTest, public ::testing::WithParamInterface<Via> {};

// Catches a log that misses what was traced, received or sent untraced (the
// script), or that keeps a secret: the login's password, the passwords of
// the read-out's replies, of Save's script and of the gateway's echo of it.
TEST_P(LogFile, KeepsTheVisitWithItsSecretsMasked) {
  gwsim::SimulatorOptions o;
  o.config = gwsim::preset("pppoe-h323");
  o.console.loginPassword = "login-secret";
  const gwsim::GatewayConfig c = o.config;
  StartSimulator(std::move(o));
  ASSERT_TRUE(Visit(GetParam(), "login-secret"));
  ASSERT_TRUE(SaveAndConfirm());
  boxes.Queue(platform::Answer::Ok);
  main().BB_Disconnect.Click();

  std::ifstream in(connectionLog().File());
  std::stringstream text;
  text << in.rdbuf();
  const std::string log = text.str();
  for (const std::string& event : std::vector<std::string>{
           " trace Connected...\n", " trace Send_Message : start-login admin ***\n", " recv  Login ok\n",
           " recv  get-dns-server\n", " sent  ppp pap sent-username " + c.pppoeId + " password ***\n",
           " recv  security password ***\n", " trace Disconnected...\n"})
    EXPECT_NE(log.find(event), std::string::npos) << event << "\nin\n" << log;
  for (const std::string& secret : {std::string("login-secret"), c.pppoePassword, c.lanPppoePassword,
                                    c.upgradePassword, c.gkPassword, c.sipPassword, c.pstnPassword})
    EXPECT_TRUE(secret.empty() || log.find(secret) == std::string::npos) << secret << "\nin\n" << log;
}

INSTANTIATE_TEST_SUITE_P(Transports, LogFile, ::testing::Values(Via::Tcp, Via::Serial), ViaTestName);

}  // namespace
}  // namespace e2e
