// read: the gateway read out into the file the window's Export writes.
#include "cli/commands.h"
#include "cli/fields_json.h"
#include "cli/session.h"
#include "config/configuration_file.h"
#include "lang/fixed_texts.h"

namespace cli {

ExitStatus Read(const Arguments& a, const std::string& password, Terminal& t) {
  Session s(t);
  if (const ExitStatus visit = s.Visit(a.target, a.login, password); visit != ExitStatus::Ok) return visit;
  s.Close();
  std::string text;
  if (a.json) {
    text = FieldsJson(s.Pages(), a.showSecrets);
  } else {
    // Export's checks first: a file Import would refuse is not written.
    if (const ExitStatus checks = s.CheckBeforeWriting(); checks != ExitStatus::Ok) return checks;
    text = config::ExportText(s.Pages(), config::WrittenTime(t.clock()), ui::TF_morvel_config_main::kVersion);
  }
  if (a.output.empty()) {
    t.out << text << std::flush;
  } else if (const auto failed = config::SaveFile(a.output, text)) {
    s.Windows().Say(std::string(lang::fixed::kCannotWrite) + failed->reason);
    return ExitStatus::FileRejected;
  }
  return ExitStatus::Ok;
}

}  // namespace cli
