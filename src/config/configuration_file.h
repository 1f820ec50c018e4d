#pragma once
// The configuration as a file: the script Save would send, one line each,
// headed by "!" comment lines that say what it is and where it came from.
// Import reads such a file whole or not at all.
#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "config/script_reader.h"
#include "lang/message_texts.h"

namespace config {

/// Where a file's configuration came from; empty values are left out.
struct FileHeader {
  std::string model;    ///< the gateway's model, as its About page shows it
  std::string version;  ///< its software version
  std::string written;  ///< the date and time of the export
  std::string tool;     ///< this tool's version
};

/// The header of a file written from `pages`: their model and software
/// version, `written` (WrittenTime) and `tool`.
FileHeader HeaderOf(const ConfigPages& pages, std::string written, std::string tool);
/// `t` in local time as the header's date line writes it ("2024-05-01 14:03:59").
std::string WrittenTime(std::time_t t);
/// What Export writes of `pages`: the header and the script Save would send.
/// The window's Export and the command line's read write these same bytes.
std::string ExportText(const ConfigPages& pages, std::string written, std::string tool);

/// A file no larger than this can hold a configuration (1 MB).
inline constexpr size_t kMaxFileBytes = 1024 * 1024;

/// The file's text: the header's lines, then `script` (Save's lines, without
/// the link's closing marker), each ended by LF.
std::string ConfigurationFileText(const FileHeader& header, const std::vector<std::string>& script);

/// A file's configuration, read and checked, not yet on the pages.
struct ImportedFile {
  std::string model;  ///< from the header; empty when it names none
  std::unique_ptr<DetachedPages> fields;
};

/// Reads a file's bytes: lines end with LF or CR LF; the "!" lines before the
/// first other line are the header; the rest must be a script the reader
/// takes whole (script_reader.h). Refuses a file over kMaxFileBytes and a
/// line with a NUL or a lone CR.
std::variant<ImportedFile, Refusal> ReadConfigurationFile(std::string_view bytes, const ConfigPages& current);

/// Why a file was refused, for the user: the line to blame and the reason,
/// ending with kNothingImported. `messages` gives the texts of Save's checks.
std::string RefusalText(const Refusal& refusal, const lang::MessageTexts& messages);

/// Why a file could not be read or written, as the system tells it.
struct FileError {
  std::string reason;
};

/// The bytes of the regular file at `path`, at most kMaxFileBytes + 1 of
/// them, so a larger file is refused without being read whole.
std::variant<std::string, FileError> LoadFile(const std::string& path);
/// Why Import took nothing from a file: the text to show, and whether the
/// file could not even be read (an error, where a refusal is a warning).
struct ImportFailure {
  std::string text;
  bool unreadable = false;
};

/// Import as both faces run it: the file at `path` loaded (LoadFile) and
/// read against `current` (ReadConfigurationFile); what stops it comes back
/// as the text to show. Another model's file is the caller's question.
std::variant<ImportedFile, ImportFailure> ImportFile(const std::string& path, const ConfigPages& current,
                                                     const lang::MessageTexts& messages);

/// Writes `text` to `path` through a file beside it that takes its place
/// only once complete, so a failed export leaves an earlier file whole.
std::optional<FileError> SaveFile(const std::string& path, std::string_view text);

}  // namespace config
