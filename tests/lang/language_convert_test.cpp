// The conversion on three stand-in windows: the default file on first run,
// every target with its default text, the file's line rules as they reach the
// captions, and failures that stop the conversion.
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "lang/language_convert.h"

namespace {

using namespace std::string_literals;
using platform::Control;
using platform::Form;

enum class Win { Main, Connection, Login };
enum class Kind { Caption, Item, Grid };

struct Expect {
  Win win;
  const char* name;
  Kind kind;
  int index;
  const char* text;  // after the default file is applied
};

// Every target with the text the default file gives it, in table order.
const Expect kDefaults[] = {
    {Win::Connection, "BB_Connect", Kind::Caption, 0, "OK"},
    {Win::Login, "BB_OK", Kind::Caption, 0, "OK"},
    {Win::Connection, "BB_Cancel", Kind::Caption, 0, "Cancel"},
    {Win::Login, "BB_Cancel", Kind::Caption, 0, "Cancel"},
    {Win::Main, "BB_Connect", Kind::Caption, 0, "Connect"},
    {Win::Main, "BB_Disconnect", Kind::Caption, 0, "Disconnect"},
    {Win::Main, "BB_Save", Kind::Caption, 0, "Save"},
    {Win::Main, "BB_Restart", Kind::Caption, 0, "Restart"},
    {Win::Main, "BB_Exit", Kind::Caption, 0, "Exit"},
    {Win::Connection, "L_port", Kind::Caption, 0, "Port"},
    {Win::Main, "SG_VoIP_Phone_number", Kind::Grid, 0, "Port"},
    {Win::Connection, "L_Host", Kind::Caption, 0, "Host"},
    {Win::Connection, "L_TCP_port", Kind::Caption, 0, "TCP port"},
    {Win::Login, "L_Login_ID", Kind::Caption, 0, "Login ID"},
    {Win::Main, "L_Login_ID", Kind::Caption, 0, "Login ID"},
    {Win::Main, "L_auto_ID", Kind::Caption, 0, "Login ID"},
    {Win::Login, "L_Password", Kind::Caption, 0, "Password"},
    {Win::Main, "L_PSTN_Password", Kind::Caption, 0, "Password"},
    {Win::Main, "L_Password", Kind::Caption, 0, "Password"},
    {Win::Main, "L_H323_Password", Kind::Caption, 0, "Password"},
    {Win::Main, "L_auto_password", Kind::Caption, 0, "Password"},
    {Win::Main, "Tab_LAN", Kind::Caption, 0, "LAN"},
    {Win::Main, "Tab_PSTN", Kind::Caption, 0, "PSTN"},
    {Win::Main, "GB_PSTN", Kind::Caption, 0, "PSTN"},
    {Win::Main, "Tab_PC", Kind::Caption, 0, "PC"},
    {Win::Main, "Tab_VoIP", Kind::Caption, 0, "VoIP"},
    {Win::Main, "Tab_Service", Kind::Caption, 0, "Service"},
    {Win::Main, "Tab_Auto_upgrade", Kind::Caption, 0, "Auto Upgrade"},
    {Win::Main, "Tab_Status_information", Kind::Caption, 0, "Status Information"},
    {Win::Main, "Tab_About", Kind::Caption, 0, "About"},
    {Win::Main, "RG_Network_type", Kind::Caption, 0, "Network type"},
    {Win::Main, "RG_PC_Network", Kind::Caption, 0, "Network type"},
    {Win::Main, "RG_Network_type", Kind::Item, 0, "Dynamic IP address using PPPoE"},
    {Win::Main, "GB_PPPoE", Kind::Caption, 0, "Dynamic IP address using PPPoE"},
    {Win::Main, "RG_Network_type", Kind::Item, 1, "Dynamic IP address using DHCP"},
    {Win::Main, "GB_DHCP", Kind::Caption, 0, "Dynamic IP address using DHCP"},
    {Win::Main, "RG_Network_type", Kind::Item, 2, "Fixed IP address"},
    {Win::Main, "GB_Static_IP_address", Kind::Caption, 0, "Fixed IP address"},
    {Win::Main, "L_IP_address", Kind::Caption, 0, "IP address"},
    {Win::Main, "L_Netmask", Kind::Caption, 0, "Netmask"},
    {Win::Main, "L_Default_router", Kind::Caption, 0, "Default router"},
    {Win::Main, "L_Primary_DNS_server", Kind::Caption, 0, "Primary DNS server"},
    {Win::Main, "L_Primary_DNS_Server2", Kind::Caption, 0, "Primary DNS server"},
    {Win::Main, "CK_Cable_modem", Kind::Caption, 0, "Connected to cable modem"},
    {Win::Main, "RB_DHCP", Kind::Caption, 0, "DHCP"},
    {Win::Main, "RB_PSTN_DHCP", Kind::Caption, 0, "DHCP"},
    {Win::Main, "RB_PPPoE", Kind::Caption, 0, "PPPoE"},
    {Win::Main, "RB_PSTN_PPPoE", Kind::Caption, 0, "PPPoE"},
    {Win::Main, "RB_IP", Kind::Caption, 0, "Fixed IP"},
    {Win::Main, "L_Login_name", Kind::Caption, 0, "Login name"},
    {Win::Main, "L_Dialing", Kind::Caption, 0, "Dialing"},
    {Win::Main, "L_Service_type", Kind::Caption, 0, "Service type"},
    {Win::Main, "RB_All_up", Kind::Caption, 0, "All-up"},
    {Win::Main, "RB_Dial_up", Kind::Caption, 0, "Dial-up"},
    {Win::Main, "CB_Local_PC", Kind::Caption, 0, "Local PC is attached via LAN"},
    {Win::Main, "GB_Gatekeeper", Kind::Caption, 0, "Gatekeeper"},
    {Win::Main, "L_H323_ID", Kind::Caption, 0, "H323_ID"},
    {Win::Main, "L_Primary_GK_IP", Kind::Caption, 0, "Primary GK IP"},
    {Win::Main, "L_Secondary_GK_IP", Kind::Caption, 0, "Secondary GK IP"},
    {Win::Main, "L_Area_number", Kind::Caption, 0, "Area number"},
    {Win::Main, "GB_Area_Number", Kind::Caption, 0, "Area number"},
    {Win::Main, "GB_VoIP_Phone_number", Kind::Caption, 0, "VoIP phone number"},
    {Win::Main, "SG_VoIP_Phone_number", Kind::Grid, 1, "Type"},
    {Win::Main, "SG_VoIP_Phone_number", Kind::Grid, 2, "Phone number"},
    {Win::Main, "RG_Protocol", Kind::Caption, 0, "VoIP Protocol"},
    {Win::Main, "L_call_agent_1", Kind::Caption, 0, "primary-call-agent"},
    {Win::Main, "L_call_agent_2", Kind::Caption, 0, "secondary-call-agent"},
    {Win::Main, "L_SIP_username", Kind::Caption, 0, "sip-username"},
    {Win::Main, "L_SIP_password", Kind::Caption, 0, "sip-password"},
    {Win::Main, "L_SIP_server_1", Kind::Caption, 0, "sip-primary-server"},
    {Win::Main, "L_SIP_server_2", Kind::Caption, 0, "sip-secondary-server"},
    {Win::Main, "CB_Service_port", Kind::Caption, 0, "Service port"},
    {Win::Main, "GB_Auto_upgrade", Kind::Caption, 0, "Automatic upgrade of system software"},
    {Win::Main, "CK_auto_upgrade", Kind::Caption, 0, "Automatic upgrade"},
    {Win::Main, "L_server_url", Kind::Caption, 0, "Server URL"},
    {Win::Main, "CK_upgrade_complete_restart", Kind::Caption, 0, "Automatic rebooting after loading"},
    {Win::Main, "L_Option_1", Kind::Caption, 0, "Optional"},
    {Win::Main, "L_Option_2", Kind::Caption, 0, "Optional"},
    {Win::Main, "GB_About", Kind::Caption, 0, "Software information"},
    {Win::Main, "L_Model_", Kind::Caption, 0, "Model :"},
    {Win::Main, "L_Software_ver", Kind::Caption, 0, "ORVA software version :"},
    {Win::Main, "L_Morvel_setup_verion", Kind::Caption, 0, "Morvel software version :"},
};

// The default file as the tool must write it (lines shown with LF here).
const char kDefaultFile[] = R"(# Button
OK = OK
Cancel = Cancel
Connect = Connect
Disconnect = Disconnect
Save = Save
Restart = Restart
Exit = Exit

# connect
Port = Port
Host = Host
TCP port = TCP port

# login
Login ID = Login ID
Password = Password

# Main menu TAB
LAN = LAN
PSTN = PSTN
PC = PC
VoIP = VoIP
Service = Service
Auto Upgrade = Auto Upgrade
Status Information = Status Information
About = About

# WAN
Network type = Network type
Dynamic IP address using PPPoE = Dynamic IP address using PPPoE
Dynamic IP address using DHCP = Dynamic IP address using DHCP
Fixed IP address = Fixed IP address
IP address = IP address
Netmask = Netmask
Default router = Default router
Primary DNS server = Primary DNS server
Connected to cable modem = Connected to cable modem

# PSTN
Login name = Login name
Dialing = Dialing
Service type = Service type
All-up = All-up
Dial-up = Dial-up
Local PC is attached via LAN = Local PC is attached via LAN

# PC
DHCP = DHCP
PPPoE = PPPoE
Fixed IP = Fixed IP

# VoIP
Gatekeeper = Gatekeeper
H323_ID = H323_ID
Primary GK IP = Primary GK IP
Secondary GK IP = Secondary GK IP
Area number = Area number
VoIP phone number = VoIP phone number
Type = Type
Phone number = Phone number
VoIP Protocol = VoIP Protocol
primary-call-agent = primary-call-agent
secondary-call-agent = secondary-call-agent
sip-username = sip-username
sip-password = sip-password
sip-primary-server = sip-primary-server
sip-secondary-server = sip-secondary-server

# Service
Service port = Service port

# Auto-upgrade
Automatic upgrade of system software = Automatic upgrade of system software
Automatic upgrade = Automatic upgrade
Server URL = Server URL
Automatic rebooting after loading = Automatic rebooting after loading
Optional = Optional

# About
Software information = Software information
Model = Model :
ORVA software version = ORVA software version :
Morvel software version = Morvel software version :

# messagebox
Do you want to end connection? = Do you want to end connection?
Would you like to restart? = Would you like to restart?
Would you like to close this program? = Would you like to close this program?
Can not connect in equipment = Can not connect in equipment
Input the name of host = Input the name of host
Can not connect to host = Can not connect to host
Id or password is not correct = Id or password is not correct
Save was complete = Save was complete
Please restart, if you want to apply to a modification = Please restart, if you want to apply to a modification
Please setup DNS contents = Please setup DNS contents
Please setup VoIP contents = Please setup VoIP contents
Please setup PPPoE contents = Please setup PPPoE contents
Please setup static IP contents = Please setup static IP contents
Please fill out all contents = Please fill out all contents
Please setup PSTN contents = Please setup PSTN contents

)";

/// The three windows with every target control; each caption starts as
/// "built-in <name>", the grid titles as "col <n>".
struct Windows {
  Form main{"F_morvel_config_main", "main"};
  Form connection{"F_Connection", "connection"};
  Form login{"F_Login", "login"};
  lang::MessageTexts messages;
  std::vector<std::unique_ptr<Control>> owned;
  platform::PageControl* pages = nullptr;

  explicit Windows(bool withTargets = true) {
    if (!withTargets) return;
    pages = &Add<platform::PageControl>(&main, "PageControl1");
    for (const Expect& e : kDefaults) {
      Form& f = FormOf(e.win);
      if (f.Find(e.name)) continue;
      const std::string name = e.name;
      if (name.starts_with("Tab_"))
        owned.push_back(std::make_unique<platform::TabSheet>(pages, name));
      else if (name.starts_with("RG_"))
        owned.push_back(std::make_unique<platform::RadioGroup>(&f, name));
      else if (name.starts_with("SG_"))
        owned.push_back(std::make_unique<platform::StringGrid>(&f, name, 3, 3));
      else if (name.starts_with("CK_") || name == "CB_Local_PC")
        owned.push_back(std::make_unique<platform::CheckBox>(&f, name));
      else if (name.starts_with("RB_"))
        owned.push_back(std::make_unique<platform::RadioButton>(&f, name));
      else if (name.starts_with("BB_"))
        owned.push_back(std::make_unique<platform::Button>(&f, name));
      else if (name.starts_with("GB_") || name == "CB_Service_port")
        owned.push_back(std::make_unique<platform::GroupBox>(&f, name));
      else
        owned.push_back(std::make_unique<platform::Label>(&f, name));
      owned.back()->SetCaption("built-in " + name);
    }
    Network().SetItems({"built-in 0", "built-in 1", "built-in 2"});
    Network().SetItemIndex(1);
    Protocol().SetItems({"H.323", "SIP", "MGCP"});
    for (int col = 0; col < 3; ++col) Grid().SetCell(col, 0, "col " + std::to_string(col));
    Grid().SetCell(0, 1, "1");
  }
  ~Windows() {
    while (!owned.empty()) owned.pop_back();  // children before their parents
  }

  Form& FormOf(Win w) { return w == Win::Main ? main : w == Win::Connection ? connection : login; }
  template <typename T>
  T& Add(Control* parent, const std::string& name) {
    owned.push_back(std::make_unique<T>(parent, name));
    return static_cast<T&>(*owned.back());
  }
  const std::string& Caption(Win w, const char* name) { return FormOf(w).Find(name)->Caption(); }
  platform::RadioGroup& Network() {
    return dynamic_cast<platform::RadioGroup&>(*main.Find("RG_Network_type"));
  }
  platform::RadioGroup& Protocol() { return dynamic_cast<platform::RadioGroup&>(*main.Find("RG_Protocol")); }
  platform::StringGrid& Grid() {
    return dynamic_cast<platform::StringGrid&>(*main.Find("SG_VoIP_Phone_number"));
  }

  /// The text an expectation row looks at.
  std::string Text(const Expect& e) {
    switch (e.kind) {
      case Kind::Item: return Network().Items()[e.index];
      case Kind::Grid: return Grid().Cell(e.index, 0);
      case Kind::Caption: break;
    }
    return Caption(e.win, e.name);
  }
  std::string BuiltIn(const Expect& e) {
    switch (e.kind) {
      case Kind::Item: return "built-in " + std::to_string(e.index);
      case Kind::Grid: return "col " + std::to_string(e.index);
      case Kind::Caption: break;
    }
    return std::string("built-in ") + e.name;
  }

  void Convert(const std::string& dir) { lang::Language_Convert(main, connection, login, messages, dir); }
};

class LanguageConvert : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(tmp_.isValid()); }

  std::string FilePath() const { return dir_ + "/language.cfg"; }
  void WriteFile(const std::string& bytes) const { std::ofstream(FilePath(), std::ios::binary) << bytes; }
  std::string ReadFile() const {
    std::ifstream in(FilePath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  QTemporaryDir tmp_;
  const std::string dir_ = tmp_.path().toStdString();
};

std::string WithCrLf(std::string_view lf) {
  std::string out;
  for (char c : lf) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

// Catches any wrong byte of the default file: a typo, a missing line, LF
// instead of CR LF, a missing or extra line end.
TEST_F(LanguageConvert, MissingFileIsWrittenWithTheDefaultsByteForByte) {
  Windows w;
  w.Convert(dir_);
  const std::string expected = WithCrLf(kDefaultFile);
  ASSERT_EQ(std::count(expected.begin(), expected.end(), '\n'), 102);
  EXPECT_EQ(ReadFile(), expected);
}

// Catches a target missed, misnamed, sent to the wrong window or kind, and a
// message key not taken: after the first run every target and every message
// shows its default text, the chosen network type and the protocol items stay.
TEST_F(LanguageConvert, FirstRunGivesEveryTargetAndMessageItsDefault) {
  Windows w;
  w.Convert(dir_);
  for (const Expect& e : kDefaults) EXPECT_EQ(w.Text(e), e.text) << e.name << ' ' << e.index;
  for (size_t i = 0; i < lang::kMessageKeys.size(); ++i)
    EXPECT_EQ(w.messages[lang::Msg(i)], lang::kMessageKeys[i]);
  EXPECT_EQ(w.Network().ItemIndex(), 1);
  EXPECT_EQ(w.Protocol().Items(), (std::vector<std::string>{"H.323", "SIP", "MGCP"}));
  EXPECT_EQ(w.Grid().Cell(0, 1), "1");
}

// Catches rewriting an existing file, whatever it holds.
TEST_F(LanguageConvert, ExistingFileIsNeverRewritten) {
  WriteFile("Save = Mine\r\n");
  Windows w;
  w.Convert(dir_);
  w.Convert(dir_);
  EXPECT_EQ(ReadFile(), "Save = Mine\r\n");
  EXPECT_EQ(w.Caption(Win::Main, "BB_Save"), "Mine");
}

struct LineCase {
  const char* what;
  std::string file;
  std::vector<std::pair<std::string, std::string>> changed;  // "name" or "win:name" -> text
};

// Catches each way the file's line rules can go wrong on the way to the
// captions: every target not listed keeps its built-in text and every message
// not listed stays empty.
TEST_F(LanguageConvert, LineRulesAsTheyReachTheTargets) {
  const LineCase cases[] = {
      {"one setting", "Save = Keep it\r\n", {{"BB_Save", "Keep it"}}},
      {"= as the last character", "OK =\r\n", {}},
      {"blank value", "OK = \r\n", {{"C:BB_Connect", ""}, {"L:BB_OK", ""}}},
      {"lower-case key", "ok = lower\r\n", {}},
      {"blanks and tabs around", " \t Exit \t =  \t Leave now \t \r\n", {{"BB_Exit", "Leave now"}}},
      {"inner blanks count", "TCP  port = two blanks\r\n", {}},
      {"repeated key, last wins", "Save = A\r\nSave = B\r\n", {{"BB_Save", "B"}}},
      {"further = in the value", "Save = a=b = c\r\n", {{"BB_Save", "a=b = c"}}},
      {"0x1A mid-line",
       "Save = First\r\nExit = Go\x1aon\r\nRestart = Never\r\n",
       {{"BB_Save", "First"}, {"BB_Exit", "Go"}}},
      {"LF only", "Save = A\nExit = B\n", {{"BB_Save", "A"}, {"BB_Exit", "B"}}},
      {"stray CR dropped", "Save = A\rB\r\n", {{"BB_Save", "AB"}}},
      {"last line without end", "Restart = Again", {{"BB_Restart", "Again"}}},
      {"section title", "# Save = X\r\n=Save\r\nSave\r\n", {}},
      {"NUL bytes", "\0Save\0 = \0Ze\0ro\0\r\n"s, {{"BB_Save", "Ze\0ro"s}}},
      {"bytes taken as they are", "Save = \xC0\xFA\xC0\xE5\r\n", {{"BB_Save", "\xC0\xFA\xC0\xE5"}}},
      {"port: label and grid title",
       "Port = Anschluss\r\n",
       {{"C:L_port", "Anschluss"}, {"grid0", "Anschluss"}}},
      {"network item and group",
       "Fixed IP address = Static\r\n",
       {{"item2", "Static"}, {"GB_Static_IP_address", "Static"}}},
      {"radio group frames",
       "Network type = Kind\r\n",
       {{"RG_Network_type", "Kind"}, {"RG_PC_Network", "Kind"}}},
      {"message", "Save was complete = Done!\r\n", {{"msg7", "Done!"}}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(c.file);
    Windows w;
    w.Convert(dir_);
    auto changedTo = [&](const std::string& key) -> const std::string* {
      for (const auto& [k, v] : c.changed)
        if (k == key) return &v;
      return nullptr;
    };
    for (const Expect& e : kDefaults) {
      std::string key = e.kind == Kind::Item       ? "item" + std::to_string(e.index)
                        : e.kind == Kind::Grid     ? "grid" + std::to_string(e.index)
                        : e.win == Win::Connection ? std::string("C:") + e.name
                        : e.win == Win::Login      ? std::string("L:") + e.name
                                                   : std::string(e.name);
      const std::string* want = changedTo(key);
      EXPECT_EQ(w.Text(e), want ? *want : w.BuiltIn(e)) << key;
    }
    for (size_t i = 0; i < lang::kMessageKeys.size(); ++i) {
      const std::string* want = changedTo("msg" + std::to_string(i));
      EXPECT_EQ(w.messages[lang::Msg(i)], want ? *want : "") << lang::kMessageKeys[i];
    }
    EXPECT_EQ(w.Network().ItemIndex(), 1);
  }
}

// Catches a conversion that needs every target to exist: windows without the
// named controls are passed over, the messages are still taken.
TEST_F(LanguageConvert, MissingTargetsArePassedOver) {
  Windows w(/*withTargets=*/false);
  w.main.SetCaption("main");
  w.Convert(dir_);
  EXPECT_EQ(w.main.Caption(), "main");
  EXPECT_EQ(w.messages[lang::Msg::FillOutAll], "Please fill out all contents");
}

// Catches a failure reported as success, a conversion that clears what an
// earlier run assigned, and a partly written default file left behind: each
// failing location throws an I/O error with its errno, and the captions and
// messages of the earlier run stay.
TEST_F(LanguageConvert, FailuresStopWithAnIoErrorAndKeepEarlierTexts) {
  ASSERT_TRUE(std::filesystem::create_directory(dir_ + "/in_the_way"));
  ASSERT_TRUE(std::filesystem::create_directory(dir_ + "/in_the_way/language.cfg"));
  std::ofstream(dir_ + "/plain_file") << "x";
  const struct {
    std::string directory;
    int code;  // 0: any
  } failures[] = {
      {dir_ + "/in_the_way", EISDIR},   // a directory where the file should be
      {dir_ + "/plain_file", ENOTDIR},  // a working directory that is a file
      {dir_ + "/gone", ENOENT},         // a directory that does not exist
      {"/proc", 0},                     // a place where no file may be created
  };
  WriteFile("Save = Earlier\r\nSave was complete = Done earlier\r\n");
  Windows w;
  w.Convert(dir_);
  for (const auto& f : failures) {
    SCOPED_TRACE(f.directory);
    try {
      w.Convert(f.directory);
      ADD_FAILURE() << "no error";
    } catch (const lang::InOutError& e) {
      if (f.code) {
        EXPECT_EQ(e.Code(), f.code) << e.what();
      }
      EXPECT_NE(e.Code(), 0);
      EXPECT_EQ(e.Path(), f.directory + "/language.cfg");
    }
    EXPECT_EQ(w.Caption(Win::Main, "BB_Save"), "Earlier");
    EXPECT_EQ(w.Caption(Win::Main, "BB_Exit"), "built-in BB_Exit");
    EXPECT_EQ(w.messages[lang::Msg::SaveComplete], "Done earlier");
  }
  EXPECT_FALSE(std::filesystem::exists("/proc/language.cfg"));
}

// Catches settings gathered and applied only at the end: a read failure in
// the middle of the file leaves the settings read before it applied.
TEST_F(LanguageConvert, SettingsBeforeAReadFailureStayApplied) {
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  const std::string early = "Save = Early\r\nExit = Early\r\nRestart = Late";
  ASSERT_EQ(::write(pair[0], early.data(), early.size()), ssize_t(early.size()));
  ASSERT_EQ(::write(pair[1], "x", 1), 1);
  ::close(pair[0]);  // with unread data: the far side reads ECONNRESET
  Windows w;
  lang::SettingScanner scanner = lang::ConversionScanner(w.main, w.connection, w.login, w.messages);
  EXPECT_THROW(lang::ReadLanguageFrom(pair[1], "socket", scanner), lang::InOutError);
  ::close(pair[1]);
  EXPECT_EQ(w.Caption(Win::Main, "BB_Save"), "Early");
  EXPECT_EQ(w.Caption(Win::Main, "BB_Exit"), "Early");
  EXPECT_EQ(w.Caption(Win::Main, "BB_Restart"), "built-in BB_Restart");
}

// Catches an error text that does not say what happened.
TEST(InOutError, MessageCarriesTheSystemTextAndTheFile) {
  const lang::InOutError e = lang::InOutError::FromErrno(EISDIR, "/x/language.cfg");
  EXPECT_EQ(std::string(e.what()), "I/O error " + std::to_string(EISDIR) + ": Is a directory");
  EXPECT_EQ(e.Advice(), "File: /x/language.cfg");
}

}  // namespace
