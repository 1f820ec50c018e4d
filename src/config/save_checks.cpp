#include "config/save_checks.h"

#include <algorithm>
#include <string_view>

#include "config/config_pages.h"
#include "lang/fixed_texts.h"

namespace config {

namespace {

/// A text of the script with the control that captions it on its page.
struct CaptionedField {
  platform::Edit ConfigPages::*field;
  platform::Label ConfigPages::*caption;
};

// The texts of the LAN and VoIP pages. The phone grid, the service ports and
// the Auto Upgrade page's texts are looked at after them, so the first field
// found is the first by page.
const CaptionedField kScriptTexts[] = {
    {&ConfigPages::ED_PPPoE_ID, &ConfigPages::L_Login_ID},
    {&ConfigPages::ED_PPPoE_Password, &ConfigPages::L_Password},
    {&ConfigPages::ED_H323_ID, &ConfigPages::L_H323_ID},
    {&ConfigPages::ED_GK_password, &ConfigPages::L_H323_Password},
    {&ConfigPages::ED_SIP_Username, &ConfigPages::L_SIP_username},
    {&ConfigPages::ED_SIP_password, &ConfigPages::L_SIP_password},
    {&ConfigPages::ED_NUM, &ConfigPages::L_Area_number},
};
const CaptionedField kUpgradeTexts[] = {
    {&ConfigPages::ED_server_URL, &ConfigPages::L_server_url},
    {&ConfigPages::ED_auto_upgrade_ID, &ConfigPages::L_auto_ID},
    {&ConfigPages::ED_auto_upgrade_password, &ConfigPages::L_auto_password},
};

bool BreaksLine(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos;
}

FieldOnPage Named(std::string_view caption, const platform::Control& field) {
  return {std::string(TrimBlanks(caption)), PageOf(field)};
}

/// An optional address the script may carry: empty, or a whole address.
bool Sendable(const platform::AddressEdit& e) { return e.IsEmpty() || IP_Add_Check(e.Text(), nullptr); }

}  // namespace

SaveProblem CheckSave(const ConfigPages& p, const TraceFn& trace) {
  // The netmask is tested only once the address passes.
  const bool staticOk = IP_Add_Check(p.ED_Static_IP_address.Text(), trace) &&
                        IP_Add_Check(p.ED_Static_Netmask.Text(), trace) && Sendable(p.ED_Static_router) &&
                        Sendable(p.ED_Static_DNS);
  const bool pppoeOk =
      !p.ED_PPPoE_ID.Text().empty() && !p.ED_PPPoE_Password.Text().empty() && Sendable(p.ED_PPPoE_DNS);

  bool voipOk = false;
  switch (p.RG_Protocol.ItemIndex()) {
    case kH323:  // the gatekeeper entries are optional
      voipOk = Sendable(p.ED_Gatekeeper_IP) && Sendable(p.ED_Gatekeeper_IP2);
      break;
    case kSip:
      voipOk = IP_Add_Check(p.ED_SIP_Server_1.Text(), trace) && !p.ED_SIP_Username.Text().empty() &&
               Sendable(p.ED_SIP_Server_2);
      break;
    case kMgcp:
      voipOk = IP_Add_Check(p.ED_MGCP_CallAgent_1.Text(), trace) && Sendable(p.ED_MGCP_CallAgent_2);
      break;
    default:
      // No protocol chosen: the script would carry no VoIP section at all, so
      // the entries count as missing rather than letting such a save through.
      voipOk = false;
      break;
  }

  switch (p.RG_Network_type.ItemIndex()) {
    case kPppoe:
      if (!pppoeOk) return SaveProblem::Pppoe;
      break;
    case kDhcp: break;
    case kFixed:
      if (!staticOk) return SaveProblem::StaticIp;
      break;
    default: return SaveProblem::NoNetworkType;
  }
  return voipOk ? SaveProblem::None : SaveProblem::Voip;
}

namespace {

/// The first text of the script, page by page, for which `bad(text, field)`
/// holds; `field` is the control that presents the text.
template <typename Bad>
std::optional<FieldOnPage> FindScriptText(const ConfigPages& p, Bad bad) {
  for (const CaptionedField& f : kScriptTexts)
    if (bad((p.*f.field).Text(), p.*f.field)) return Named((p.*f.caption).Caption(), p.*f.field);
  // The grid's port names and phone numbers, captioned by their column titles.
  const platform::StringGrid& grid = p.SG_VoIP_Phone_number;
  for (int row = 1; row < grid.RowCount(); ++row)
    for (int col : {0, 2})
      if (bad(grid.Cell(col, row), grid)) return Named(grid.Cell(col, 0), grid);
  for (const ServiceFields& s : kServices)
    if (bad((p.*s.port).Text(), p.*s.port)) return Named((p.*s.check).Caption(), p.*s.port);
  for (const CaptionedField& f : kUpgradeTexts)
    if (bad((p.*f.field).Text(), p.*f.field)) return Named((p.*f.caption).Caption(), p.*f.field);
  return std::nullopt;
}

std::string PageCaption(const FieldOnPage& field) {
  return field.page ? std::string(TrimBlanks(field.page->Caption())) : std::string();
}

}  // namespace

std::optional<FieldOnPage> FindLineBreakingField(const ConfigPages& p) {
  return FindScriptText(p, [](std::string_view text, const platform::Control&) { return BreaksLine(text); });
}

std::string LineBreakWarning(const FieldOnPage& field) {
  return lang::fixed::LineBreakInField(field.caption, PageCaption(field));
}

std::optional<FieldOnPage> FindBlankInOneWordField(const ConfigPages& p,
                                                   const std::vector<const platform::Control*>& oneWord) {
  return FindScriptText(p, [&](std::string_view text, const platform::Control& field) {
    return text.find(' ') != text.npos && std::find(oneWord.begin(), oneWord.end(), &field) != oneWord.end();
  });
}

std::string BlankWarning(const FieldOnPage& field) {
  return lang::fixed::BlankInOneWordField(field.caption, PageCaption(field));
}

bool IsPortNumber(std::string_view text) {
  if (text.empty() || text.size() > 5 || text[0] == '0') return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= 65535;
}

std::optional<FieldOnPage> FindBadPort(const ConfigPages& p) {
  for (const ServiceFields& s : kServices) {
    const std::string& port = (p.*s.port).Text();
    if (!port.empty() && !IsPortNumber(port)) return Named((p.*s.check).Caption(), p.*s.port);
  }
  return std::nullopt;
}

std::string BadPortWarning(const FieldOnPage& field) {
  return std::string(lang::fixed::kBadPortBefore) + field.caption + std::string(lang::fixed::kBadPortAfter);
}

std::optional<WriteRefusal> CheckBeforeWriting(const ConfigPages& pages,
                                               const std::vector<const platform::Control*>& oneWord,
                                               const lang::MessageTexts& messages, const TraceFn& trace) {
  switch (CheckSave(pages, trace)) {
    case SaveProblem::Pppoe:
      return WriteRefusal{PageOf(pages.RG_Network_type), messages[lang::Msg::SetupPppoe]};
    case SaveProblem::StaticIp:
      return WriteRefusal{PageOf(pages.RG_Network_type), messages[lang::Msg::SetupStaticIp]};
    case SaveProblem::Voip: return WriteRefusal{PageOf(pages.RG_Protocol), messages[lang::Msg::SetupVoip]};
    case SaveProblem::NoNetworkType: return WriteRefusal{};
    case SaveProblem::None: break;
  }
  if (const auto field = FindLineBreakingField(pages))
    return WriteRefusal{field->page, LineBreakWarning(*field)};
  if (const auto field = FindBlankInOneWordField(pages, oneWord))
    return WriteRefusal{field->page, BlankWarning(*field)};
  if (const auto field = FindBadPort(pages)) return WriteRefusal{field->page, BadPortWarning(*field)};
  return std::nullopt;
}

}  // namespace config
