#pragma once
// Typing into the masked dotted-address edit: four groups of three positions
// separated by literal dots, overwrite typing, a position takes a digit or a
// blank. Pure text operations, so the widget stays a thin shell over them.
#include <string>

namespace platform::qt {

/// The address text and the cursor after a key. `text` is always 15
/// characters with dots at positions 3, 7 and 11.
struct AddressTyping {
  std::string text;
  int cursor = 0;
  /// [selStart, selStart + selLength) is the selection; 0 length: none.
  int selStart = 0;
  int selLength = 0;

  /// A character typed: a digit or blank overwrites the position at the
  /// cursor (skipping a dot) and moves past it, and past a dot that follows;
  /// a "." blanks the rest of the group and moves to the next group (at the
  /// start of a group it does nothing). Anything else changes nothing.
  /// True when the text or the cursor changed.
  bool Type(char c);
  /// Backspace: blanks the position before the cursor (skipping a dot).
  bool Backspace();
  /// Delete: blanks the position at the cursor (skipping a dot).
  bool Delete();

 private:
  bool BlankSelection();
};

}  // namespace platform::qt
