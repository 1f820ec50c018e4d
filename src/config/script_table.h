#pragma once
// Which script line carries which field: the configuration script as one
// table of lines, each with its literal pieces, the fields it carries and
// when it is written. The script writer walks the table over the pages'
// fields to write the lines; the script reader walks it over a file's lines
// to fill the fields. A line of the script is added, changed or removed here
// and nowhere else.
#include <cstdint>
#include <string>
#include <vector>

#include "config/config_pages.h"

namespace config {

/// How a field of the script holds its value.
enum class FieldKind : uint8_t {
  Text,        ///< an edit's text, as it stands
  Secret,      ///< the same; the review shows it as dots
  Port,        ///< a service's port text: empty, or a number from 1 to 65535
  Address,     ///< a dotted address, packed in its line
  Check,       ///< a check box
  Choice,      ///< a radio group's item: the network type, the protocol
  Attachment,  ///< the PC page's three radios, of which the first checked counts
  Phones,      ///< the phone grid: port names and phone numbers by row
};

/// A field the script carries, and the control that captions it on its page.
struct ScriptField {
  FieldKind kind;
  platform::Edit ConfigPages::*edit = nullptr;            ///< Text, Secret, Port
  platform::AddressEdit ConfigPages::*address = nullptr;  ///< Address
  platform::CheckBox ConfigPages::*check = nullptr;       ///< Check; a Port's service, its caption
  platform::RadioGroup ConfigPages::*group = nullptr;     ///< Choice; the frame of the Attachment
  platform::Label ConfigPages::*label = nullptr;          ///< an edit's caption
  /// An edit's text when no line of the script gives it one.
  const char* resetText = "";
};

/// The first checked of the PC page's radios.
enum Attachment : int { kNoAttachment = 0, kLanDhcp = 1, kLanPppoe = 2, kLanFixed = 3 };

/// What one piece of a line is.
enum class PieceKind : uint8_t {
  Literal,
  Value,        ///< a field's value (an address packed)
  PhoneTag,     ///< the grid row's number minus 1
  PhonePort,    ///< the grid row's port name
  PhoneNumber,  ///< the grid row's phone number
};

struct Piece {
  PieceKind kind;
  std::string literal;
  const ScriptField* field = nullptr;
};

/// The modes a line is written in: a bit for each value of the network type
/// and of the protocol (bit 0 for -1, nothing chosen; bit n + 1 for item n),
/// and for each Attachment.
struct Modes {
  uint8_t networks = 0xF;
  uint8_t protocols = 0xF;
  uint8_t attachments = 0xF;
  bool Hold(int network, int protocol, int attachment) const {
    return (networks >> (network + 1) & 1) && (protocols >> (protocol + 1) & 1) &&
           (attachments >> attachment & 1);
  }
};

/// Within its modes, when a line is written.
struct Presence {
  enum Kind : uint8_t {
    Always,
    Checked,     ///< check box `a` checked
    Unchecked,   ///< check box `a` not checked
    Filled,      ///< `a` (or `b`, when given) not empty
    BothFilled,  ///< neither `a` nor `b` empty
    NotDefault,  ///< `a`'s text other than its reset text
  };
  Kind kind = Always;
  const ScriptField* a = nullptr;
  const ScriptField* b = nullptr;
};

struct ScriptRow {
  std::vector<Piece> pieces;
  Modes modes;
  Presence presence;
  /// Written for each grid row that has a phone number, in row order; rows
  /// of the table marked so that follow one another form one block, written
  /// whole for one grid row before the next.
  bool perPhone = false;
};

struct ScriptTable {
  std::vector<ScriptField> fields;  ///< page by page, in the order of the pages
  std::vector<ScriptRow> rows;      ///< in the order of the script
  /// One past the last row of the block of per-phone rows that starts at
  /// row `i`; `i + 1` for a row written once.
  size_t BlockEnd(size_t i) const;
};

/// The table, built once.
const ScriptTable& TheScriptTable();

/// The edit of a Text, Secret, Port or Address field.
const platform::Edit& EditOf(const ScriptField& f, const ConfigPages& p);
platform::Edit& EditOf(const ScriptField& f, ConfigPages& p);
/// An edit field's text is empty (an address: "   .   .   .   ").
bool IsEmpty(const ScriptField& f, const ConfigPages& p);
Attachment AttachmentOf(const ConfigPages& p);
/// Checks that radio (none: unchecks all three).
void SetAttachment(ConfigPages& p, Attachment a);
/// The control that captions the field (the grid for the phones).
const platform::Control& CaptionControl(const ScriptField& f, const ConfigPages& p);
/// Its caption, outer blanks trimmed; for the phones, the phone column's title.
std::string CaptionOf(const ScriptField& f, const ConfigPages& p);

/// Gives `to` the value of every field the script carries in `from`, page by
/// page, so the network type's rule (which checks the DHCP attachment) runs
/// before the attachment is set. The phone grid is copied whole, port types
/// included, without its title row.
void CopyScriptFields(const ConfigPages& from, ConfigPages& to);

}  // namespace config
