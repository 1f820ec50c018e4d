#include "gwsim/console.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "gwsim/replies.h"
#include "gwsim/script_applier.h"
#include "gwsim/text_words.h"

namespace gwsim {

namespace {

constexpr char kEsc = 0x1b;

}  // namespace

Console::Console(GatewayConfig& config, ConsoleOptions options, Counters* counters)
    : config_(config), options_(std::move(options)), counters_(counters ? counters : &ownCounters_) {
  const auto boot = std::chrono::steady_clock::now();
  uptime_ = [boot] {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - boot).count();
  };
}

void Console::reset() {
  line_.clear();
  lastWasCr_ = false;
  loggedIn_ = false;
  halted_ = false;
  endHeld_ = false;
  mode_ = Mode::Command;
  script_.clear();
  pending_.clear();
  request_ = Request::None;
}

Console::Request Console::takeRequest() { return std::exchange(request_, Request::None); }

std::string Console::releaseHeldEnd() {
  if (!std::exchange(endHeld_, false)) return {};
  emitLine("!END-TAG!");
  return std::exchange(out_, {});
}

std::string Console::feed(std::string_view bytes) {
  for (const char c : bytes) {
    if (halted_) break;
    if (c == '\n' && lastWasCr_) {  // second half of CR LF
      lastWasCr_ = false;
      continue;
    }
    lastWasCr_ = c == '\r';
    if (c == '\r' || c == '\n') {
      completeLine();
    } else if (c == kEsc) {
      escape();
    } else if (c == ' ' || c == '\t') {
      if (!line_.empty()) {
        if (line_.size() < kMaxLineLength) line_ += ' ';
      } else if (!pending_.empty()) {
        leavePrompt();
        printPage();
      }
      // otherwise a key press on an empty line: nothing to do
    } else if (c == '?' && line_.empty() && mode_ != Mode::Script && pending_.empty()) {
      for (const auto& l : replies::help()) emitLine(l);
    } else if (c == 0x08 || c == 0x7f) {
      if (!line_.empty()) line_.pop_back();
    } else if (static_cast<unsigned char>(c) >= 0x20) {
      if (line_.size() < kMaxLineLength) line_ += c;
    }
  }
  return std::exchange(out_, {});
}

void Console::emitLine(std::string_view text) {
  out_ += text;
  switch (options_.lineEnd) {
    case LineEnd::Cr: out_ += '\r'; break;
    case LineEnd::Lf: out_ += '\n'; break;
    case LineEnd::CrLf: out_ += "\r\n"; break;
  }
}

void Console::escape() {
  line_.clear();
  if (!pending_.empty()) {
    pending_.clear();
    emitLine("");
  }
  mode_ = Mode::Command;
  script_.clear();
}

void Console::leavePrompt() {
  // The key press is echoed over the prompt; readers drop the one byte that
  // follows "-- more --".
  out_ += ' ';
}

void Console::emitPaged(std::vector<std::string> lines) {
  pending_.assign(lines.begin(), lines.end());
  printPage();
}

void Console::printPage() {
  const std::size_t page =
      options_.pageLines > 0 ? static_cast<std::size_t>(options_.pageLines) : pending_.size();
  for (std::size_t i = 0; i < page && !pending_.empty(); ++i) {
    emitLine(pending_.front());
    pending_.pop_front();
  }
  if (!pending_.empty()) out_ += "-- more --";
}

void Console::completeLine() {
  const std::string line = std::exchange(line_, {});
  if (!pending_.empty()) {
    // A new command ends the pager: the rest of the text goes out unpaged.
    leavePrompt();
    while (!pending_.empty()) {
      emitLine(pending_.front());
      pending_.pop_front();
    }
  }
  ++counters_->linesReceived;

  if (mode_ == Mode::Script) {
    emitLine(line);
    if (trim(line) == "!END-TAG!") {
      ScriptApplier::apply(script_, config_);
      script_.clear();
      mode_ = Mode::Command;
      ++counters_->savesApplied;
      if (options_.holdSaveEnd) {
        endHeld_ = true;
        request_ = Request::SaveEndHeld;
      } else {
        emitLine("!END-TAG!");
      }
    } else if (script_.size() >= kMaxScriptLines) {
      script_.clear();
      mode_ = Mode::Command;
      emitLine("% Configuration too long, discarded.");
    } else {
      script_.push_back(line);
    }
    return;
  }
  if (mode_ == Mode::AwaitStartTag) {
    const std::string t = trim(line);
    if (t == "!START-TAG!") {
      emitLine(line);
      emitLine("!START-TAG!");
      mode_ = Mode::Script;
      script_.clear();
      return;
    }
    if (t.empty()) {
      emitLine(line);
      return;
    }
    mode_ = Mode::Command;
  }
  runCommand(line);
}

void Console::runCommand(const std::string& line) {
  emitLine(line);
  const auto w = words(line);
  if (w.empty()) return;
  const std::string& cmd = w[0];

  if (cmd == "start-login") {
    if (options_.silentLogin) return;
    loggedIn_ = w.size() == 3 && w[1] == options_.loginId && w[2] == options_.loginPassword;
    ++(loggedIn_ ? counters_->loginsAccepted : counters_->loginsRefused);
    emitLine(loggedIn_ ? "Login ok" : "Login incorrect");
    return;
  }
  if (cmd == "end" || cmd == "exit") return;  // leave a sub-mode: at the top level, nothing to do
  if (cmd == "help") {
    for (const auto& l : replies::help()) emitLine(l);
    return;
  }
  if (cmd == "end-morvel") {
    loggedIn_ = false;
    request_ = Request::EndSession;
    return;
  }

  const auto& queries = replies::queryNames();
  const bool isQuery = std::find(queries.begin(), queries.end(), cmd) != queries.end();
  const bool isStatus = cmd == "get-wan-status" || cmd == "get-gatekeeper-status";
  const bool isAction = cmd == "write-system" || cmd == "reboot-system";
  if (!isQuery && !isStatus && !isAction) {
    emitLine("% Unknown command \"" + cmd + "\".");
    return;
  }
  if (!loggedIn_) {
    emitLine("% Please log in first: start-login ID PASSWORD");
    if (!isAction) emitLine("!END-TAG!");
    return;
  }
  if (std::find(options_.silentQueries.begin(), options_.silentQueries.end(), cmd) !=
      options_.silentQueries.end())
    return;

  if (isQuery) {
    std::vector<std::string> lines;
    replies::query(cmd, config_, lines);
    for (const auto& l : lines) emitLine(l);
    emitLine("!END-TAG!");
  } else if (cmd == "get-wan-status") {
    emitPaged(replies::wanStatus(config_, uptime_()));
  } else if (cmd == "get-gatekeeper-status") {
    std::vector<std::string> lines = replies::gatekeeperStatus(config_, uptime_());
    if (options_.holdStatusEnd && !lines.empty()) {
      lines.pop_back();  // its "!END-TAG!", which releaseHeldEnd() prints
      endHeld_ = true;
      request_ = Request::StatusEndHeld;
    }
    emitPaged(std::move(lines));
  } else if (cmd == "write-system") {
    if (options_.refuseSave)
      emitLine("% Flash is write-protected: configuration not saved.");
    else
      mode_ = Mode::AwaitStartTag;
  } else if (cmd == "reboot-system") {
    emitLine("System is restarting...");
    ++counters_->reboots;
    request_ = Request::Reboot;
    halted_ = true;
  }
}

}  // namespace gwsim
