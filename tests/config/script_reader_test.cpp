// The script reader against the writer: what it takes writes the same lines
// again, and what it refuses it refuses whole, naming the line to blame.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "config/configuration_file.h"
#include "config/script_table.h"
#include "config/script_writer.h"
#include "stand_in_pages.h"

namespace config {
namespace {

using Pages = testsupport::StandInPages;
using Lines = std::vector<std::string>;
using Reason = Refusal::Reason;

/// Every field a mode needs, and with `optional` every other field of the
/// script too, each with a value of its own; grid rows 1 and 3 numbered,
/// row 2 not (so the POTS tags have a gap).
void Fill(ConfigPages& p, int network, int protocol, Attachment lan, bool optional) {
  p.RG_Network_type.SetItemIndex(network);
  p.RG_Protocol.SetItemIndex(protocol);
  SetAttachment(p, lan);
  for (auto [e, text] :
       {std::pair{&p.ED_PPPoE_ID, "user@isp"}, {&p.ED_PPPoE_Password, "p w"}, {&p.ED_SIP_Username, "1001"}})
    e->SetText(text);
  for (auto* a : {&p.ED_Static_IP_address, &p.ED_Static_Netmask, &p.ED_SIP_Server_1, &p.ED_MGCP_CallAgent_1})
    a->SetText("10.0.0.5");
  platform::StringGrid& g = p.SG_VoIP_Phone_number;
  g.SetRowCount(4);
  for (int row = 1; row < 4; ++row) g.SetCell(0, row, std::to_string(row - 1));
  g.SetCell(2, 1, "1001");
  g.SetCell(2, 3, "1003");
  if (!optional) return;
  for (auto* a : {&p.ED_PPPoE_DNS, &p.ED_Static_router, &p.ED_Static_DNS, &p.ED_Gatekeeper_IP,
                  &p.ED_Gatekeeper_IP2, &p.ED_SIP_Server_2, &p.ED_MGCP_CallAgent_2})
    a->SetText("192.168.100.254");
  for (auto [e, text] : {std::pair{&p.ED_H323_ID, "gw 1"},
                         {&p.ED_GK_password, "gk"},
                         {&p.ED_SIP_password, "s"},
                         {&p.ED_NUM, "02"},
                         {&p.ED_server_URL, ""},
                         {&p.ED_auto_upgrade_ID, ""},
                         {&p.ED_auto_upgrade_password, "up"}})
    e->SetText(text);
  for (const ServiceFields& s : kServices) {
    (p.*s.check).SetChecked(true);
    (p.*s.port).SetText("2121");
  }
  for (auto* c : {&p.CK_Cable_modem, &p.CK_auto_upgrade, &p.CK_upgrade_complete_restart}) c->SetChecked(true);
}

std::vector<ScriptLine> Numbered(const Lines& script) {
  std::vector<ScriptLine> lines;
  for (const std::string& l : script) lines.push_back({int(lines.size()) + 1, l});
  return lines;
}

// Catches a line read into the wrong field or mode, a field lost, or a value
// that reads back otherwise: in every mode of every page, with every
// optional line there and with none, the lines read write the same lines
// again, into fresh pages and into pages that held another configuration
// (other phone numbers among it).
TEST(ScriptReader, EveryModeOfEveryPageReadsBackToTheSameLines) {
  int scripts = 0;
  for (int network : {kPppoe, kDhcp, kFixed})
    for (int protocol : {kH323, kSip, kMgcp})
      for (Attachment lan : {kNoAttachment, kLanDhcp, kLanPppoe, kLanFixed})
        for (bool optional : {false, true}) {
          Pages source;
          Fill(source.pages, network, protocol, lan, optional);
          const Lines script = ConfigurationScript(source.pages);
          for (bool fresh : {true, false}) {
            SCOPED_TRACE(testing::Message() << network << protocol << lan << optional << fresh);
            Pages target;
            if (!fresh) {
              Fill(target.pages, (network + 1) % 3, (protocol + 1) % 3, lan, !optional);
              // Other numbers on other rows, for the file's to replace.
              for (int row : {1, 2, 3})
                target.pages.SG_VoIP_Phone_number.SetCell(2, row, row < 3 ? "200" : "");
            }
            auto read = ReadScript(Numbered(script), target.pages);
            ASSERT_TRUE(std::holds_alternative<std::unique_ptr<DetachedPages>>(read))
                << std::get<Refusal>(read).line << ": " << std::get<Refusal>(read).text;
            EXPECT_EQ(ConfigurationScript(std::get<0>(read)->pages), script);
            ++scripts;
          }
        }
  EXPECT_EQ(scripts, 144);
}

// Catches a file taken in part or with a line it cannot stand behind, and a
// refusal that blames the wrong line or no line: each edit of a good script
// is refused for its reason, at the edited line.
TEST(ScriptReader, RefusesTheFirstOffendingLine) {
  Pages base;
  Fill(base.pages, kPppoe, kH323, kLanDhcp, true);
  base.pages.L_Primary_GK_IP.SetCaption("Primary GK IP");
  const Lines script = ConfigurationScript(base.pages);
  const auto at = [&](std::string_view line) {
    return int(std::find(script.begin(), script.end(), line) - script.begin());
  };
  const struct {
    const char* name;
    std::string line;  // the script's line the edit replaces
    std::vector<std::string> replacement;
    int blamed;  // the replacement's line to blame
    Reason reason;
    std::string caption;
  } rows[] = {
      {"a command among the lines",
       "interface ether0.0",
       {"interface ether0.0", "reboot-system"},
       1,
       Reason::UnknownLine},
      {"the link's end marker", "register", {"register", "!END-TAG!"}, 1, Reason::UnknownLine},
      {"two lines swapped", "service ftpd", {"service httpd", "service ftpd"}, 1, Reason::MisplacedLine},
      {"an address that is not one",
       "gkip 192.168.100.254 1719 128",
       {"gkip 192.168.100. 1719 128"},
       0,
       Reason::Misfit,
       "Primary GK IP"},
      {"a port out of range", "service-port ftpd 2121", {"service-port ftpd 70000"}, 0, Reason::Misfit},
      {"a port row beyond the grid",
       "dial-peer voice 0 pots",
       {"dial-peer voice 64 pots"},
       0,
       Reason::Misfit},
      {"the default URL written out",
       "auto-upgrade  url  ",
       {"auto-upgrade  url  http://"},
       0,
       Reason::Misfit},
      {"a value Save refuses",
       "ppp pap sent-username user@isp password p w",
       {"ppp pap sent-username user@isp password "},
       0,
       Reason::SaveCheck},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Lines edited = script;
    const int index = at(r.line);
    ASSERT_LT(index, int(script.size()));
    edited.erase(edited.begin() + index);
    edited.insert(edited.begin() + index, r.replacement.begin(), r.replacement.end());
    const int blamed = index + r.blamed;
    auto read = ReadScript(Numbered(edited), base.pages);
    ASSERT_TRUE(std::holds_alternative<Refusal>(read));
    const Refusal& refusal = std::get<Refusal>(read);
    EXPECT_EQ(refusal.reason, r.reason);
    EXPECT_EQ(refusal.line, blamed + 1);
    EXPECT_EQ(refusal.text, edited[size_t(blamed)]);
    EXPECT_EQ(refusal.caption, r.caption);
  }
  Lines truncated(script.begin(), script.end() - 1);
  EXPECT_EQ(std::get<Refusal>(ReadScript(Numbered(truncated), base.pages)).reason, Reason::EndsEarly);
}

// Catches a file's header read as script lines, CR LF ends taken into the
// lines, and a NUL, a CR within a line or an oversized file let through.
TEST(ConfigurationFile, HeaderLineEndsAndRefusalsOfTheWholeFile) {
  Pages base;
  Fill(base.pages, kDhcp, kSip, kLanFixed, false);
  const Lines script = ConfigurationScript(base.pages);
  std::string text = ConfigurationFileText({"MVG-2400", "2.35.07", "2026-12-09 10:00:00", "v2.35"}, script);
  ASSERT_EQ(text.substr(0, text.find("dhcp-list")),
            "! Morvel VoIP gateway configuration\n! Model: MVG-2400\n! Software version: 2.35.07\n"
            "! Written: 2026-12-09 10:00:00\n! Configuration tool: v2.35\n");
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  auto read = ReadConfigurationFile(crlf, base.pages);
  ASSERT_TRUE(std::holds_alternative<ImportedFile>(read));
  EXPECT_EQ(std::get<ImportedFile>(read).model, "MVG-2400");
  EXPECT_EQ(ConfigurationScript(std::get<ImportedFile>(read).fields->pages), script);

  const auto refusal = [&](const std::string& bytes) {
    return std::get<Refusal>(ReadConfigurationFile(bytes, base.pages));
  };
  const std::string head = "! Model: X\n";
  EXPECT_EQ(refusal(head), Refusal::OfFile(Reason::NoScript));
  EXPECT_EQ(refusal(head + std::string("dhcp-list 0\0 type", 17) + "\n"),
            Refusal::OfLine(Reason::NulByte, {2, "dhcp-list 0"}));
  // A CR inside a value would end its line early at the gateway.
  std::string split = text;
  const size_t at = split.find("sip-username 1001\n");
  split.insert(at + 17, "\rreboot-system");
  EXPECT_EQ(refusal(split),
            Refusal::OfLine(Reason::UnknownLine, {int(std::count(text.begin(), text.begin() + at, '\n')) + 1,
                                                  "sip-username 1001\rreboot-system"}));
  EXPECT_EQ(refusal(text + std::string(kMaxFileBytes, '!')), Refusal::OfFile(Reason::TooLarge));
}

}  // namespace
}  // namespace config
