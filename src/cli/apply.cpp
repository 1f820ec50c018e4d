// apply: a file's configuration saved on the gateway through Save's checks
// and handshake, the changes listed as the review lists them; then the
// restart when asked.
#include "cli/commands.h"
#include "cli/session.h"
#include "config/script_writer.h"

namespace cli {

ExitStatus Apply(const Arguments& a, const std::string& password, Terminal& t) {
  Session s(t);
  if (const ExitStatus visit = s.Visit(a.target, a.login, password); visit != ExitStatus::Ok) return visit;
  s.KeepReadOut();
  ExitStatus status = s.Import(a.file, a.otherModel);
  if (status == ExitStatus::Ok) status = s.CheckBeforeWriting();
  if (status != ExitStatus::Ok) {
    s.Close();
    return status;
  }
  for (const config::Change& c : s.Changes()) t.out << config::ChangeLine(c, a.showSecrets) << "\n";
  t.out << std::flush;
  // The script is fixed here, as at the window's Save.
  const std::vector<std::string> lines = config::ConfigurationScript(s.Pages());
  // A restart waits behind the save, and the link drops it when the save
  // does not complete.
  s.Windows().Forget(devlink::Conversation::Restart);
  status = s.Run(devlink::Conversation::Save, [&] {
    s.Link().BeginSave(lines);
    if (a.restart) s.Link().Reboot();
  });
  if (status == ExitStatus::Ok && a.restart) status = s.Wait(devlink::Conversation::Restart);
  s.Close();
  return status;
}

}  // namespace cli
