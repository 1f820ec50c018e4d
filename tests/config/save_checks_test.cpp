// Save's checks: the three results and the network type's table.
#include <string>

#include <gtest/gtest.h>

#include "config/save_checks.h"
#include "stand_in_pages.h"

namespace config {
namespace {

using Pages = testsupport::StandInPages;

struct SaveRow {
  const char* what;
  int network;
  int protocol;
  const char* pppoeId;
  const char* pppoePassword;
  const char* staticIp;
  const char* netmask;
  const char* sipUser;
  const char* sipServer1;
  const char* sipServer2;
  const char* callAgent1;
  SaveProblem expected;
  int traces;  // missing-group notices from all three checks together
};

// Catches a wrong row of the network type's table, a check tested in the
// wrong order (the first failure of the row is the one reported), a result
// skipped for a network type it does not count for (its trace would be
// missing), or a check that accepts incomplete entries.
TEST(CheckSave, ReportsTheFirstFailingCheckOfTheNetworkType) {
  const char* kE = "";
  const char* kFull = "10.0.0.5";
  const SaveRow rows[] = {
      {"DHCP+H323 passes whatever the fields hold", 1, 0, kE, kE, kE, kE, kE, kE, kE, kE, SaveProblem::None,
       1},
      {"PPPoE without password, VoIP missing too", 0, 1, "id", kE, kE, kE, kE, kE, kE, kE, SaveProblem::Pppoe,
       2},
      {"PPPoE with password only", 0, 0, kE, "pw", kFull, kFull, kE, kE, kE, kE, SaveProblem::Pppoe, 0},
      {"PPPoE complete, H323", 0, 0, "id", "pw", kE, kE, kE, kE, kE, kE, SaveProblem::None, 1},
      {"SIP server without user name", 0, 1, "id", "pw", kFull, kFull, kE, kFull, kE, kE, SaveProblem::Voip,
       0},
      {"SIP secondary does not stand in for the primary", 0, 1, "id", "pw", kFull, kFull, "1001", "10.0.0.",
       kFull, kE, SaveProblem::Voip, 0},
      {"SIP complete", 0, 1, "id", "pw", kFull, kFull, "1001", kFull, kE, kE, SaveProblem::None, 0},
      {"fixed: netmask without fourth group", 2, 0, kE, kE, "10.1.2.3", "255.255.255.", kE, kE, kE, kE,
       SaveProblem::StaticIp, 0},
      {"fixed: netmask 999.999.999.999", 2, 0, kE, kE, "10.1.2.3", "999.999.999.999", kE, kE, kE, kE,
       SaveProblem::None, 0},
      {"fixed: empty address, netmask not tested", 2, 0, kE, kE, kE, kE, kE, kE, kE, kE,
       SaveProblem::StaticIp, 1},
      {"fixed: complete, MGCP agent missing", 2, 2, kE, kE, "10.1.2.3", "255.0.0.0", kE, kE, kE, kE,
       SaveProblem::Voip, 1},
      {"fixed: complete, MGCP agent set", 2, 2, kE, kE, "10.1.2.3", "255.0.0.0", kE, kE, kE, kFull,
       SaveProblem::None, 0},
      {"DHCP, MGCP agent incomplete", 1, 2, kE, kE, kE, kE, kE, kE, kE, "10.1.2.", SaveProblem::Voip, 1},
      {"DHCP, no protocol chosen", 1, -1, kE, kE, kFull, kFull, "1001", kFull, kE, kFull, SaveProblem::Voip,
       0},
      {"no network type: nothing counts, all still worked out", -1, 1, kE, kE, kE, kE, kE, kE, kE, kE,
       SaveProblem::NoNetworkType, 2},
  };
  for (const SaveRow& r : rows) {
    SCOPED_TRACE(r.what);
    Pages f;
    ConfigPages& p = f.pages;
    p.RG_Network_type.SetItemIndex(r.network);
    p.RG_Protocol.SetItemIndex(r.protocol);
    p.ED_PPPoE_ID.SetText(r.pppoeId);
    p.ED_PPPoE_Password.SetText(r.pppoePassword);
    p.ED_Static_IP_address.SetText(r.staticIp);
    p.ED_Static_Netmask.SetText(r.netmask);
    p.ED_SIP_Username.SetText(r.sipUser);
    p.ED_SIP_Server_1.SetText(r.sipServer1);
    p.ED_SIP_Server_2.SetText(r.sipServer2);
    p.ED_MGCP_CallAgent_1.SetText(r.callAgent1);
    int traces = 0;
    EXPECT_EQ(CheckSave(p, [&](std::string) { ++traces; }), r.expected);
    EXPECT_EQ(traces, r.traces);
  }
}

// Catches an optional address whose packing would join the digits of a group
// ("10.0.0.1:5060" placed as «1 5», sent as 10.0.0.15), or that is only
// partly filled (sent as "10.0.0."), getting through Save.
TEST(CheckSave, OptionalAddressThatIsNotWholeFailsItsCheck) {
  const struct {
    int network;
    int protocol;
    platform::AddressEdit ConfigPages::*field;
    SaveProblem expected;
  } rows[] = {
      {0, 0, &ConfigPages::ED_PPPoE_DNS, SaveProblem::Pppoe},
      {2, 0, &ConfigPages::ED_Static_router, SaveProblem::StaticIp},
      {2, 0, &ConfigPages::ED_Static_DNS, SaveProblem::StaticIp},
      {1, 0, &ConfigPages::ED_Gatekeeper_IP2, SaveProblem::Voip},
      {1, 1, &ConfigPages::ED_SIP_Server_2, SaveProblem::Voip},
      {1, 2, &ConfigPages::ED_MGCP_CallAgent_2, SaveProblem::Voip},
  };
  for (const auto& r : rows) {
    Pages f;
    ConfigPages& p = f.pages;
    SCOPED_TRACE((p.*r.field).Name());
    p.RG_Network_type.SetItemIndex(r.network);
    p.RG_Protocol.SetItemIndex(r.protocol);
    p.ED_PPPoE_ID.SetText("id");
    p.ED_PPPoE_Password.SetText("pw");
    p.ED_SIP_Username.SetText("1001");
    for (platform::AddressEdit* a :
         {&p.ED_Static_IP_address, &p.ED_Static_Netmask, &p.ED_SIP_Server_1, &p.ED_MGCP_CallAgent_1})
      a->SetText("10.0.0.5");
    (p.*r.field).SetText("10.0.0.1:5060");
    EXPECT_EQ(CheckSave(p, {}), r.expected);
    (p.*r.field).SetText("10.0.0");
    EXPECT_EQ(CheckSave(p, {}), r.expected);
    (p.*r.field).SetText("10.0.0.1");
    EXPECT_EQ(CheckSave(p, {}), SaveProblem::None);
  }
}

// Catches a text with CR, LF or NUL left for the script (its line would end
// there and the rest run as a command), or a refusal that names the wrong
// field or page; the grid and the service ports have no labels of their own.
TEST(LineBreakingField, NamesTheFieldByItsCaptionAndPage) {
  Pages f;
  ConfigPages& p = f.pages;
  p.ED_H323_ID.SetText("gw\x1b[2J\t1");  // other controls end no line
  EXPECT_FALSE(FindLineBreakingField(p));

  p.CK_service_ftp.SetCaption("FTP");  // captioned by the main window's layout
  p.ED_service_ftp.SetText(std::string("21\0", 3));
  auto found = FindLineBreakingField(p);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->caption, "FTP");
  EXPECT_EQ(found->page, &f.service);

  p.SG_VoIP_Phone_number.SetCell(2, 0, "Phone number");
  p.SG_VoIP_Phone_number.SetCell(2, 1, "10\n01");
  found = FindLineBreakingField(p);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->caption, "Phone number");
  EXPECT_EQ(found->page, &f.voip);
}

}  // namespace
}  // namespace config
