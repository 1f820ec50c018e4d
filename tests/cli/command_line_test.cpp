// morvel_config's subcommands as a shell or an automation tool runs them:
// a process against the simulated gateway over loopback TCP and a
// pseudo-terminal, judged by its exit status and its output.
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <fstream>
#include <sstream>

#include "cli/exit_status.h"
#include "gwsim/simulator.h"
#include "pty_pair.h"

namespace {

using cli::ExitStatus;

struct Ran {
  int status = -1;
  std::string out, err;
};

class CommandLine : public ::testing::Test {
 protected:
  void StartGateway(gwsim::SimulatorOptions o = {}) {
    o.tcp = true;
    o.pty = true;
    o.rebootSilence = std::chrono::milliseconds(300);
    sim_ = std::make_unique<gwsim::Simulator>(std::move(o));
    sim_->start();
  }
  std::string Tcp() const { return "tcp:127.0.0.1:" + std::to_string(sim_->tcpPort()); }
  std::string Pty() const { return "serial:" + sim_->ptyPath(); }
  std::string File(const std::string& name) const {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
  }

  /// Runs morvel_config with `args`, the password in the environment;
  /// `during` runs every 20 ms while it runs.
  Ran Run(const std::vector<std::string>& args, const std::string& password = "admin",
          const std::function<void()>& during = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MORVEL_PASSWORD", QString::fromStdString(password));
    env.insert("XDG_STATE_HOME", dir_.path());
    p.setProcessEnvironment(env);
    QStringList list;
    for (const std::string& a : args) list << QString::fromStdString(a);
    p.start(MORVEL_CONFIG, list);
    for (int i = 0; i < 3000 && !p.waitForFinished(20); ++i)
      if (during) during();
    Ran r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
  }

  gwsim::Simulator& sim() { return *sim_; }

 private:
  QTemporaryDir dir_;
  std::unique_ptr<gwsim::Simulator> sim_;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Catches a backup that does not restore: read over the pty into a file,
// diff says nothing differs; an edited file differs in that field only;
// apply over TCP saves it (the gateway's own configuration changes) and
// restarts; a diff then finds nothing again.
TEST_F(CommandLine, ReadDiffApplyOverBothTransports) {
  StartGateway();
  const std::string backup = File("backup.cfg"), edited = File("edited.cfg");
  Ran r = Run({"read", Pty(), "--login", "admin", "-o", backup});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string text = Slurp(backup);
  EXPECT_EQ(text.rfind("! Morvel VoIP gateway configuration\n! Model: ", 0), 0u) << text;
  EXPECT_EQ(Run({"diff", backup, Tcp(), "--login", "admin"}).status, int(ExitStatus::Ok));

  const std::string id = sim().config().pppoeId;
  std::string changed = text;
  changed.replace(changed.find(" " + id + " "), id.size() + 2, " cli-user ");
  std::ofstream(edited) << changed;
  r = Run({"diff", edited, Tcp(), "--login", "admin"});
  EXPECT_EQ(r.status, int(ExitStatus::Differs));
  EXPECT_EQ(r.out, "LAN / Login ID: " + id + " \xE2\x86\x92 cli-user\n");

  r = Run({"apply", edited, Tcp(), "--login", "admin", "--restart"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(sim().config().pppoeId, "cli-user");
  EXPECT_EQ(sim().counters().reboots, 1u);
  while (sim().rebooting()) QThread::msleep(20);
  EXPECT_EQ(Run({"diff", edited, Pty(), "--login", "admin"}).status, int(ExitStatus::Ok));
}

// Catches a status poll or JSON output that loses what the window shows:
// the status lines come whole; read --json leaves the secrets out unless
// asked; diff --json names a changed secret without its values.
TEST_F(CommandLine, StatusAndJson) {
  StartGateway();
  Ran r = Run({"status", Tcp(), "--login", "admin"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("System Information"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Calls since start"), std::string::npos) << r.out;

  const std::string secret = sim().config().pppoePassword;
  r = Run({"read", "--json", Pty(), "--login", "admin"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"caption\": \"Login ID\""), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find(secret), std::string::npos);
  r = Run({"read", "--json", "--show-secrets", Tcp(), "--login", "admin"});
  EXPECT_NE(r.out.find(secret), std::string::npos);
}

/// One way a run ends, and the gateway that makes it end so.
struct Ending {
  const char* name;
  ExitStatus status;
  std::vector<std::string> args;  ///< "{tcp}", "{pty}", "{file}" stand for the target and a read-out file
  std::string password = "admin";
  std::function<void(gwsim::SimulatorOptions&)> gateway = {};
  std::function<void(gwsim::Simulator&)> during = {};
};

class Endings : public CommandLine, public ::testing::WithParamInterface<Ending> {};

// Catches an exit status that says something else than what happened: each
// documented status from the gateway (or the command line) that causes it,
// and what the run says on standard error.
TEST_P(Endings, ExitStatus) {
  const Ending& e = GetParam();
  gwsim::SimulatorOptions o;
  if (e.gateway) e.gateway(o);
  StartGateway(std::move(o));
  const std::string file = File("readout.cfg");
  const testsupport::PtyPair quiet;
  std::vector<std::string> args;
  for (const std::string& a : e.args) {
    if (a == "{file}") {
      ASSERT_EQ(Run({"read", Tcp(), "--login", "admin", "-o", file}).status, 0);
    }
    args.push_back(a == "{tcp}"         ? Tcp()
                   : a == "{pty}"       ? Pty()
                   : a == "{quiet-pty}" ? "serial:" + quiet.path
                   : a == "{file}"      ? file
                                        : a);
  }
  const Ran r = Run(args, e.password, [&] {
    if (e.during) e.during(sim());
  });
  EXPECT_EQ(r.status, int(e.status)) << r.err;
  EXPECT_FALSE(r.err.empty()) << "no word of why";
}

void DropWhenAsked(gwsim::Simulator& s) {
  if (s.transcript().find("get-dns-server") != std::string::npos && s.tcpClientConnected()) s.dropTcpClient();
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, Endings,
    ::testing::Values(
        Ending{"Usage", ExitStatus::Usage, {"read", "{tcp}"}},
        Ending{"UnknownSubcommand", ExitStatus::Usage, {"raed", "{tcp}", "--login", "admin"}},
        Ending{"CannotConnect", ExitStatus::CannotConnect, {"read", "tcp:127.0.0.1:1", "--login", "admin"}},
        Ending{
            "NoGatewayOnThePort", ExitStatus::CannotConnect, {"status", "{quiet-pty}", "--login", "admin"}},
        Ending{"LoginRefused", ExitStatus::LoginRefused, {"status", "{pty}", "--login", "admin"}, "wrong"},
        Ending{"ModelRefused",
               ExitStatus::ModelRefused,
               {"read", "{tcp}", "--login", "admin"},
               "admin",
               [](gwsim::SimulatorOptions& o) { o.config.model = "RN420"; }},
        Ending{"GatewayRefused",
               ExitStatus::GatewayRefused,
               {"apply", "{file}", "{tcp}", "--login", "admin", "--restart"},
               "admin",
               [](gwsim::SimulatorOptions& o) { o.console.refuseSave = true; }},
        Ending{"GatewaySilent",
               ExitStatus::GatewaySilent,
               {"read", "{tcp}", "--login", "admin"},
               "admin",
               [](gwsim::SimulatorOptions& o) { o.console.silentQueries = {"get-voip"}; }},
        Ending{"LinkClosed",
               ExitStatus::LinkClosed,
               {"read", "{tcp}", "--login", "admin"},
               "admin",
               [](gwsim::SimulatorOptions& o) { o.console.silentQueries = {"get-dns-server"}; },
               DropWhenAsked},
        Ending{"ChecksFailed",
               ExitStatus::ChecksFailed,
               {"read", "{pty}", "--login", "admin"},
               "admin",
               [](gwsim::SimulatorOptions& o) { o.config.pppoeId.clear(); }},
        Ending{"FileRejected",
               ExitStatus::FileRejected,
               {"diff", "/nonexistent.cfg", "{tcp}", "--login", "admin"}}),
    [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

}  // namespace
