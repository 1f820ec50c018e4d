#pragma once
// The receive path: bytes become words and lines (parse mode) or whole lines
// for the status memo (status mode), in the word table the debug window shows.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace devlink {

/// Slots of the word table; words beyond the last slot of a line are dropped.
inline constexpr int kTokenSlots = 2048;
/// A word being received is cut at this length, so a peer that never sends a
/// delimiter cannot grow memory without bound.
inline constexpr size_t kMaxWordBytes = 64 * 1024;

/// The words of one line as the reply interpreter reads them: a copy of the
/// first slots of `Tokens`, as many as any reply row looks at (word 5 is the
/// highest). Slots the line did not fill hold what an earlier line left there.
inline constexpr int kLineWords = 6;
using LineWords = std::array<std::string, kLineWords>;

/// What the line reader hands on.
class LineUser {
 public:
  /// A parse-mode line has ended, beginning with "%": the gateway's error
  /// line, as text. WordsLine follows for the same line.
  virtual void ErrorLine(const std::string& text) = 0;
  /// A parse-mode line has ended: its words.
  virtual void WordsLine(const LineWords& words) = 0;
  /// A status-mode line has ended (not the "-- more --" prompt).
  virtual void StatusLine(std::string line) = 0;

 protected:
  ~LineUser() = default;
};

/// Splits received bytes into words and lines. The user's handlers may open
/// message boxes, which run nested receives on the same table: nothing here
/// holds a reference into the table across a call of the user, and the user
/// reads its own copy of the line.
class LineReader {
 public:
  explicit LineReader(LineUser& user) : user_(user) {}

  void Receive(std::string_view bytes);

  /// Status mode: whole lines for the status memo; otherwise words.
  bool StatusMode() const { return statusMode_; }
  void SetStatusMode(bool on) { statusMode_ = on; }

  /// A command goes out: its reply's first line starts at slot 0, and slots
  /// 0 to 1023 are emptied; the second half is left as it is.
  void StartCommand();

  const std::vector<std::string>& Tokens() const { return tokens_; }
  int32_t TokenIndex() const { return tokenIndex_; }
  const std::string& RxLine() const { return rxLine_; }
  /// The next word goes to `slot` (any value: one outside the table drops
  /// words), for a link started in a given state.
  void StartAt(int32_t slot) { tokenIndex_ = slot; }
  /// Puts `word` in `slot`, for a link started in a given state.
  void SetWord(int slot, std::string word);

 private:
  void ReceiveParsed(std::string_view bytes);
  void ReceiveStatus(std::string_view bytes);
  /// The words of the line just ended, up to `lastSlot`, one blank apart.
  std::string LineText(int lastSlot) const;
  void AppendToWord(std::string_view run);

  LineUser& user_;
  std::vector<std::string> tokens_ = std::vector<std::string>(kTokenSlots);
  int32_t tokenIndex_ = 0;
  std::string rxLine_;
  bool statusMode_ = false;
  /// The last status byte was a CR: an LF right after it ends no line.
  bool statusAfterCr_ = false;
  /// One past the highest slot of the table's first half that has been
  /// filled since StartCommand last emptied that half: the slots from here
  /// to the half's end are empty already, so emptying skips them (a line
  /// rarely has more than a few words; a send empties 1024 slots).
  int tokensFilled_ = 0;
};

}  // namespace devlink
