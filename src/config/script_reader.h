#pragma once
// The script reader: the inverse of the script writer, from the same table
// (script_table.h). It takes a configuration script, the lines Save sends,
// and fills a detached set of fields that writes exactly those lines again;
// a script it cannot take whole it refuses, naming the first offending line.
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "config/detached_pages.h"
#include "config/save_checks.h"

namespace config {

/// A line of a file, with its number in the file (from 1).
struct ScriptLine {
  int number;
  std::string text;
};

/// Why a file's configuration was not taken.
struct Refusal {
  enum class Reason {
    TooLarge,       ///< the file is over kMaxFileBytes
    NulByte,        ///< a line holds a NUL
    NoScript,       ///< no line follows the header
    EndsEarly,      ///< the lines end before the script does
    UnknownLine,    ///< the line is none of the script's
    MisplacedLine,  ///< a line of the script, not where the script has it
    Misfit,         ///< its value does not fit its field
    SaveCheck,      ///< Save's checks refuse the configuration
  };
  Reason reason = Reason::NoScript;
  int line = 0;                             ///< the offending line's number; 0 when no line is to blame
  std::string text;                         ///< its text (up to a NUL)
  std::string caption;                      ///< Misfit: the field's caption, when one is known
  SaveProblem problem = SaveProblem::None;  ///< SaveCheck: the check's outcome
  bool operator==(const Refusal&) const = default;

  /// A refusal of the file as a whole.
  static Refusal OfFile(Reason reason) {
    Refusal r;
    r.reason = reason;
    return r;
  }
  /// A refusal that names the line to blame.
  static Refusal OfLine(Reason reason, const ScriptLine& line) {
    Refusal r = OfFile(reason);
    r.line = line.number;
    r.text = line.text;
    return r;
  }
};

/// Reads `lines` as a configuration script. The fields start as those of
/// `current`; every field the script carries is then set as the lines say,
/// and emptied (or reset) where no line gives it, as a read-out of a gateway
/// holding that configuration would leave it. The phone grid keeps
/// `current`'s port rows (a gateway's ports are its hardware) with the
/// numbers the lines give; an MGCP port, whose lines carry no number, keeps
/// its number, or gets a placeholder when it has none. Whatever is accepted
/// writes exactly `lines` again, and passes Save's checks.
std::variant<std::unique_ptr<DetachedPages>, Refusal> ReadScript(const std::vector<ScriptLine>& lines,
                                                                 const ConfigPages& current);

}  // namespace config
