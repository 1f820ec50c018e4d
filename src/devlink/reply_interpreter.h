#pragma once
// The reply interpreter: which reply is being read (from the echoed command
// word), the login answer, the model check, the query series, the save
// handshake, and the field mapping of each reply onto the configuration pages.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_pages.h"
#include "devlink/conversation_queue.h"
#include "devlink/line_reader.h"
#include "devlink/link_windows.h"

namespace devlink {

/// Which reply the interpreter is reading; the values are the link record's.
enum class Reply : int32_t {
  None = 0,
  Wan = 1,
  Lan = 2,
  Dns = 3,
  AutoUpgrade = 4,
  Service = 5,
  ServicePort = 6,
  Login = 7,
  Version = 8,
  Model = 9,
  Voip = 12,
  Save = 13,
  GatekeeperStatus = 15,
  WanStatus = 16,
  Pstn = 17,
};

/// Port rows the phone grid takes from the VoIP reply; further "voice-port"
/// lines are passed over, so a hostile gateway cannot grow the grid.
inline constexpr int32_t kMaxVoicePorts = config::kMaxPhoneRows;

/// What the interpreter needs of the conversation that reads the replies.
class ReplyUser {
 public:
  /// Sends a command line as SendGetData does.
  virtual void SendCommand(std::string_view text) = 0;
  virtual Conversation Running() const = 0;
  /// Ends the running conversation (`shown`: the interpreter shows it).
  virtual void Finish(Outcome outcome, std::string reason = {}, bool shown = false) = 0;
  /// The query series sends `command` next: a typed line whose reply restarts
  /// the series is a read-out from here, and a read-out now waits for it.
  virtual void QueryNext(std::string_view command) = 0;
  /// The gateway's model is accepted: Save may be pressed.
  virtual void ModelAccepted() = 0;
  /// The gateway asks for the save's script.
  virtual void SendScript() = 0;

 protected:
  ~ReplyUser() = default;
};

class ReplyInterpreter {
 public:
  /// `windows` and `pages` must outlive the interpreter.
  ReplyInterpreter(ReplyUser& user, LinkWindows& windows, config::ConfigPages& pages);

  /// Picks the reply state from word 0 and runs that state's handler on the
  /// same line.
  void ComPort_Encode_Parsing(const LineWords& words);

  Reply State() const { return state_; }
  /// The next lines are read as the reply `r`.
  void Expect(Reply r) { state_ = r; }
  /// A save begins: its markers count from none, once its "write-system"
  /// echo has come (lines before it are the rest of an earlier reply).
  void StartSave();
  bool SaveEchoPending() const { return saveEchoPending_; }
  /// A new read-out: the grid's rows and peers count from the start, and the
  /// next address line of each kind goes to its primary field.
  void StartVoipReadOut();
  /// Connect: the save markers and the VoIP counters from the start.
  void ResetForConnect();

  /// The serial probe's answer: cleared before the probe, set when a line
  /// beginning with "get-wan" has been interpreted.
  bool ProbeAnswered() const { return probeAnswered_; }
  void ClearProbe() { probeAnswered_ = false; }

  /// What the reply's lines have counted so far, as the link record shows.
  struct Counts {
    int32_t StartTagCount = 0;
    int32_t EndTagCount = 0;
    int32_t VoicePortRow = 0;
    int32_t PotsPeerCount = 0;
    int32_t PatternCount = 0;
    bool GatekeeperSeen = false;
    bool SipServerSeen = false;
    bool CallAgentSeen = false;
    bool PstnAllUp = false;
  };
  const Counts& Counted() const { return counts_; }
  /// The counts to start from, for a link started in a given state.
  Counts& CountsToStartFrom() { return counts_; }

  /// 0 when `text` begins with `name`, -1 otherwise; traces the comparison.
  int IndexOfStr(std::string_view text, std::string_view name);
  /// The part of `text` before the first `delimiter` (all of it when none).
  static std::string NumberToken(std::string_view text, char delimiter);
  /// `text` with every blank removed.
  static std::string Trim_Blank(std::string_view text);

 private:
  /// The query series' step at the end of the reply read in `state` (the
  /// login's acceptance for the login state): the next query, or the end of
  /// the read-out after the DNS reply; false for a state with no step.
  bool SendNextQuery(Reply state);
  /// A VoIP reply begins: the grid, the peer counters and the address pairs
  /// from the start.
  void StartVoipReply();
  void LoginAnswer(const LineWords& w);
  void ModelCheck(const LineWords& w);
  void SaveHandshake(const LineWords& w);
  // The field mapping (reply_mapping.cpp).
  void MapWan(const LineWords& w);
  void MapLan(const LineWords& w);
  void MapDns(const LineWords& w);
  void MapAutoUpgrade(const LineWords& w);
  void MapService(const LineWords& w);
  void MapServicePort(const LineWords& w);
  void MapVersion(const LineWords& w);
  void MapVoip(const LineWords& w);
  void MapPstn(const LineWords& w);
  /// The rows of `state` that take one word into a text field.
  void TakeWords(Reply state, const LineWords& w);

  ReplyUser& user_;
  LinkWindows& windows_;
  config::ConfigPages& pages_;
  Reply state_ = Reply::None;
  Counts counts_;
  std::string heldPattern_;
  bool probeAnswered_ = false;
  /// The running save has not yet seen the gateway echo "write-system".
  bool saveEchoPending_ = false;
};

/// The fields whose value the reply mapping reads back as one word: a blank
/// inside them would come back as the part before it.
std::vector<const platform::Control*> OneWordFields(const config::ConfigPages& pages);

}  // namespace devlink
