#include "devlink/connection_log.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

#include "lang/fixed_texts.h"

namespace devlink {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMask = "***";
constexpr std::string_view kExtension = ".log";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\0'; }

/// Where the word at `begin` ends.
size_t WordEnd(std::string_view s, size_t begin) {
  while (begin < s.size() && !IsBlank(s[begin])) ++begin;
  return begin;
}

/// Where the secret after the word [begin, end) starts, or npos when the
/// word announces none or nothing follows it. The login line is built as
/// "start-login " + ID + " " + password, so its password follows the blank
/// after the ID, even an empty ID.
size_t SecretAfter(std::string_view s, size_t begin, size_t end) {
  const std::string_view word = s.substr(begin, end - begin);
  size_t secret = std::string_view::npos;
  if (word == "password" || word == "sip-password") {
    secret = end + 1;
  } else if (word == "start-login" && end + 1 < s.size()) {
    const size_t blank = s.find(' ', end + 1);
    if (blank != std::string_view::npos) secret = blank + 1;
  }
  return secret < s.size() ? secret : std::string_view::npos;
}

/// The local time as `format` (strftime), with ".mmm" when `millis`.
std::string LocalTime(const char* format, bool millis) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[40];
  size_t n = std::strftime(text, sizeof text, format, &local);
  if (millis) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    n += size_t(std::snprintf(text + n, sizeof text - n, ".%03d", int(ms)));
  }
  return std::string(text, n);
}

/// Control bytes show as \xNN, so every event stays one line of text.
void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x20 && c != '\t') || b == 0x7F) {
      char code[5];
      std::snprintf(code, sizeof code, "\\x%02X", unsigned(b));
      out += code;
    } else {
      out += c;
    }
  }
}

/// A file of ours: named by a start time, "2026-12-09_10-00-00.log".
bool IsLogFile(const fs::path& p) {
  const std::string name = p.filename().string();
  return p.extension() == kExtension && !name.empty() && name[0] >= '0' && name[0] <= '9';
}

fs::path HomeDir() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return {};
}

}  // namespace

std::string MaskSecrets(std::string_view line) {
  size_t begin = 0;
  while (begin < line.size()) {
    if (IsBlank(line[begin])) {
      ++begin;
      continue;
    }
    const size_t end = WordEnd(line, begin);
    if (const size_t secret = SecretAfter(line, begin, end); secret != std::string_view::npos)
      return std::string(line.substr(0, secret)).append(kMask);
    begin = end;
  }
  return std::string(line);
}

std::string LoggedLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::string out;
  out.reserve(line.size());
  AppendEscaped(out, MaskSecrets(line));
  return out;
}

fs::path ConnectionLog::DefaultDir() {
  const char* state = std::getenv("XDG_STATE_HOME");
  // XDG base directories ignore a relative path.
  const fs::path base = state && state[0] == '/' ? fs::path(state) : HomeDir() / ".local" / "state";
  return base / "morvel_config";
}

ConnectionLog::ConnectionLog(fs::path dir, std::function<void(std::string)> report)
    : dir_(std::move(dir)), report_(std::move(report)) {}

ConnectionLog::~ConnectionLog() {
  report_ = nullptr;  // the windows may be gone
  End();
}

void ConnectionLog::Begin() {
  End();
  const std::string opening = std::exchange(lastTrace_, std::string());
  if (!Open()) return;
  Prune();
  if (!opening.empty()) Write("trace", opening);
}

void ConnectionLog::End() {
  if (file_ && !received_.empty()) WriteReceivedLine();
  received_.clear();
  afterCr_ = false;
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

void ConnectionLog::Trace(std::string_view line) {
  if (file_)
    Write("trace", line);
  else
    lastTrace_ = line;
}

void ConnectionLog::Received(std::string_view bytes) {
  for (const char b : bytes) {
    if (!file_) return;
    const bool lf = b == '\n';
    if (lf && std::exchange(afterCr_, false)) continue;  // the LF of CR LF ends nothing more
    afterCr_ = b == '\r';
    if (lf || afterCr_) {
      WriteReceivedLine();
    } else {
      received_ += b;
      if (received_.size() >= kMaxLineBytes) WriteReceivedLine();
    }
  }
}

void ConnectionLog::Sent(std::string_view line) {
  if (file_) Write("sent ", line);
}

void ConnectionLog::Untraced(LinkWindows::Traffic way, std::string_view bytes) {
  if (way == LinkWindows::Traffic::Received)
    Received(bytes);
  else
    Sent(bytes);
}

void ConnectionLog::WriteReceivedLine() { Write("recv ", std::exchange(received_, std::string())); }

void ConnectionLog::Write(std::string_view kind, std::string_view text) {
  std::string line = LocalTime("%Y-%m-%d %H:%M:%S", true);
  line.append(" ").append(kind).append(" ").append(LoggedLine(text)).append("\n");
  // Over the limit the oldest files go; when this one is all that is left,
  // it ends with a line that says so.
  if (bytes_ + line.size() + otherBytes_ > kMaxBytes) Prune(line.size());
  const bool full = bytes_ + line.size() + otherBytes_ > kMaxBytes;
  if (full) line = std::string(lang::fixed::kLogFull) + "\n";
  // Each event reaches the file at once: a tool that is killed keeps its log.
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fflush(file_) != 0) {
    const int error = errno;
    return Fail(path_.string(), error);
  }
  bytes_ += line.size();
  if (full) {
    received_.clear();
    End();
  }
}

bool ConnectionLog::Open() {
  std::error_code ec;
  // The logs hold the gateway's addresses and logins: the owner's alone.
  if (fs::create_directories(dir_, ec)) fs::permissions(dir_, fs::perms::owner_all, ec);
  if (ec || !fs::is_directory(dir_, ec)) {
    Fail(dir_.string(), ec ? ec.value() : ENOTDIR);
    return false;
  }
  const std::string stamp = LocalTime("%Y-%m-%d_%H-%M-%S", false);
  for (int n = 1;; ++n) {
    // A second connection in the same second gets "_2", which sorts after the first.
    fs::path p = dir_ / (stamp + (n > 1 ? "_" + std::to_string(n) : std::string()) + std::string(kExtension));
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST && n < 100) continue;
    path_ = std::move(p);
    if (fd >= 0) file_ = ::fdopen(fd, "w");
    if (!file_) {
      const int error = errno;
      if (fd >= 0) ::close(fd);
      Fail(path_.string(), error);
      return false;
    }
    bytes_ = 0;
    return true;
  }
}

void ConnectionLog::Prune(uintmax_t room) {
  std::error_code ec;
  std::vector<std::pair<fs::path, uintmax_t>> others;
  for (fs::directory_iterator it(dir_, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& p = it->path();
    if (p == path_ || !IsLogFile(p) || !it->is_regular_file(ec)) continue;
    const uintmax_t size = it->file_size(ec);
    others.emplace_back(p, ec ? 0 : size);
  }
  // Oldest first: the names are start times.
  std::sort(others.begin(), others.end());
  uintmax_t total = 0;
  for (const auto& o : others) total += o.second;
  size_t kept = others.size();
  for (const auto& [p, size] : others) {
    if (kept + 1 <= kMaxFiles && total + bytes_ + room <= kMaxBytes) break;
    fs::remove(p, ec);
    --kept;
    total -= size;
  }
  otherBytes_ = total;
}

void ConnectionLog::Fail(const std::string& what, int error) {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  received_.clear();
  if (report_) report_(std::string(lang::fixed::kLogNotWritten) + what + ": " + std::strerror(error));
}

}  // namespace devlink
