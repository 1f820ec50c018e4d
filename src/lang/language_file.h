#pragma once
// The language file "language.cfg": a plain byte file of "key = value" lines.
//
// Reading rules: LF ends a line; every CR is dropped (the one before LF and a
// stray one alike); the byte 0x1A ends the file; the last line needs no line
// end; lines may be of any length. A line is a setting when a "=" stands
// anywhere but in its last position: the first such "=" separates the key from
// the value, and both are trimmed of bytes 0x00 to 0x20. Anything else
// (section titles, empty lines, unknown keys) changes nothing. Bytes are taken
// as they are, without character-set conversion.
#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace lang {

/// The 1-based position just after the first "=" among the line's positions
/// 1 to length-1 (the last character is never examined), that is, where the
/// value begins; 0 when there is none, also for lines of length 0 or 1.
int get_Configuration_Equals(std::string_view line);

/// True for the bytes that trimming removes: 0x00 to 0x20.
constexpr bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 0x20; }
/// `text` without leading and trailing bytes 0x00 to 0x20.
std::string_view TrimControls(std::string_view text);

/// The default file's lines, written each followed by CR LF when the file is
/// missing. The values are the English texts of the tool.
extern const std::array<std::string_view, 102> kDefaultLanguageLines;

/// Splits the bytes of a language file into settings, as they arrive, without
/// holding more than the line being read. Only lines whose key `isKey` accepts
/// are kept whole; a candidate key that grows past `maxKeyLength` cannot be
/// accepted and its line is passed over unstored, so a huge or binary file
/// costs no memory beyond the values of accepted keys.
class SettingScanner {
 public:
  using KeyFilter = std::function<bool(std::string_view key)>;
  using SettingSink = std::function<void(std::string_view key, std::string value)>;

  SettingScanner(KeyFilter isKey, size_t maxKeyLength, SettingSink onSetting);

  /// Takes the next bytes of the file; settings are handed to the sink as
  /// their lines end. False once the end mark 0x1A has been read: what
  /// follows it is not part of the file and is ignored.
  bool Feed(std::string_view bytes);
  /// The end of the file: the last line, if it had no line end, is handled.
  void Finish();

 private:
  enum class Phase { KeyLead, Key, Value, Skip, Done };
  void EndLine();
  void KeyByte(char c);
  void ValueByte(char c);

  KeyFilter isKey_;
  size_t maxKeyLength_;
  SettingSink onSetting_;

  Phase phase_ = Phase::KeyLead;
  std::string key_;          // the key so far, without its leading and trailing trimmed bytes
  std::string keyGap_;       // trimmed bytes after the key so far; inner ones if more key follows
  bool keyGapLong_ = false;  // the gap alone no longer fits into a key
  std::string value_;        // the value so far, without its leading trimmed bytes
  bool valueSeen_ = false;   // some byte followed the "=": it was not the line's last
};

/// True when something exists at `path` (a directory counts); false when
/// nothing does. Other failures to look throw `InOutError`.
bool LanguageFileExists(const std::string& path);

/// Creates the file at `path` (never over an existing one) and writes the
/// default lines, each followed by CR LF. On failure the partly written file
/// is removed, so that the next start writes it again, and `InOutError` is
/// thrown.
void WriteDefaultLanguageFile(const std::string& path);

/// Reads the file at `path` in blocks into `scanner`, up to the end or the
/// end mark. Only a regular file (or a link to one) is read: it is opened
/// without blocking and anything else throws `InOutError` before a byte is
/// read. Failures to open or read throw `InOutError`; settings handled
/// before the failure stay handled.
void ReadLanguageFile(const std::string& path, SettingScanner& scanner);
/// The same from an open descriptor, which stays open; `path` names it in errors.
void ReadLanguageFrom(int fd, const std::string& path, SettingScanner& scanner);

}  // namespace lang
