// Hostile input that no gateway should send and files no user should have:
// endless bytes without a delimiter, language files that are binary, huge,
// unreadable or a directory, a serial port held by another program or closed
// to us by its permissions.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <thread>

#include "comm/com_error.h"
#include "comm/com_port.h"
#include "fault_fixture.h"
#include "lang/language_convert.h"
#include "loopback_listener.h"
#include "pty_pair.h"
#include "temp_working_dir.h"

namespace robustness {
namespace {

using platform::Answer;

constexpr size_t kFlood = 8 * 1024 * 1024;

/// Writes `flood` bytes without a delimiter then `tail` to `fd` from a
/// thread of its own, so a full pty or socket waits for the tool to read.
class Flooder {
 public:
  Flooder(int fd, std::string tail, size_t flood = kFlood)
      : tail_(std::move(tail)), flood_(flood), thread_([this, fd] { Run(fd); }) {}
  ~Flooder() { thread_.join(); }
  bool Done() const { return done_; }

 private:
  void Run(int fd) {
    const std::string block(64 * 1024, 'x');
    for (size_t sent = 0; sent < flood_; sent += block.size()) WriteAll(fd, block);
    WriteAll(fd, tail_);
    done_ = true;
  }
  static void WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return;
      bytes.remove_prefix(size_t(n));
    }
  }
  std::string tail_;
  size_t flood_;
  std::atomic<bool> done_{false};
  std::thread thread_;
};

struct FloodCase {
  Via via;
  bool statusMode;
};

/// A link connected to a peer of the test's own, which plays the gateway.
class HandMadePeer : public FaultTest {
 protected:
  void TearDown() override {
    pty_.reset();
    listener_.reset();
    FaultTest::TearDown();
  }
  /// Connects the link to a peer of our own; returns the peer's descriptor.
  int OpenPeer(Via via) {
    devlink::DeviceLink& c = link();
    if (via == Via::Serial) {
      pty_.emplace(false);  // blocking, so the flood waits while the line is full
      EXPECT_GE(pty_->slave, 0) << "no pseudo-terminal";
      c.Transport().SetSerialPortName(pty_->path);
      c.OpenSerial();
      return pty_->master;
    }
    listener_.emplace();
    main().BB_Connect.Click();
    devlink::TF_Connection& d = connection();
    d.RB_TCP.Click();
    d.ED_host.SetText("127.0.0.1");
    d.ED_TCP.SetText(std::to_string(listener_->port));
    d.BB_Connect.Click();
    listener_->Accept();
    return listener_->peer;
  }
  bool Drained(Via) { return link().Transport().Drained(); }

 private:
  std::optional<testsupport::PtyPair> pty_;
  std::optional<testsupport::LoopbackListener> listener_;
};

class Flood : public HandMadePeer, public ::testing::WithParamInterface<FloodCase> {};

// Catches memory that grows with a peer that never sends a delimiter: the
// word (parse mode) or line (status mode) being received is cut at its
// limit, and the line that finally ends is handled as usual.
TEST_P(Flood, WordStaysBounded) {
  const FloodCase& fc = GetParam();
  const int peer = OpenPeer(fc.via);
  ASSERT_GE(peer, 0);
  this->link().StartIn(devlink::LinkState().StatusLines(fc.statusMode).Reading(devlink::Reply::None));
  const devlink::LinkRecord link = this->link().Record();
  {
    // Parse mode: a blank ends the word, then a word and a line end follow.
    // Status mode: CR LF ends the line on either transport.
    Flooder flooder(peer, fc.statusMode ? "\r\n" : " next\r");
    size_t largest = 0;
    ASSERT_TRUE(platform::DelayUntil(60000, [&] {
      largest = std::max(largest, link.RxLine().capacity());
      return flooder.Done() && Drained(fc.via) && link.RxLine().empty();
    }));
    EXPECT_LE(largest, 2 * devlink::kMaxWordBytes);
  }
  if (fc.statusMode) {
    ASSERT_FALSE(pages().M_State_Info.Lines().empty());
    EXPECT_EQ(pages().M_State_Info.Lines().back(), std::string(devlink::kMaxWordBytes, 'x'));
  } else {
    EXPECT_EQ(link.Tokens()[0], std::string(devlink::kMaxWordBytes, 'x'));
    EXPECT_EQ(link.Tokens()[1], "next");
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, Flood,
                         ::testing::Values(FloodCase{Via::Tcp, false}, FloodCase{Via::Tcp, true},
                                           FloodCase{Via::Serial, false}, FloodCase{Via::Serial, true}),
                         [](const auto& info) {
                           return std::string(ViaName(info.param.via)) +
                                  (info.param.statusMode ? "_Status" : "_Parse");
                         });

// Catches a phone grid that grows with every "voice-port" line and a "port"
// line that walks every row: 100,000 of each end with the grid at its cap and
// one trace line, read in bounded time.
TEST_F(HandMadePeer, VoicePortFloodStaysBounded) {
  const int peer = OpenPeer(Via::Tcp);
  ASSERT_GE(peer, 0);
  link().StartIn(devlink::LinkState().Reading(devlink::Reply::None));
  std::string lines = "get-voip\r\n";
  constexpr int kLines = 100000;
  for (int i = 0; i < kLines; ++i) lines += "voice-port " + std::to_string(i % 1000) + "\r\n";
  for (int i = 0; i < kLines; ++i) lines += "port " + std::to_string(i % 1000) + "\r\n";
  lines += "!END-TAG!\r\n";
  {
    Flooder flooder(peer, lines, 0);
    ASSERT_TRUE(platform::DelayUntil(60000, [&] { return Sent("get-dns-server\r"); }));
  }
  EXPECT_EQ(pages().SG_VoIP_Phone_number.RowCount(), devlink::kMaxVoicePorts + 1);
  int passedOver = 0;
  for (const std::string& l : debug().Display.Lines()) passedOver += l.find("passed over") != l.npos;
  EXPECT_EQ(passedOver, 1);
}

/// A program started in a directory whose "language.cfg" a case prepares.
class LanguageFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.IsValid()); }
  void TearDown() override { program_.reset(); }
  void StartProgram() {
    program_ = std::make_unique<ui::Program>([] {});
    program_->Start();
  }
  bool ErrorShown() const {
    for (const platform::MessageBox& b : boxes.Shown())
      if (b.icon == platform::Icon::Error) return true;
    return false;
  }
  ui::TF_morvel_config_main& main() { return program_->Main(); }

  platform::ScriptedMessageBoxes boxes;
  std::unique_ptr<ui::Program> program_;

 private:
  testsupport::TempWorkingDir dir_;
};

// Catches a reader that trips over control bytes, NULs or the end mark, or
// stops applying settings after garbage.
TEST_F(LanguageFile, BinaryIsReadAsBytes) {
  {
    std::ofstream f("language.cfg", std::ios::binary);
    std::mt19937 rng(7);
    for (int i = 0; i < 256 * 1024; ++i) {
      const char c = char(rng());
      f.put(c == '\x1a' ? 'x' : c);  // the end mark would end the file early
    }
    f << "\r\nSave = Sichern\r\n";
  }
  StartProgram();
  EXPECT_TRUE(main().Visible());
  EXPECT_FALSE(ErrorShown());
  EXPECT_EQ(main().BB_Save.Caption(), "Sichern");
}

// Catches a reader that holds a whole line (or file) in memory, or gives up
// on a file of many megabytes: a huge line without an end and a huge value
// of an unknown key are passed over, and the setting after them applies.
TEST_F(LanguageFile, HugeLinesArePassedOver) {
  {
    std::ofstream f("language.cfg", std::ios::binary);
    const std::string block(1 << 20, 'k');
    for (int i = 0; i < 16; ++i) f << block;  // one key of 16 MB
    f << " = value\r\nunknown = ";
    for (int i = 0; i < 16; ++i) f << block;
    f << "\r\nSave = Sichern\r\n";
  }
  StartProgram();
  EXPECT_FALSE(ErrorShown());
  EXPECT_EQ(main().BB_Save.Caption(), "Sichern");
}

// Catches a directory, a named pipe (opening it waited for a writer before
// the window came up), a device (a link to /dev/zero read NUL bytes for ever)
// or a file whose reading fails taken for a language file, or a failure that
// stops the program: the error is shown and the main window still comes up.
TEST_F(LanguageFile, AnythingButAReadableFileIsShown) {
  const struct {
    const char* what;
    std::function<void()> make;
    const char* message;
  } cases[] = {
      {"directory", [] { std::filesystem::create_directory("language.cfg"); }, "Is a directory"},
      {"named pipe", [] { ASSERT_EQ(::mkfifo("language.cfg", 0644), 0); },
       "not a regular file but a named pipe"},
      {"device", [] { std::filesystem::create_symlink("/dev/zero", "language.cfg"); },
       "not a regular file but a character device"},
      // Opens but cannot be read: offset 0 of a process's memory is never
      // mapped, so read() fails with EIO.
      {"read fails", [] { std::filesystem::create_symlink("/proc/self/mem", "language.cfg"); }, "I/O error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all("language.cfg");
    c.make();
    boxes.Clear();
    StartProgram();
    EXPECT_TRUE(ErrorShown());
    EXPECT_TRUE(!boxes.Shown().empty() && boxes.Shown()[0].text.find(c.message) != std::string::npos);
    EXPECT_TRUE(main().Visible());
    program_.reset();
  }
}

// Catches an unreadable file taken for a missing one (and overwritten with
// the defaults) or for an empty one. Permission bits do not bind root, so as
// root the check runs in a child process that has given up root.
TEST_F(LanguageFile, WithoutPermissionFailsToRead) {
  { std::ofstream("language.cfg") << "Save = Sichern\r\n"; }
  ::chmod("language.cfg", 0);
  ::chmod(".", 0755);  // the directory itself stays open to the child
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(10);
    platform::Form mainForm("F_morvel_config_main", ""), connection("F_Connection", ""), login("F_Login", "");
    lang::MessageTexts messages;
    try {
      lang::Language_Convert(mainForm, connection, login, messages, ".");
    } catch (const lang::InOutError& e) {
      ::_exit(e.Code() == EACCES ? 0 : 11);
    }
    ::_exit(12);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "10: could not drop root, 11: other error, 12: no error";
  EXPECT_EQ(std::filesystem::file_size("language.cfg"), std::string("Save = Sichern\r\n").size());
}

class SerialPort : public FaultTest {};

// Catches two programs splitting one serial line's data: a port another
// opener holds is refused with the open error, the dialog stays, and the
// port can be had once the other lets go.
TEST_F(SerialPort, HeldByAnotherOpenerIsRefused) {
  StartGateway(gwsim::SimulatorOptions{});
  auto other = std::make_unique<comm::TComPort>();
  other->SetPort(sim().ptyPath());
  other->Open();
  ASSERT_TRUE(other->Connected());

  EXPECT_FALSE(Connect(Via::Serial));
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_NE(boxes.Shown()[0].text.find("Unable to open com port"), std::string::npos)
      << boxes.Shown()[0].text;
  EXPECT_FALSE(link().SerialOpen());
  EXPECT_TRUE(connection().Visible());
  EXPECT_EQ(link().Record().LinkMode(), 0);

  other.reset();
  connection().BB_Connect.Click();
  EXPECT_TRUE(login().Visible());
}

// Catches a port we may not open reported as anything but the open error
// with the system's "permission denied". As root the open runs in a child
// process that has given up root, since permission bits do not bind root.
TEST_F(SerialPort, WithoutPermissionIsRefused) {
  testsupport::PtyPair pty;
  ASSERT_GE(pty.slave, 0) << "no pseudo-terminal";
  ::fchmod(pty.slave, 0600);  // owner only; the child below is not the owner
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(10);
    } else if (::fchmod(pty.slave, 0) != 0) {
      ::_exit(10);
    }
    comm::TComPort port;
    port.SetPort(pty.path);
    try {
      port.Open();
    } catch (const comm::EComPort& e) {
      ::_exit(e.Number() == 1 && e.Code() == EACCES ? 0 : 11);
    }
    ::_exit(12);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "10: could not drop root, 11: other error, 12: opened";
}

}  // namespace
}  // namespace robustness
