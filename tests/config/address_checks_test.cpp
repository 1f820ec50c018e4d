// The address check behind Save, the router prefix and the netmask/router
// proposal made when the fixed IP address is left.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/address_checks.h"
#include "stand_in_pages.h"

namespace config {
namespace {

using Pages = testsupport::StandInPages;

const std::string kMissingGroup = "\xC1\xDF\xB0\xA3\x20\x49\x50\x20\xBE\xF8\xC0\xBD";

struct CheckRow {
  const char* address;
  bool passes;
  int traces;
};

// Catches an address check that lets an incomplete address through (the
// gateway would get "ip address 10.1.2." and the like) or one whose packing
// joins the digits of a group into another number, rejects a complete one,
// or traces the missing-group notice at the wrong times.
TEST(IpAddCheck, AcceptsExactlyAddressesWithFourNonEmptyGroups) {
  const CheckRow rows[] = {
      {"10 .1  .2  .3  ", true, 0},
      {"999.999.999.999", true, 0},
      {"1.2.3.4", true, 0},
      {"1.2.3.45678", true, 0},       // groups are not limited in length or value
      {"   .   .   .   ", false, 1},  // empty: the first dot has no group before it
      {"10 .   .2  .3  ", false, 1},
      {"10 .1  .2  .   ", false, 0},  // nothing after the third dot
      {"255.255.255.   ", false, 0},
      {"1.2", false, 0},  // ends before the third dot
      {"", false, 0},
      {".1.2.3", false, 1},
      {"1.2..3", false, 1},
      // A split group: "10.0.0.1:5060" placed, whose packing gives 10.0.0.15.
      {"10 .0  .0  .1 5", false, 0},
      {"1 0.0.0.1", false, 0},
      {" 10.0.0.1 ", true, 0},  // blanks around a group split nothing
  };
  for (const CheckRow& r : rows) {
    SCOPED_TRACE(r.address);
    std::vector<std::string> trace;
    EXPECT_EQ(IP_Add_Check(r.address, [&](std::string line) { trace.push_back(line); }), r.passes);
    ASSERT_EQ(int(trace.size()), r.traces);
    for (const std::string& line : trace) EXPECT_EQ(line, kMissingGroup);
  }
}

// Catches a crash when no trace receiver is wired.
TEST(IpAddCheck, WorksWithoutATraceReceiver) { EXPECT_FALSE(IP_Add_Check("   .   .   .   ", TraceFn{})); }

// Catches a router prefix cut at the wrong dot or losing the group's blanks.
TEST(GetGwIp, CopiesUpToTheDotAfterNGroups) {
  struct Row {
    const char* text;
    int n;
    const char* result;
  };
  const Row rows[] = {
      {"10 .1  .2  .3  ", 0, "10 "},
      {"10 .1  .2  .3  ", 1, "10 .1  "},
      {"10 .1  .2  .3  ", 2, "10 .1  .2  "},
      {"10 .1  .2  .3  ", 3, "10 .1  .2  .3  "},
      {"1.2", 3, "1.2"},
      {"", 0, ""},
  };
  for (const Row& r : rows) EXPECT_EQ(Get_GW_IP(r.text, r.n), r.result) << r.text << " n=" << r.n;
}

struct ProposalRow {
  const char* address;
  const char* netmaskBefore;
  const char* routerBefore;
  const char* netmask;
  const char* router;
};

// Catches a wrong address class (boundaries 127/128, 191/192, 223/224,
// 239/240), a wrong router prefix, or a proposal that overwrites the user's
// own netmask or router.
TEST(StaticAddressExit, ProposesNetmaskAndRouterByClass) {
  const char* kE = "   .   .   .   ";
  const ProposalRow rows[] = {
      {"10.1.2.3", "", "", "255.0  .0  .0  ", "10 .   .   .   "},
      {"172.16.1.1", "", "", "255.255.0  .0  ", "172.16 .   .   "},
      {"192.168.1.10", "", "", "255.255.255.0  ", "192.168.1  .   "},
      {"230.1.1.1", "", "", "255.255.255.255", "230.1  .1  .1  "},
      {"250.1.1.1", "", "", kE, kE},
      {"127.0.0.1", "", "", "255.0  .0  .0  ", "127.   .   .   "},
      {"128.0.0.1", "", "", "255.255.0  .0  ", "128.0  .   .   "},
      {"191.1.1.1", "", "", "255.255.0  .0  ", "191.1  .   .   "},
      {"223.1.1.1", "", "", "255.255.255.0  ", "223.1  .1  .   "},
      {"224.1.1.1", "", "", "255.255.255.255", "224.1  .1  .1  "},
      {"239.1.1.1", "", "", "255.255.255.255", "239.1  .1  .1  "},
      {"240.1.1.1", "", "", kE, kE},
      // A one- or two-digit first group with its trailing blank counts as 0,
      // which lies in the same class as its real value.
      {"99.1.1.1", "", "", "255.0  .0  .0  ", "99 .   .   .   "},
      // Empty address: class of 0, the router stays empty.
      {"", "", "", "255.0  .0  .0  ", kE},
      // The user's entries are never overwritten.
      {"192.168.1.10", "255.0.0.0", "", "255.0  .0  .0  ", kE},
      {"192.168.1.10", "", "1.2.3.4", kE, "1  .2  .3  .4  "},
  };
  for (const ProposalRow& r : rows) {
    SCOPED_TRACE(r.address);
    Pages f;
    f.pages.ED_Static_IP_address.SetText(r.address);
    f.pages.ED_Static_Netmask.SetText(r.netmaskBefore);
    f.pages.ED_Static_router.SetText(r.routerBefore);
    ED_Static_IP_addressExit(f.pages);
    EXPECT_EQ(f.pages.ED_Static_Netmask.Text(), r.netmask);
    EXPECT_EQ(f.pages.ED_Static_router.Text(), r.router);
  }
}

}  // namespace
}  // namespace config
