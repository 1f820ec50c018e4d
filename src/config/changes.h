#pragma once
// What Save would change: every field the script carries whose value
// differs from the read-out's, as the review before Save lists it.
#include <string>
#include <vector>

#include "config/config_pages.h"

namespace config {

/// One changed field: where it is, what it is called, and its value before
/// and after as the review shows them.
struct Change {
  std::string page;     ///< the page's caption, blanks trimmed
  std::string caption;  ///< the field's caption, blanks trimmed
  std::string before;
  std::string after;
  bool secret = false;  ///< before and after are the secret texts themselves, for ChangeLine to mask
  bool operator==(const Change&) const = default;
};

/// The fields of `now` that differ from `readOut`, page by page. Captions
/// and page names are `now`'s (the window's, as the language file gave them).
std::vector<Change> ChangesSince(const ConfigPages& readOut, const ConfigPages& now);

/// One field as the pages hold it, named and shown as the review does.
struct FieldValue {
  std::string page;
  std::string caption;
  std::string value;
  bool secret = false;  ///< the value is the secret text itself
};

/// Every field the script carries, page by page (the phone grid row by row:
/// each row's port, then its number), as ChangesSince names and shows them.
std::vector<FieldValue> FieldsOf(const ConfigPages& pages);

/// "page / caption: before → after"; a secret's values as one dot a
/// character unless `reveal`.
std::string ChangeLine(const Change& change, bool reveal);

}  // namespace config
