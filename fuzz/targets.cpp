#include "targets.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "config/address_checks.h"
#include "config/config_pages.h"
#include "config/configuration_file.h"
#include "config/script_writer.h"
#include "devlink/device_link.h"
#include "lang/language_convert.h"
#include "platform/ui/toolkit.h"
#include "ui/program.h"

namespace fuzz {

namespace {

/// A broken invariant is a finding: say which and abort, so libFuzzer keeps
/// the input and the replay test fails.
void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
  std::abort();
}

std::string_view Bytes(const uint8_t* data, size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

/// The words of a line and the word being received never outgrow their
/// limits, whatever arrives.
void CheckLinkBounds(const devlink::LinkRecord& link) {
  Check(link.Tokens().size() == size_t(devlink::kTokenSlots), "the word table keeps its slot count");
  Check(link.TokenIndex() >= 0 && link.TokenIndex() <= devlink::kTokenSlots,
        "TokenIndex stays within the table");
  Check(link.RxLine().size() <= devlink::kMaxWordBytes, "RxLine stays within kMaxWordBytes");
}

/// The starting reply states worth reaching at once: none, login, save
/// handshake (never entered from a line), and the mapping states.
constexpr devlink::Reply kStartStates[8] = {
    devlink::Reply::None, devlink::Reply::Login, devlink::Reply::Save,    devlink::Reply::Wan,
    devlink::Reply::Voip, devlink::Reply::Pstn,  devlink::Reply::Version, devlink::Reply::Model};
/// Sizes of the receive events the bytes are cut into (0: one event, as big
/// as the receive buffer allows).
constexpr size_t kChunks[16] = {0, 1, 2, 3, 5, 7, 11, 16, 31, 64, 127, 256, 1000, 1460, 4096, 20000};

int Receive(const uint8_t* data, size_t size, devlink::LineEnds ends) {
  if (size == 0) return 0;
  const uint8_t control = data[0];
  const std::string_view bytes = Bytes(data + 1, size - 1);

  // A whole program, so the field mapping's changes run the pages' rules.
  // No transport is chosen: what the interpreter sends goes nowhere.
  ui::Program program([] {});
  devlink::DeviceLink& link = program.Link();
  const bool statusMode = (control & 0x01) != 0;
  link.StartIn(devlink::LinkState()
                   .StatusLines(statusMode)
                   .FollowUpDue(statusMode)
                   .Reading(kStartStates[(control >> 1) & 0x07]));
  const devlink::LinkRecord record = link.Record();
  size_t chunk = kChunks[(control >> 4) & 0x0F];
  if (chunk == 0) chunk = devlink::DeviceLink::kReceiveBuffer;

  for (size_t i = 0; i < bytes.size(); i += chunk) {
    link.Receive(bytes.substr(i, chunk), ends);
    CheckLinkBounds(record);
  }
  for (const std::string& word : record.Tokens()) Check(word.size() <= devlink::kMaxWordBytes, "a word fits");
  Check(program.Main().pages.SG_VoIP_Phone_number.RowCount() <= devlink::kMaxVoicePorts + 1,
        "the phone grid stays within its port cap");
  return 0;
}

/// An anonymous in-memory file holding the bytes.
int MemoryFile(std::string_view bytes) {
  const int fd = memfd_create("language.cfg", MFD_CLOEXEC);
  Check(fd >= 0, "memfd_create");
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    Check(n > 0, "write to the memory file");
    done += size_t(n);
  }
  Check(::lseek(fd, 0, SEEK_SET) == 0, "rewind the memory file");
  return fd;
}

bool IsPlaced(const std::string& s) {
  if (s.size() != 15) return false;
  for (size_t i = 0; i < s.size(); ++i) {
    const bool dotPlace = i % 4 == 3;
    if (dotPlace != (s[i] == '.')) return false;
    if (!dotPlace && s[i] != ' ' && (s[i] < '0' || s[i] > '9')) return false;
  }
  return true;
}

}  // namespace

int ReceiveTcp(const uint8_t* data, size_t size) { return Receive(data, size, devlink::LineEnds::Tcp); }
int ReceiveSerial(const uint8_t* data, size_t size) { return Receive(data, size, devlink::LineEnds::Serial); }

int LanguageFile(const uint8_t* data, size_t size) {
  ui::Program program([] {});
  const int fd = MemoryFile(Bytes(data, size));
  lang::SettingScanner scanner =
      lang::ConversionScanner(program.Main(), program.Connection(), program.Login(), program.Main().messages);
  try {
    lang::ReadLanguageFrom(fd, "language.cfg", scanner);
  } catch (const lang::InOutError&) {
    // A read failure is reported to the user; it is not a finding here.
  }
  ::close(fd);
  return 0;
}

int AddressPlace(const uint8_t* data, size_t size) {
  const std::string placed = platform::AddressEdit::Place(Bytes(data, size));
  Check(IsPlaced(placed), "a placed address is 15 positions of digits or blanks with dots between groups");
  Check(platform::AddressEdit::Place(placed) == placed, "placing a placed address changes nothing");
  return 0;
}

int IpAddCheck(const uint8_t* data, size_t size) {
  const std::string_view text = Bytes(data, size);
  int traces = 0;
  const bool ok = config::IP_Add_Check(text, [&traces](const std::string&) { ++traces; });
  std::string bare;
  for (char c : text)
    if (c != ' ') bare.push_back(c);
  Check(!ok || std::count(bare.begin(), bare.end(), '.') >= 3, "an accepted address has three dots");
  Check(!ok || bare.back() != '.' || std::count(bare.begin(), bare.end(), '.') > 3,
        "an accepted address has something after its third dot");
  Check(traces <= 1 && !(ok && traces), "at most one trace line, and only for a refusal");
  bool joins = false;  // some group, trimmed of its outer blanks, still holds one
  for (size_t start = 0; start <= text.size() && !joins;) {
    const size_t dot = std::min(text.find('.', start), text.size());
    const std::string_view group = text.substr(start, dot - start);
    const size_t first = group.find_first_not_of(' ');
    joins = first != group.npos &&
            group.substr(first, group.find_last_not_of(' ') + 1 - first).find(' ') != group.npos;
    start = dot + 1;
  }
  Check(!ok || !joins, "an accepted address packs without joining the characters of a group");
  return 0;
}

int GetGwIp(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int n = int(int8_t(data[0]));
  const std::string_view text = Bytes(data + 1, size - 1);
  const std::string out = config::Get_GW_IP(text, n);
  Check(text.substr(0, out.size()) == out, "the result is the start of the text");
  Check(out.size() == text.size() || text[out.size()] == '.', "the result ends before a dot or at the end");
  Check(n < 0 ? out.size() == text.size() : std::count(out.begin(), out.end(), '.') <= n,
        "the result holds at most n dots");
  return 0;
}

int StaticIpExit(const uint8_t* data, size_t size) {
  const std::string_view text = Bytes(data, size);
  const size_t first = text.find('\n');
  const size_t second = first == std::string_view::npos ? first : text.find('\n', first + 1);
  config::DetachedPages pages;
  config::ConfigPages& p = pages.pages;
  p.ED_Static_IP_address.SetText(text.substr(0, first));
  if (first != std::string_view::npos)
    p.ED_Static_Netmask.SetText(
        text.substr(first + 1, second == std::string_view::npos ? second : second - first - 1));
  if (second != std::string_view::npos) p.ED_Static_router.SetText(text.substr(second + 1));
  const std::string netmask = p.ED_Static_Netmask.Text(), router = p.ED_Static_router.Text();
  const bool proposes = p.ED_Static_Netmask.IsEmpty() && p.ED_Static_router.IsEmpty();

  config::ED_Static_IP_addressExit(p);

  Check(IsPlaced(p.ED_Static_Netmask.Text()) && IsPlaced(p.ED_Static_router.Text()),
        "the fields stay placed");
  if (!proposes) {
    Check(p.ED_Static_Netmask.Text() == netmask && p.ED_Static_router.Text() == router,
          "what the user entered is never overwritten");
  }
  return 0;
}

namespace {

/// The script lines of a file as an oracle of its own sees them: split at
/// LF, a CR before it dropped, the leading "!" lines passed over.
std::vector<std::string> ScriptLinesOf(std::string_view text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == text.npos) end = text.size();
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!lines.empty() || line.empty() || line[0] != '!') lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

int ScriptReader(const uint8_t* data, size_t size) {
  const std::string_view text = Bytes(data, size);
  config::DetachedPages current;
  auto read = config::ReadConfigurationFile(text, current.pages);
  const auto* file = std::get_if<config::ImportedFile>(&read);
  if (!file) return 0;
  const std::vector<std::string> lines = config::ConfigurationScript(file->fields->pages);
  Check(lines == ScriptLinesOf(text), "an accepted file's fields write its lines again");
  auto again = config::ReadConfigurationFile(config::ConfigurationFileText({}, lines), current.pages);
  const auto* exported = std::get_if<config::ImportedFile>(&again);
  Check(exported && config::ConfigurationScript(exported->fields->pages) == lines,
        "an accepted file exported and imported again gives the same lines");
  return 0;
}

}  // namespace fuzz
