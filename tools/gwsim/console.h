#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gwsim/gateway_config.h"

namespace gwsim {

enum class LineEnd { Cr, Lf, CrLf };

struct ConsoleOptions {
  std::string loginId = "admin";
  std::string loginPassword = "admin";
  LineEnd lineEnd = LineEnd::CrLf;
  int pageLines = 16;                      ///< status lines per "-- more --" page; 0 pages nothing
  bool silentLogin = false;                ///< fault: "start-login" is echoed but never answered
  std::vector<std::string> silentQueries;  ///< fault: these queries are echoed but never answered
  bool holdSaveEnd = false;  ///< a save's closing "!END-TAG!" waits for releaseHeldEnd() (a slow flash write)
  bool holdStatusEnd = false;  ///< the gatekeeper status's closing "!END-TAG!" waits for releaseHeldEnd()
  bool refuseSave = false;     ///< fault: "write-system" is answered with an error line, no handshake
};

/// Running totals of a gateway, shared by its console sessions.
struct Counters {
  std::uint64_t linesReceived = 0;  ///< command and script lines
  std::uint64_t savesApplied = 0;
  std::uint64_t reboots = 0;
  std::uint64_t loginsAccepted = 0;
  std::uint64_t loginsRefused = 0;
};

/// One session of the gateway's text console: bytes in, bytes out, no file
/// descriptors and no clock besides the optional uptime source.
///
/// Input is edited a line at a time; each completed line (CR, LF or CR LF) is
/// echoed and then executed. A bare "?" on an empty line prints the help list,
/// ESC clears the line and cancels a save or a paged output in progress,
/// blanks on an empty line are key presses that continue a "-- more --" page
/// and are otherwise dropped.
///
/// Not thread-safe; the caller serialises access together with the
/// configuration it shares.
class Console {
 public:
  enum class Request { None, Reboot, EndSession, SaveEndHeld, StatusEndHeld };

  /// `config` and `counters` must outlive the console.
  Console(GatewayConfig& config, ConsoleOptions options, Counters* counters = nullptr);

  /// Processes received bytes and returns what the console prints in answer.
  /// After "reboot-system" the rest of the input is ignored until reset().
  std::string feed(std::string_view bytes);

  /// The transport's part of the last commands: Reboot after "reboot-system",
  /// EndSession after "end-morvel", SaveEndHeld after a save applied with
  /// holdSaveEnd, StatusEndHeld after a gatekeeper status printed with
  /// holdStatusEnd. Reading it clears it.
  Request takeRequest();

  /// The closing "!END-TAG!" held back by SaveEndHeld or StatusEndHeld, as
  /// the console prints it; empty when none waits.
  std::string releaseHeldEnd();

  /// Back to the state after power-up: logged out, nothing pending.
  void reset();

  bool loggedIn() const { return loggedIn_; }
  bool paging() const { return !pending_.empty(); }

  void setUptimeSource(std::function<long long()> secondsSinceBoot) { uptime_ = std::move(secondsSinceBoot); }

  static constexpr std::size_t kMaxLineLength = 4096;
  static constexpr std::size_t kMaxScriptLines = 20000;

 private:
  enum class Mode { Command, AwaitStartTag, Script };

  void completeLine();
  void runCommand(const std::string& line);
  void escape();
  void emitLine(std::string_view text);
  void emitPaged(std::vector<std::string> lines);
  void printPage();
  void leavePrompt();

  GatewayConfig& config_;
  ConsoleOptions options_;
  Counters* counters_;
  Counters ownCounters_;
  std::function<long long()> uptime_;

  std::string out_;
  std::string line_;
  bool lastWasCr_ = false;
  bool loggedIn_ = false;
  bool halted_ = false;
  bool endHeld_ = false;
  Mode mode_ = Mode::Command;
  std::vector<std::string> script_;
  std::deque<std::string> pending_;  ///< status lines after the "-- more --" prompt
  Request request_ = Request::None;
};

}  // namespace gwsim
