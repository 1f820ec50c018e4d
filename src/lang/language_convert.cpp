#include "language_convert.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace lang {

namespace {

enum class Window : uint8_t { Main, Connection, Login };

enum class Kind : uint8_t {
  Caption,      // the control's caption: button or label text, tab or frame title
  NetworkItem,  // the text of item `index` of the radio group `RG_Network_type`
  GridTitle,    // the text of cell (`index`, 0) of the grid `SG_VoIP_Phone_number`
};

struct Target {
  std::string_view key;
  Window window;
  std::string_view control;
  Kind kind = Kind::Caption;
  int index = 0;
};

constexpr Window M = Window::Main;
constexpr Window C = Window::Connection;
constexpr Window L = Window::Login;

// Every caption target, grouped by key; a key's targets receive its value in
// this order.
constexpr Target kCaptionTargets[] = {
    {"OK", C, "BB_Connect"},
    {"OK", L, "BB_OK"},
    {"Cancel", C, "BB_Cancel"},
    {"Cancel", L, "BB_Cancel"},
    {"Connect", M, "BB_Connect"},
    {"Disconnect", M, "BB_Disconnect"},
    {"Save", M, "BB_Save"},
    {"Restart", M, "BB_Restart"},
    {"Exit", M, "BB_Exit"},
    {"Port", C, "L_port"},
    {"Port", M, "SG_VoIP_Phone_number", Kind::GridTitle, 0},
    {"Host", C, "L_Host"},
    {"TCP port", C, "L_TCP_port"},
    {"Login ID", L, "L_Login_ID"},
    {"Login ID", M, "L_Login_ID"},
    {"Login ID", M, "L_auto_ID"},
    {"Password", L, "L_Password"},
    {"Password", M, "L_PSTN_Password"},
    {"Password", M, "L_Password"},
    {"Password", M, "L_H323_Password"},
    {"Password", M, "L_auto_password"},
    {"LAN", M, "Tab_LAN"},
    {"PSTN", M, "Tab_PSTN"},
    {"PSTN", M, "GB_PSTN"},
    {"PC", M, "Tab_PC"},
    {"VoIP", M, "Tab_VoIP"},
    {"Service", M, "Tab_Service"},
    {"Auto Upgrade", M, "Tab_Auto_upgrade"},
    {"Status Information", M, "Tab_Status_information"},
    {"About", M, "Tab_About"},
    {"Network type", M, "RG_Network_type"},
    {"Network type", M, "RG_PC_Network"},
    {"Dynamic IP address using PPPoE", M, "RG_Network_type", Kind::NetworkItem, 0},
    {"Dynamic IP address using PPPoE", M, "GB_PPPoE"},
    {"Dynamic IP address using DHCP", M, "RG_Network_type", Kind::NetworkItem, 1},
    {"Dynamic IP address using DHCP", M, "GB_DHCP"},
    {"Fixed IP address", M, "RG_Network_type", Kind::NetworkItem, 2},
    {"Fixed IP address", M, "GB_Static_IP_address"},
    {"IP address", M, "L_IP_address"},
    {"Netmask", M, "L_Netmask"},
    {"Default router", M, "L_Default_router"},
    {"Primary DNS server", M, "L_Primary_DNS_server"},
    {"Primary DNS server", M, "L_Primary_DNS_Server2"},
    {"Connected to cable modem", M, "CK_Cable_modem"},
    {"DHCP", M, "RB_DHCP"},
    {"DHCP", M, "RB_PSTN_DHCP"},
    {"PPPoE", M, "RB_PPPoE"},
    {"PPPoE", M, "RB_PSTN_PPPoE"},
    {"Fixed IP", M, "RB_IP"},
    {"Login name", M, "L_Login_name"},
    {"Dialing", M, "L_Dialing"},
    {"Service type", M, "L_Service_type"},
    {"All-up", M, "RB_All_up"},
    {"Dial-up", M, "RB_Dial_up"},
    {"Local PC is attached via LAN", M, "CB_Local_PC"},
    {"Gatekeeper", M, "GB_Gatekeeper"},
    {"H323_ID", M, "L_H323_ID"},
    {"Primary GK IP", M, "L_Primary_GK_IP"},
    {"Secondary GK IP", M, "L_Secondary_GK_IP"},
    {"Area number", M, "L_Area_number"},
    {"Area number", M, "GB_Area_Number"},
    {"VoIP phone number", M, "GB_VoIP_Phone_number"},
    {"Type", M, "SG_VoIP_Phone_number", Kind::GridTitle, 1},
    {"Phone number", M, "SG_VoIP_Phone_number", Kind::GridTitle, 2},
    {"VoIP Protocol", M, "RG_Protocol"},
    {"primary-call-agent", M, "L_call_agent_1"},
    {"secondary-call-agent", M, "L_call_agent_2"},
    {"sip-username", M, "L_SIP_username"},
    {"sip-password", M, "L_SIP_password"},
    {"sip-primary-server", M, "L_SIP_server_1"},
    {"sip-secondary-server", M, "L_SIP_server_2"},
    {"Service port", M, "CB_Service_port"},  // a group box despite its prefix
    {"Automatic upgrade of system software", M, "GB_Auto_upgrade"},
    {"Automatic upgrade", M, "CK_auto_upgrade"},
    {"Server URL", M, "L_server_url"},
    {"Automatic rebooting after loading", M, "CK_upgrade_complete_restart"},
    {"Optional", M, "L_Option_1"},
    {"Optional", M, "L_Option_2"},
    {"Software information", M, "GB_About"},
    {"Model", M, "L_Model_"},
    {"ORVA software version", M, "L_Software_ver"},
    {"Morvel software version", M, "L_Morvel_setup_verion"},
};

constexpr size_t CountCaptionKeys() {
  size_t keys = 0;
  for (size_t i = 0; i < std::size(kCaptionTargets); ++i)
    if (i == 0 || kCaptionTargets[i].key != kCaptionTargets[i - 1].key) ++keys;
  return keys;
}
static_assert(CountCaptionKeys() == 63, "every caption key, its targets side by side");

/// The longest key of either kind: no longer candidate can match.
constexpr size_t MaxKeyLength() {
  size_t longest = 0;
  for (const Target& t : kCaptionTargets) longest = std::max(longest, t.key.size());
  for (const std::string_view k : kMessageKeys) longest = std::max(longest, k.size());
  return longest;
}

bool IsCaptionKey(std::string_view key) {
  return std::any_of(std::begin(kCaptionTargets), std::end(kCaptionTargets),
                     [&](const Target& t) { return t.key == key; });
}

class Converter {
 public:
  Converter(platform::Form& main, platform::Form& connection, platform::Form& login, MessageTexts& messages)
      : main_(main), connection_(connection), login_(login), messages_(messages) {}

  static bool IsKey(std::string_view key) {
    return IsCaptionKey(key) || MessageTexts::FromKey(key).has_value();
  }

  void Apply(std::string_view key, std::string value) {
    if (const auto msg = MessageTexts::FromKey(key)) {
      messages_.Set(*msg, std::move(value));
      return;
    }
    for (const Target& t : kCaptionTargets)
      if (t.key == key) Assign(t, value);
  }

 private:
  platform::Form& FormOf(Window w) {
    switch (w) {
      case Window::Connection: return connection_;
      case Window::Login: return login_;
      case Window::Main: break;
    }
    return main_;
  }

  void Assign(const Target& t, const std::string& value) {
    platform::Control* control = FormOf(t.window).Find(t.control);
    if (!control) return;
    switch (t.kind) {
      case Kind::Caption: control->SetCaption(value); break;
      case Kind::NetworkItem:
        if (auto* group = dynamic_cast<platform::RadioGroup*>(control)) group->SetItemText(t.index, value);
        break;
      case Kind::GridTitle:
        if (auto* grid = dynamic_cast<platform::StringGrid*>(control)) grid->SetCell(t.index, 0, value);
        break;
    }
  }

  platform::Form& main_;
  platform::Form& connection_;
  platform::Form& login_;
  MessageTexts& messages_;
};

}  // namespace

std::string LanguageFilePath(std::string_view directory) {
  std::string path(directory);
  path += "/language.cfg";
  return path;
}

SettingScanner ConversionScanner(platform::Form& main, platform::Form& connection, platform::Form& login,
                                 MessageTexts& messages) {
  return SettingScanner(
      &Converter::IsKey, MaxKeyLength(),
      [converter = Converter(main, connection, login, messages)](
          std::string_view key, std::string value) mutable { converter.Apply(key, std::move(value)); });
}

void Language_Convert(platform::Form& main, platform::Form& connection, platform::Form& login,
                      MessageTexts& messages, const std::string& directory) {
  const std::string path = LanguageFilePath(directory);
  if (!LanguageFileExists(path)) WriteDefaultLanguageFile(path);
  SettingScanner scanner = ConversionScanner(main, connection, login, messages);
  ReadLanguageFile(path, scanner);
}

void Language_Convert(platform::Form& main, platform::Form& connection, platform::Form& login,
                      MessageTexts& messages) {
  Language_Convert(main, connection, login, messages, CurrentDirectory());
}

std::string CurrentDirectory() {
  std::vector<char> buffer(256);
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) throw InOutError::FromErrno(errno, ".");
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

}  // namespace lang
