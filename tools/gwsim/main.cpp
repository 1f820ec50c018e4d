// gwsim: plays the VoIP gateway's console over TCP and a pseudo-terminal.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>

#include <poll.h>

#include "gwsim/simulator.h"

namespace {

volatile std::sig_atomic_t quit = 0;
void onSignal(int) { quit = 1; }

const char* kUsage =
    "usage: gwsim [--tcp PORT] [--no-tcp] [--pty [LINKPATH]] [--preset NAME | --config FILE]\n"
    "             [--model NAME] [--login ID PW] [--line-end cr|lf|crlf] [--chunk N]\n"
    "             [--pace9600] [--read9600] [--transcript FILE] [--page N] [--reboot-silence MS]\n"
    "             [--save-delay MS] [--status-delay MS] [--refuse-save] [--silent-login] [--silent QUERY]\n"
    "presets: pppoe-h323 (default), dhcp-sip, static-mgcp, full\n";

[[noreturn]] void usage(const std::string& why) {
  if (!why.empty()) std::cerr << "gwsim: " << why << "\n";
  std::cerr << kUsage;
  std::exit(2);
}

long number(const char* text, const char* option) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (!*text || *end || v < 0) usage(std::string(option) + " needs a non-negative number");
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  gwsim::SimulatorOptions opt;
  opt.tcpPort = 5140;
  std::string presetName, configFile, model;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) usage(a + " needs a value");
      return argv[++i];
    };
    if (a == "--tcp") {
      const long port = number(value(), "--tcp");
      if (port > 65535) usage("--tcp PORT is at most 65535");
      opt.tcp = true;
      opt.tcpPort = static_cast<std::uint16_t>(port);
    } else if (a == "--no-tcp") {
      opt.tcp = false;
    } else if (a == "--pty") {
      opt.pty = true;
      if (i + 1 < argc && argv[i + 1][0] != '-') opt.ptyLink = argv[++i];
    } else if (a == "--preset") {
      presetName = value();
    } else if (a == "--config") {
      configFile = value();
    } else if (a == "--model") {
      model = value();
    } else if (a == "--login") {
      opt.console.loginId = value();
      opt.console.loginPassword = value();
    } else if (a == "--line-end") {
      const std::string v = value();
      if (v == "cr")
        opt.console.lineEnd = gwsim::LineEnd::Cr;
      else if (v == "lf")
        opt.console.lineEnd = gwsim::LineEnd::Lf;
      else if (v == "crlf")
        opt.console.lineEnd = gwsim::LineEnd::CrLf;
      else
        usage("--line-end is cr, lf or crlf");
    } else if (a == "--chunk") {
      opt.chunkBytes = static_cast<std::size_t>(number(value(), "--chunk"));
    } else if (a == "--pace9600") {
      opt.pace9600 = true;
    } else if (a == "--read9600") {
      opt.read9600 = true;
    } else if (a == "--transcript") {
      opt.transcriptPath = value();
    } else if (a == "--page") {
      opt.console.pageLines = static_cast<int>(number(value(), "--page"));
    } else if (a == "--reboot-silence") {
      opt.rebootSilence = std::chrono::milliseconds(number(value(), "--reboot-silence"));
    } else if (a == "--save-delay") {
      opt.saveEndDelay = std::chrono::milliseconds(number(value(), "--save-delay"));
    } else if (a == "--status-delay") {
      opt.statusEndDelay = std::chrono::milliseconds(number(value(), "--status-delay"));
    } else if (a == "--refuse-save") {
      opt.console.refuseSave = true;
    } else if (a == "--silent-login") {
      opt.console.silentLogin = true;
    } else if (a == "--silent") {
      opt.console.silentQueries.push_back(value());
    } else if (a == "-h" || a == "--help") {
      std::cout << kUsage;
      return 0;
    } else {
      usage("unknown option " + a);
    }
  }
  if (!presetName.empty() && !configFile.empty()) usage("--preset and --config exclude each other");
  if (!opt.tcp && !opt.pty) usage("nothing to listen on: give --tcp or --pty");
  if (model.find_first_of(" \t") != std::string::npos) usage("--model NAME is one word");

  try {
    if (!configFile.empty())
      opt.config = gwsim::loadConfigFile(configFile);
    else if (!presetName.empty())
      opt.config = gwsim::preset(presetName);
    if (!model.empty()) opt.config.model = model;

    gwsim::Simulator sim(opt);
    sim.start();
    if (opt.tcp) std::cout << "TCP 127.0.0.1:" << sim.tcpPort() << "\n";
    if (opt.pty)
      std::cout << "serial " << sim.ptyPath() << (opt.ptyLink.empty() ? "" : " (link " + opt.ptyLink + ")")
                << "\n";
    std::cout << "login " << opt.console.loginId << " " << opt.console.loginPassword << ", model "
              << opt.config.model << std::endl;

    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    while (!quit) ::poll(nullptr, 0, 200);  // the simulator runs on its own thread
    sim.stop();
    const auto c = sim.counters();
    std::cout << "lines " << c.linesReceived << ", saves " << c.savesApplied << ", reboots " << c.reboots
              << "\n";
  } catch (const std::exception& e) {
    std::cerr << "gwsim: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
