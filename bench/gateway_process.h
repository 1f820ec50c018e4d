#pragma once
// The gateway simulator as a separate process, so the benchmarks measure the
// tool alone: its CPU time, its threads, its event loop.
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace bench {

class GatewayProcess {
 public:
  /// Starts `program` with `args` and reads the transports it announces.
  GatewayProcess(const std::string& program, std::vector<std::string> args) {
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe failed");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      ::close(out[1]);
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    FILE* f = ::fdopen(out[0], "r");
    char line[512];
    // "TCP 127.0.0.1:PORT", "serial /dev/pts/N", then "login ..." (flushed).
    while (std::fgets(line, sizeof line, f)) {
      const std::string l(line);
      if (l.rfind("TCP 127.0.0.1:", 0) == 0) tcpPort = uint16_t(std::stoi(l.substr(14)));
      if (l.rfind("serial ", 0) == 0) ptyPath = l.substr(7, l.find_first_of(" \n", 7) - 7);
      if (l.rfind("login ", 0) == 0) break;
    }
    std::fclose(f);
    if (tcpPort == 0 && ptyPath.empty()) throw std::runtime_error("the simulator did not start: " + program);
  }
  ~GatewayProcess() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  GatewayProcess(const GatewayProcess&) = delete;
  GatewayProcess& operator=(const GatewayProcess&) = delete;

  uint16_t tcpPort = 0;
  std::string ptyPath;

 private:
  pid_t pid_ = -1;
};

}  // namespace bench
