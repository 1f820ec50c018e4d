#include "language_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "io_error.h"

namespace lang {

int get_Configuration_Equals(std::string_view line) {
  if (line.size() < 2) return 0;
  const size_t eq = line.substr(0, line.size() - 1).find('=');
  return eq == std::string_view::npos ? 0 : int(eq) + 2;
}

std::string_view TrimControls(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsTrimmed(text[begin])) ++begin;
  while (end > begin && IsTrimmed(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

const std::array<std::string_view, 102> kDefaultLanguageLines = {
    "# Button",
    "OK = OK",
    "Cancel = Cancel",
    "Connect = Connect",
    "Disconnect = Disconnect",
    "Save = Save",
    "Restart = Restart",
    "Exit = Exit",
    "",
    "# connect",
    "Port = Port",
    "Host = Host",
    "TCP port = TCP port",
    "",
    "# login",
    "Login ID = Login ID",
    "Password = Password",
    "",
    "# Main menu TAB",
    "LAN = LAN",
    "PSTN = PSTN",
    "PC = PC",
    "VoIP = VoIP",
    "Service = Service",
    "Auto Upgrade = Auto Upgrade",
    "Status Information = Status Information",
    "About = About",
    "",
    "# WAN",
    "Network type = Network type",
    "Dynamic IP address using PPPoE = Dynamic IP address using PPPoE",
    "Dynamic IP address using DHCP = Dynamic IP address using DHCP",
    "Fixed IP address = Fixed IP address",
    "IP address = IP address",
    "Netmask = Netmask",
    "Default router = Default router",
    "Primary DNS server = Primary DNS server",
    "Connected to cable modem = Connected to cable modem",
    "",
    "# PSTN",
    "Login name = Login name",
    "Dialing = Dialing",
    "Service type = Service type",
    "All-up = All-up",
    "Dial-up = Dial-up",
    "Local PC is attached via LAN = Local PC is attached via LAN",
    "",
    "# PC",
    "DHCP = DHCP",
    "PPPoE = PPPoE",
    "Fixed IP = Fixed IP",
    "",
    "# VoIP",
    "Gatekeeper = Gatekeeper",
    "H323_ID = H323_ID",
    "Primary GK IP = Primary GK IP",
    "Secondary GK IP = Secondary GK IP",
    "Area number = Area number",
    "VoIP phone number = VoIP phone number",
    "Type = Type",
    "Phone number = Phone number",
    "VoIP Protocol = VoIP Protocol",
    "primary-call-agent = primary-call-agent",
    "secondary-call-agent = secondary-call-agent",
    "sip-username = sip-username",
    "sip-password = sip-password",
    "sip-primary-server = sip-primary-server",
    "sip-secondary-server = sip-secondary-server",
    "",
    "# Service",
    "Service port = Service port",
    "",
    "# Auto-upgrade",
    "Automatic upgrade of system software = Automatic upgrade of system software",
    "Automatic upgrade = Automatic upgrade",
    "Server URL = Server URL",
    "Automatic rebooting after loading = Automatic rebooting after loading",
    "Optional = Optional",
    "",
    "# About",
    "Software information = Software information",
    "Model = Model :",
    "ORVA software version = ORVA software version :",
    "Morvel software version = Morvel software version :",
    "",
    "# messagebox",
    "Do you want to end connection? = Do you want to end connection?",
    "Would you like to restart? = Would you like to restart?",
    "Would you like to close this program? = Would you like to close this program?",
    "Can not connect in equipment = Can not connect in equipment",
    "Input the name of host = Input the name of host",
    "Can not connect to host = Can not connect to host",
    "Id or password is not correct = Id or password is not correct",
    "Save was complete = Save was complete",
    "Please restart, if you want to apply to a modification = Please restart, if you want to apply to a "
    "modification",
    "Please setup DNS contents = Please setup DNS contents",
    "Please setup VoIP contents = Please setup VoIP contents",
    "Please setup PPPoE contents = Please setup PPPoE contents",
    "Please setup static IP contents = Please setup static IP contents",
    "Please fill out all contents = Please fill out all contents",
    "Please setup PSTN contents = Please setup PSTN contents",
    "",
};

// ---- Scanning ---------------------------------------------------------------

SettingScanner::SettingScanner(KeyFilter isKey, size_t maxKeyLength, SettingSink onSetting)
    : isKey_(std::move(isKey)), maxKeyLength_(maxKeyLength), onSetting_(std::move(onSetting)) {}

bool SettingScanner::Feed(std::string_view bytes) {
  for (const char c : bytes) {
    if (phase_ == Phase::Done) return false;
    switch (c) {
      case '\r':  // never part of a line, before LF or not
        break;
      case '\n': EndLine(); break;
      case '\x1a':
        EndLine();
        phase_ = Phase::Done;
        return false;
      default:
        if (phase_ == Phase::Value)
          ValueByte(c);
        else if (phase_ != Phase::Skip)
          KeyByte(c);
    }
  }
  return phase_ != Phase::Done;
}

void SettingScanner::Finish() {
  if (phase_ == Phase::Done) return;
  EndLine();
  phase_ = Phase::Done;
}

void SettingScanner::KeyByte(char c) {
  if (c == '=') {
    // The first "=". Should it turn out to be the line's last character it
    // separates nothing, and EndLine drops the line.
    if (isKey_(key_)) {
      phase_ = Phase::Value;
    } else {
      phase_ = Phase::Skip;
    }
    return;
  }
  if (IsTrimmed(c)) {
    if (phase_ == Phase::KeyLead) return;
    // Kept only while it could still become part of an acceptable key; a
    // longer gap is fine as long as no key byte follows it.
    if (key_.size() + keyGap_.size() < maxKeyLength_)
      keyGap_ += c;
    else
      keyGapLong_ = true;
    return;
  }
  if (keyGapLong_ || key_.size() + keyGap_.size() + 1 > maxKeyLength_) {
    phase_ = Phase::Skip;  // no acceptable key is this long
    return;
  }
  phase_ = Phase::Key;
  key_ += keyGap_;
  keyGap_.clear();
  key_ += c;
}

void SettingScanner::ValueByte(char c) {
  valueSeen_ = true;
  if (value_.empty() && IsTrimmed(c)) return;
  value_ += c;
}

void SettingScanner::EndLine() {
  if (phase_ == Phase::Value && valueSeen_) {
    value_.resize(TrimControls(value_).size());  // leading bytes were never stored
    onSetting_(key_, std::move(value_));
  }
  phase_ = Phase::KeyLead;
  key_.clear();
  keyGap_.clear();
  keyGapLong_ = false;
  value_.clear();
  valueSeen_ = false;
}

// ---- File access ------------------------------------------------------------

namespace {

/// Closes a descriptor on every way out.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  /// Closes now; the error code of a failed close, or 0.
  int Close() {
    const int rc = ::close(std::exchange(fd_, -1));
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

/// What a file that is not a regular one is, for the error message.
std::string FileKind(mode_t mode) {
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "a special file";
}

}  // namespace

bool LanguageFileExists(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return true;
  if (errno == ENOENT) return false;
  throw InOutError::FromErrno(errno, path);
}

void WriteDefaultLanguageFile(const std::string& path) {
  std::string content;
  for (const std::string_view line : kDefaultLanguageLines) {
    content += line;
    content += "\r\n";
  }

  // O_EXCL: a file that appeared meanwhile, or a dangling link, is never
  // overwritten or followed.
  Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.get() < 0) throw InOutError::FromErrno(errno, path);

  int error = 0;
  for (size_t done = 0; done < content.size() && error == 0;) {
    const ssize_t n = ::write(fd.get(), content.data() + done, content.size() - done);
    if (n >= 0)
      done += size_t(n);
    else if (errno != EINTR)
      error = errno;
  }
  if (const int closeError = fd.Close(); error == 0) error = closeError;
  if (error != 0) {
    // A cut-off default file would be read, and never rewritten, at every
    // later start; without it the next start tries again.
    ::unlink(path.c_str());
    throw InOutError::FromErrno(error, path);
  }
}

void ReadLanguageFile(const std::string& path, SettingScanner& scanner) {
  // Without blocking: opening a named pipe would wait for a writer. Only a
  // regular file is read; a pipe or a device (a link to /dev/zero) could
  // block or never end.
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) throw InOutError::FromErrno(errno, path);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) throw InOutError::FromErrno(errno, path);
  if (S_ISDIR(st.st_mode)) throw InOutError::FromErrno(EISDIR, path);
  if (!S_ISREG(st.st_mode)) throw InOutError::NotRegularFile(path, FileKind(st.st_mode));
  ReadLanguageFrom(fd.get(), path, scanner);
}

void ReadLanguageFrom(int fd, const std::string& path, SettingScanner& scanner) {
  char block[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw InOutError::FromErrno(errno, path);
    }
    if (n == 0) break;
    if (!scanner.Feed(std::string_view(block, size_t(n)))) return;
  }
  scanner.Finish();
}

}  // namespace lang
