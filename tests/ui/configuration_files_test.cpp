// Export, Import and the review before Save on the main window, over a
// recording TCP transport: the file, the review and what the link sends are
// one script.
#include <algorithm>
#include <fstream>
#include <iterator>

#include "config/script_writer.h"
#include "ui_fixture.h"

namespace ui::test {
namespace {

using Lines = std::vector<std::string>;

class FilesTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ConnectOver(devlink::TransportKind::Tcp);
    pages().L_model.SetCaption("MVG-2400");
    pages().ED_PPPoE_ID.SetText("user@isp");
    pages().ED_PPPoE_Password.SetText("secret");
    pages().SG_VoIP_Phone_number.SetCell(0, 1, "0");
    pages().SG_VoIP_Phone_number.SetCell(2, 1, "1001");
    main().ShowModelAccepted();
    main().ConversationEnded({devlink::Conversation::ReadOut});
  }

  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  platform::ScriptedFileDialogs files;
  platform::ScriptedModalForms modal;
};

// Catches a file that is not Save's lines, an import that leaves the pages
// writing anything else, a review that lists a change wrongly or shows other
// lines than go out, and a save that sends a byte besides them.
TEST_F(FilesTest, TheFileTheReviewAndTheSaveAreOneScript) {
  const Lines script = config::ConfigurationScript(pages());
  const std::string path = Dir() + "/gateway.cfg";
  files.Queue(path);
  main().export1.Click();  // Ctrl+E
  ASSERT_EQ(files.Shown().size(), 1u);
  EXPECT_EQ(files.Shown()[0].proposedName.substr(0, 9), "MVG-2400_");
  std::string body;
  for (const std::string& l : script) body += l + "\n";
  const std::string text = Contents(path);
  EXPECT_EQ(text.substr(text.find("dhcp-list")), body);

  pages().RG_Protocol.SetItemIndex(config::kMgcp);
  pages().ED_PPPoE_ID.SetText("someone");
  files.Queue(path);
  main().import1.Click();  // Ctrl+I
  EXPECT_EQ(config::ConfigurationScript(pages()), script);

  pages().ED_PPPoE_Password.SetText("new");
  pages().ED_service_ftp.SetText("2121");
  Lines changes, revealed, shownLines;
  modal.Queue([&](platform::Form&) {
    TF_Review& r = program_->Review();
    changes = Lines(r.M_Changes.Lines().begin(), r.M_Changes.Lines().end());
    r.CK_Reveal.Click();
    r.CK_Lines.Click();
    revealed = Lines(r.M_Changes.Lines().begin(), r.M_Changes.Lines().end());
    shownLines = Lines(r.M_Lines.Lines().begin(), r.M_Lines.Lines().end());
    r.BB_Save.Click();
  });
  main().BB_Save.Click();
  EXPECT_EQ(changes,
            (Lines{"LAN / Password: \xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2"
                   " \xE2\x86\x92 \xE2\x80\xA2\xE2\x80\xA2\xE2\x80\xA2",
                   "Service / FTP: (empty) \xE2\x86\x92 2121"}));
  EXPECT_EQ(revealed,
            (Lines{"LAN / Password: secret \xE2\x86\x92 new", "Service / FTP: (empty) \xE2\x86\x92 2121"}));

  tcp.written.clear();
  link().Receive("write-system\r!START-TAG!\r!START-TAG!\r", devlink::LineEnds::Tcp);
  Lines sent;
  for (const std::string& l : shownLines) sent.push_back(l + "\r");
  sent.push_back("!END-TAG!\r");
  EXPECT_EQ(tcp.written, sent);
}

// Catches a refused or declined import that changes the pages anyway, and a
// refusal that does not name its line: a file of another model asks first.
TEST_F(FilesTest, ARefusedOrDeclinedFileLeavesThePages) {
  const Lines script = config::ConfigurationScript(pages());
  const std::string path = Dir() + "/other.cfg";
  std::string text = "! Model: MVG-2800\n";
  for (const std::string& l : script) text += l + "\n";
  pages().ED_PPPoE_ID.SetText("edited");
  const Lines edited = config::ConfigurationScript(pages());

  std::ofstream(path, std::ios::binary) << text << "reboot-system\n";
  files.Queue(path);
  main().BB_Import.Click();
  ASSERT_EQ(boxes.Shown().size(), 1u);
  const std::string named = "Line " + std::to_string(script.size() + 2) +
                            " \"reboot-system\" is not a line of a gateway configuration.";
  EXPECT_EQ(boxes.Shown()[0].text.substr(0, named.size()), named);
  EXPECT_EQ(config::ConfigurationScript(pages()), edited);

  std::ofstream(path, std::ios::binary) << text;
  boxes.Queue(platform::Answer::No);
  files.Queue(path);
  main().BB_Import.Click();
  EXPECT_EQ(boxes.Shown().back().text,
            "This file was written for the model MVG-2800; the gateway is MVG-2400. Fill the pages with it "
            "all the same?");
  EXPECT_EQ(config::ConfigurationScript(pages()), edited);
  files.Queue(path);
  main().BB_Import.Click();  // answered Yes
  EXPECT_EQ(config::ConfigurationScript(pages()), script);
}

// Catches a save started although the connection closed while the review
// was open: the review's Save then sends nothing.
TEST_F(FilesTest, AReviewThatOutlivesItsConnectionSendsNothing) {
  modal.Queue([&](platform::Form&) {
    tcp.Close();
    program_->Review().BB_Save.Click();
  });
  main().BB_Save.Click();
  EXPECT_EQ(std::count(tcp.written.begin(), tcp.written.end(), "write-system\r"), 0);
}

// Catches Save enabled with no read-out to compare with (a TCP connection
// used to enable it at once), and a read-out kept past its connection.
TEST_F(UiTest, SaveWaitsForAReadOutOfTheConnection) {
  ConnectOver(devlink::TransportKind::Tcp);
  EXPECT_FALSE(main().BB_Save.Enabled());
  main().ConversationEnded({devlink::Conversation::ReadOut});
  EXPECT_TRUE(main().BB_Save.Enabled());
  tcp.Close();
  tcp.open = true;
  ConnectOver(devlink::TransportKind::Tcp);
  EXPECT_FALSE(main().BB_Save.Enabled());
}

}  // namespace
}  // namespace ui::test
