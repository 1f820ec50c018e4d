#pragma once
// The command line's JSON: the fields by page, caption and value, the
// changes, the status lines. Secrets are left out unless shown.
#include <string>
#include <vector>

#include "config/changes.h"
#include "config/config_pages.h"

namespace cli {

/// {"model", "version", "fields": [{"page", "caption", "value"}...]}
std::string FieldsJson(const config::ConfigPages& pages, bool showSecrets);
/// {"changes": [{"page", "caption", "before", "after"}...]}; a secret's
/// values only when shown, else "secret": true.
std::string ChangesJson(const std::vector<config::Change>& changes, bool showSecrets);
/// {"page", "lines": [...]}
std::string StatusJson(const std::string& page, const std::vector<std::string>& lines);

}  // namespace cli
