#pragma once
// Applies "language.cfg" to the windows: the captions of the main window, the
// connection dialog and the login dialog, and the fifteen message texts.
#include <string>
#include <string_view>

#include "lang/io_error.h"
#include "lang/language_file.h"
#include "lang/message_texts.h"
#include "platform/ui/toolkit.h"

namespace lang {

/// The language file's path in `directory`: the directory, "/", "language.cfg".
std::string LanguageFilePath(std::string_view directory);

/// Reads "language.cfg" in `directory`, first writing the default file when
/// none exists there, and assigns every setting with a known key to its
/// targets, line by line in file order (a repeated key: the last one wins).
/// Target controls are looked up by name in their window; a name the window
/// does not have is passed over.
/// Captions of keys the file lacks keep their texts; so do message texts.
/// A failure to create, write, open or read the file stops the conversion
/// where it is and throws `InOutError`; what was assigned before stays.
void Language_Convert(platform::Form& main, platform::Form& connection, platform::Form& login,
                      MessageTexts& messages, const std::string& directory);
/// The same in the process's current working directory.
void Language_Convert(platform::Form& main, platform::Form& connection, platform::Form& login,
                      MessageTexts& messages);

/// A scanner that assigns each setting with a known key to its targets as
/// soon as its line ends; the conversion feeds it the file.
SettingScanner ConversionScanner(platform::Form& main, platform::Form& connection, platform::Form& login,
                                 MessageTexts& messages);

/// The process's current working directory; `InOutError` when it cannot be told.
std::string CurrentDirectory();

}  // namespace lang
