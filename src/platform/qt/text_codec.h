#pragma once
// Texts are byte strings inside the program; the view decodes them for
// display: UTF-8 when the bytes are valid UTF-8, otherwise the Korean code
// page CP949 (the gateway's and the trace's native text).
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace platform::qt {

/// True when `bytes` is well-formed UTF-8 (no overlongs, no surrogates,
/// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

/// The text to show for `bytes`. Undecodable CP949 bytes show as U+FFFD.
QString Decode(std::string_view bytes);

/// The bytes the program keeps for a text the user typed: UTF-8, which
/// Decode turns back into the same text (plain ASCII stays byte for byte).
std::string Encode(const QString& text);

/// `text` without its control characters (C0 such as CR, LF, NUL and ESC,
/// DEL, C1): what a single-line field takes from the user, pasted text
/// included, so no edit can put a line break into a line sent to the gateway.
QString WithoutControls(const QString& text);

/// The bytes for `text`, entered into a field that held `previous`: encoded
/// the way Decode read `previous` (UTF-8, or CP949 when `previous` is not
/// UTF-8), so every character the user did not touch keeps its bytes.
/// Nothing when that encoding cannot hold `text` exactly: a character
/// outside CP949, the U+FFFD of a byte that could not be decoded, or bytes
/// that Decode would show as another text.
std::optional<std::string> EncodeLike(const QString& text, std::string_view previous);

}  // namespace platform::qt
