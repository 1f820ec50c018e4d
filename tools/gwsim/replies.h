#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gwsim/gateway_config.h"

namespace gwsim {

/// Renders the console's answers as lines without line ends.
///
/// Query answers print the configuration in the command language that a saved
/// script uses, so the words stand where a reader of the script expects them
/// ("ppp pap sent-username ID password PW": ID is word 3, PW word 5). A line
/// whose value is empty is left out rather than printed short, because a
/// reader that takes word n of a short line would pick up a stale word.
/// The query answers do not include the command echo or the closing
/// "!END-TAG!"; the console adds those.
namespace replies {

/// Lines answering `query` ("get-model", "get-wan", ...). Returns false for a
/// word that is not a configuration query.
bool query(std::string_view query, const GatewayConfig& config, std::vector<std::string>& lines);

/// The configuration queries, in the order of the help list.
const std::vector<std::string>& queryNames();

/// Free-text status, framed by "!START-TAG!" and "!END-TAG!" lines.
std::vector<std::string> wanStatus(const GatewayConfig& config, long long uptimeSeconds);
std::vector<std::string> gatekeeperStatus(const GatewayConfig& config, long long uptimeSeconds);

/// The answer to a bare "?": one line per command, command word first. The
/// "get-wan" line comes first so that it arrives quickly even at 9600 baud.
/// The maintenance query "get-pstn" is not listed: a reader that takes each
/// line's first word as a reply echo would otherwise switch to reading PSTN
/// settings from the help text.
std::vector<std::string> help();

}  // namespace replies
}  // namespace gwsim
