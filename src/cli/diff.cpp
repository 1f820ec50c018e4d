// diff: the fields where the gateway differs from a file, as the review
// before Save would list them had the file been imported.
#include "cli/commands.h"
#include "cli/fields_json.h"
#include "cli/session.h"

namespace cli {

ExitStatus Diff(const Arguments& a, const std::string& password, Terminal& t) {
  Session s(t);
  if (const ExitStatus visit = s.Visit(a.target, a.login, password); visit != ExitStatus::Ok) return visit;
  s.Close();
  s.KeepReadOut();
  if (const ExitStatus taken = s.Import(a.file, true); taken != ExitStatus::Ok) return taken;
  const std::vector<config::Change> changes = s.Changes();
  if (a.json)
    t.out << ChangesJson(changes, a.showSecrets);
  else
    for (const config::Change& c : changes) t.out << config::ChangeLine(c, a.showSecrets) << "\n";
  t.out << std::flush;
  return changes.empty() ? ExitStatus::Ok : ExitStatus::Differs;
}

}  // namespace cli
