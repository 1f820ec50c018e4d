// A gateway backed up to a file, restored, and cloned to another, through
// the window's Export and Import against the simulated gateway over TCP.
#include <fstream>
#include <sstream>

#include "cli/commands.h"
#include "e2e_fixture.h"
#include "lang/fixed_texts.h"

namespace e2e {
namespace {

using Lines = std::vector<std::string>;

class FileVisit : public VisitTest {
 protected:
  /// Exports through Ctrl+E to `path`; the file's lines after its header.
  Lines Export(const std::string& path) {
    files.Queue(path);
    main().export1.Click();
    std::ifstream in(path);
    Lines script;
    for (std::string line; std::getline(in, line);)
      if (!script.empty() || line.rfind('!', 0) != 0) script.push_back(line);
    return script;
  }
  void Import(const std::string& path) {
    files.Queue(path);
    main().import1.Click();
  }
  bool Disconnect() {
    boxes.Queue(platform::Answer::Ok);
    main().BB_Disconnect.Click();
    return WaitFor([&] { return !sim().tcpClientConnected(); });
  }

  platform::ScriptedFileDialogs files;
  platform::ScriptedModalForms modal;
};

// Catches a read-out that a file cannot carry back whole: for every preset,
// export, import and export again give the same lines, and a review right
// after the import says nothing changed and still offers Save.
TEST_F(FileVisit, EveryPresetRoundTripsThroughAFile) {
  const std::string path = testing::TempDir() + "/round_trip.cfg";
  for (const std::string& preset : gwsim::presetNames()) {
    SCOPED_TRACE(preset);
    StartGateway({preset});
    ASSERT_TRUE(Visit(Via::Tcp));
    const Lines exported = Export(path);
    ASSERT_GT(exported.size(), 60u);
    Import(path);
    EXPECT_EQ(Export(path), exported);
    modal.Queue([&](platform::Form& form) {
      const auto& review = dynamic_cast<ui::TF_Review&>(form);
      EXPECT_TRUE(review.M_Changes.Lines().empty());
      EXPECT_EQ(review.L_Changes.Caption(), lang::fixed::kNothingChanged);
      EXPECT_TRUE(review.BB_Save.Enabled());
    });
    main().BB_Save.Click();  // the review cancelled: nothing goes out
    EXPECT_FALSE(Sent("write-system\r"));
    ASSERT_TRUE(Disconnect());
  }
}

// Catches a clone that does not reproduce the first gateway: read out A,
// export, connect to B (another preset), import, review, save; B then reads
// out as A did.
TEST_F(FileVisit, CloneOneGatewayToAnother) {
  const std::string path = testing::TempDir() + "/clone.cfg";
  StartGateway({"pppoe-h323"});
  ASSERT_TRUE(Visit(Via::Tcp));
  const Lines a = Export(path);
  const gwsim::GatewayConfig readOutA = sim().config();
  ASSERT_TRUE(Disconnect());

  StartGateway({"dhcp-sip"});
  ASSERT_TRUE(Visit(Via::Tcp));
  Import(path);
  Lines changes;
  modal.Queue([&](platform::Form& review) {
    const auto& shown = dynamic_cast<ui::TF_Review&>(review).M_Changes.Lines();
    changes.assign(shown.begin(), shown.end());
    review.PressEnter();
  });
  ASSERT_TRUE(SaveAndConfirm());
  EXPECT_NE(
      std::find(
          changes.begin(), changes.end(),
          "LAN / Network type: Dynamic IP address using DHCP \xE2\x86\x92 Dynamic IP address using PPPoE"),
      changes.end());

  ASSERT_TRUE(Disconnect());
  ASSERT_TRUE(Visit(Via::Tcp));
  EXPECT_EQ(Export(path), a);
  ExpectPagesShow(readOutA, pages());
}

// Catches a second implementation of Export on the command line: for every
// preset, `read` writes the very bytes the window's Export writes, both
// told the same time.
TEST_F(FileVisit, CommandLineReadWritesTheWindowsExport) {
  const std::string path = testing::TempDir() + "/window.cfg";
  const std::time_t when = 1700000000;
  main().clock = [&] { return when; };
  for (const std::string& preset : gwsim::presetNames()) {
    SCOPED_TRACE(preset);
    StartGateway({preset});
    ASSERT_TRUE(Visit(Via::Tcp));
    Export(path);
    ASSERT_TRUE(Disconnect());
    std::ostringstream out, err;
    cli::Terminal terminal{out, err, false, [&] { return when; },
                           [](const char*) { return std::optional<std::string>("admin"); }};
    EXPECT_EQ(
        cli::Run({"read", "tcp:127.0.0.1:" + std::to_string(sim().tcpPort()), "--login", "admin"}, terminal),
        0)
        << err.str();
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(out.str(), std::string(std::istreambuf_iterator<char>(in), {}));
  }
}

}  // namespace
}  // namespace e2e
