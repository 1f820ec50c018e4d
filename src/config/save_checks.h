#pragma once
// The entries Save requires for the chosen network type and VoIP protocol,
// and the texts it refuses to put into a script line.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/address_checks.h"
#include "lang/message_texts.h"

namespace platform {
class Control;
class TabSheet;
}  // namespace platform

namespace config {

class ConfigPages;

enum class SaveProblem {
  None,           // every check of the network type passed: save
  Pppoe,          // "Please setup PPPoE contents" on the LAN page
  StaticIp,       // "Please setup static IP contents" on the LAN page
  Voip,           // "Please setup VoIP contents" on the VoIP page
  NoNetworkType,  // no network type chosen: nothing happens
};

/// Works out the three check results (every one, whatever the network type,
/// so their traces appear) and reports the first failing one that counts.
/// Besides its required entries, each result also fails for an optional
/// address of its part of the script that is partly filled (the gateway
/// would get no address) or has a split group (its digits would join when
/// packed).
SaveProblem CheckSave(const ConfigPages& pages, const TraceFn& trace);

/// A text field of the script, by its caption and page.
struct FieldOnPage {
  std::string caption;       // its label (check box, grid column title), blanks trimmed
  platform::TabSheet* page;  // the page it is on
};
using LineBreakingField = FieldOnPage;

/// The first text field of the script, page by page, that holds CR, LF or
/// NUL: its script line would end early and the rest reach the gateway's
/// console as a command of its own. Nothing when every text is one line.
std::optional<FieldOnPage> FindLineBreakingField(const ConfigPages& pages);
/// The warning Save shows for it, naming the field and its page.
std::string LineBreakWarning(const FieldOnPage& field);

/// The first text field of the script, page by page, among `oneWord` (the
/// fields the gateway's replies give back as one word) that holds a blank:
/// it would read back as the part before the blank.
std::optional<FieldOnPage> FindBlankInOneWordField(const ConfigPages& pages,
                                                   const std::vector<const platform::Control*>& oneWord);
std::string BlankWarning(const FieldOnPage& field);
/// True for a port number as the gateway takes one: 1 to 65535, in decimal
/// digits without a leading zero.
bool IsPortNumber(std::string_view text);
/// The first service whose port is neither empty nor a port number: the
/// gateway could not take its line, yet the save would end as complete.
std::optional<FieldOnPage> FindBadPort(const ConfigPages& pages);
/// The warning Save and Export show for it.
std::string BadPortWarning(const FieldOnPage& field);

/// Why Save (and Export) will not write the pages: the page to turn to and
/// the warning to show. `text` is empty when no network type is chosen (Save
/// then says nothing).
struct WriteRefusal {
  platform::TabSheet* page = nullptr;
  std::string text;
};

/// Every check Save runs before it writes a script, in its order: the
/// network type's entries (CheckSave), a line break in a text, a blank in a
/// field read back as one word (`oneWord`), a service port that is none.
/// Nothing when all pass. `messages` gives the texts of the first three.
std::optional<WriteRefusal> CheckBeforeWriting(const ConfigPages& pages,
                                               const std::vector<const platform::Control*>& oneWord,
                                               const lang::MessageTexts& messages, const TraceFn& trace);

}  // namespace config
