// status: one poll of the gateway's live status, its lines as the status
// page shows them.
#include "cli/commands.h"
#include "cli/fields_json.h"
#include "cli/session.h"
#include "config/config_pages.h"

namespace cli {

ExitStatus Status(const Arguments& a, const std::string& password, Terminal& t) {
  Session s(t);
  if (const ExitStatus visit = s.Visit(a.target, a.login, password); visit != ExitStatus::Ok) return visit;
  const ExitStatus polled =
      s.Run(devlink::Conversation::Poll, [&] { s.Link().Poll(devlink::PollStart::PageChosen); });
  s.Close();
  const platform::Memo& memo = s.Pages().M_State_Info;
  const std::vector<std::string> lines(memo.Lines().begin(), memo.Lines().end());
  if (a.json) {
    const platform::TabSheet* page = config::PageOf(memo);
    t.out << StatusJson(page ? std::string(config::TrimBlanks(page->Caption())) : std::string(), lines);
  } else {
    for (const std::string& l : lines) t.out << l << "\n";
  }
  t.out << std::flush;
  return polled;
}

}  // namespace cli
