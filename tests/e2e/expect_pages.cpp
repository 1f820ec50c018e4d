// What the pages must show after a read-out of a given gateway configuration.
#include "e2e_fixture.h"

namespace e2e {

namespace {
std::string Placed(const std::string& address) { return platform::AddressEdit::Place(address); }
}  // namespace

void ExpectPagesShow(const gwsim::GatewayConfig& c, config::ConfigPages& p) {
  EXPECT_EQ(p.L_model.Caption(), c.model);
  EXPECT_EQ(p.L_version.Caption(), c.version);

  const int type = c.wanType == gwsim::WanType::Pppoe ? 0 : c.wanType == gwsim::WanType::Dhcp ? 1 : 2;
  EXPECT_EQ(p.RG_Network_type.ItemIndex(), type);
  if (type == 0) {
    EXPECT_EQ(p.ED_PPPoE_ID.Text(), c.pppoeId);
    EXPECT_EQ(p.ED_PPPoE_Password.Text(), c.pppoePassword);
    EXPECT_EQ(p.ED_PPPoE_DNS.Text(), Placed(c.dnsServer));
  } else {
    EXPECT_EQ(p.CK_Cable_modem.Checked(), c.cableModem);
  }
  if (type == 2) {
    EXPECT_EQ(p.ED_Static_IP_address.Text(), Placed(c.staticIp));
    EXPECT_EQ(p.ED_Static_Netmask.Text(), Placed(c.staticNetmask));
    EXPECT_EQ(p.ED_Static_router.Text(), Placed(c.staticRouter));
    EXPECT_EQ(p.ED_Static_DNS.Text(), Placed(c.dnsServer));
  }

  EXPECT_EQ(p.RB_DHCP.Checked(), c.lanMode == gwsim::LanMode::DhcpGroup);
  EXPECT_EQ(p.RB_PPPoE.Checked(), c.lanMode == gwsim::LanMode::PppoeServer);
  EXPECT_EQ(p.RB_IP.Checked(), c.lanMode == gwsim::LanMode::NoAddress);

  const std::pair<platform::CheckBox*, platform::Edit*> services[] = {
      {&p.CK_service_ftp, &p.ED_service_ftp},       {&p.CK_service_http, &p.ED_service_http},
      {&p.CK_service_telnet, &p.ED_service_telnet}, {&p.CK_service_SNMP, &p.ED_service_SNMP},
      {&p.CK_service_TFTP, &p.ED_service_TFTP},     {&p.CK_service_morvel, &p.ED_service_morvel}};
  for (size_t i = 0; i < c.services.size(); ++i) {
    EXPECT_EQ(services[i].first->Checked(), c.services[i].enabled) << c.services[i].name;
    EXPECT_EQ(services[i].second->Text(), c.services[i].port) << c.services[i].name;
  }

  EXPECT_EQ(p.CK_auto_upgrade.Checked(), c.autoUpgrade);
  EXPECT_EQ(p.ED_server_URL.Text(), c.upgradeUrl.empty() ? "http://" : c.upgradeUrl);
  EXPECT_EQ(p.ED_auto_upgrade_ID.Text(), c.upgradeLogin);
  EXPECT_EQ(p.ED_auto_upgrade_password.Text(), c.upgradePassword);
  EXPECT_EQ(p.CK_upgrade_complete_restart.Checked(), c.autoReboot);
  EXPECT_EQ(p.ED_server_URL.Enabled(), c.autoUpgrade);

  const int protocol = int(c.protocol);
  EXPECT_EQ(p.RG_Protocol.ItemIndex(), protocol);
  switch (c.protocol) {
    case gwsim::Protocol::H323:
      EXPECT_EQ(p.ED_H323_ID.Text(), c.h323Id);
      EXPECT_EQ(p.ED_GK_password.Text(), c.gkPassword);
      EXPECT_EQ(p.ED_Gatekeeper_IP.Text(), Placed(c.gatekeeper1));
      EXPECT_EQ(p.ED_Gatekeeper_IP2.Text(), Placed(c.gatekeeper2));
      break;
    case gwsim::Protocol::Sip:
      EXPECT_EQ(p.ED_SIP_Username.Text(), c.sipUsername);
      EXPECT_EQ(p.ED_SIP_password.Text(), c.sipPassword);
      EXPECT_EQ(p.ED_SIP_Server_1.Text(), Placed(c.sipServer1));
      EXPECT_EQ(p.ED_SIP_Server_2.Text(), Placed(c.sipServer2));
      break;
    case gwsim::Protocol::Mgcp:
      EXPECT_EQ(p.ED_MGCP_CallAgent_1.Text(), Placed(c.callAgent1));
      EXPECT_EQ(p.ED_MGCP_CallAgent_2.Text(), Placed(c.callAgent2));
      break;
  }
  EXPECT_EQ(p.ED_NUM.Text(), c.areaNumber);

  const platform::StringGrid& grid = p.SG_VoIP_Phone_number;
  ASSERT_EQ(grid.RowCount(), int(c.voicePorts.size()) + 1);
  for (size_t i = 0; i < c.voicePorts.size(); ++i) {
    const int row = int(i) + 1;
    std::string number;
    for (const gwsim::PotsPeer& peer : c.potsPeers)
      if (peer.port == c.voicePorts[i].name) number = peer.pattern;
    EXPECT_EQ(grid.Cell(0, row), c.voicePorts[i].name);
    EXPECT_EQ(grid.Cell(1, row), c.voicePorts[i].type);
    EXPECT_EQ(grid.Cell(2, row), number) << "port " << c.voicePorts[i].name;
  }
}

}  // namespace e2e
