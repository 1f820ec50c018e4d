#pragma once
// Texts are byte strings inside the program; the view decodes them for
// display: UTF-8 when the bytes are valid UTF-8, otherwise the Korean code
// page CP949 (the gateway's and the trace's native text).
#include <QString>
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

}  // namespace platform::qt
