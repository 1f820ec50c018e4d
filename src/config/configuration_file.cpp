#include "config/configuration_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "config/config_pages.h"
#include "config/script_writer.h"
#include "lang/fixed_texts.h"

namespace config {

namespace {

void HeaderLine(std::string& out, std::string_view name, const std::string& value) {
  if (!value.empty()) out.append(name).append(value).append("\n");
}

FileError SystemError(std::string_view what) { return {std::string(what) + ": " + std::strerror(errno)}; }

}  // namespace

std::string ConfigurationFileText(const FileHeader& header, const std::vector<std::string>& script) {
  std::string out(lang::fixed::kFileTitle);
  out += "\n";
  HeaderLine(out, lang::fixed::kModelLine, header.model);
  HeaderLine(out, lang::fixed::kVersionLine, header.version);
  HeaderLine(out, lang::fixed::kWrittenLine, header.written);
  HeaderLine(out, lang::fixed::kToolLine, header.tool);
  for (const std::string& line : script) out.append(line).append("\n");
  return out;
}

FileHeader HeaderOf(const ConfigPages& pages, std::string written, std::string tool) {
  return {pages.L_model.Caption(), pages.L_version.Caption(), std::move(written), std::move(tool)};
}

std::string WrittenTime(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  char text[64];
  return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local));
}

std::string ExportText(const ConfigPages& pages, std::string written, std::string tool) {
  return ConfigurationFileText(HeaderOf(pages, std::move(written), std::move(tool)),
                               ConfigurationScript(pages));
}

std::string RefusalText(const Refusal& r, const lang::MessageTexts& messages) {
  namespace texts = lang::fixed;
  using Reason = Refusal::Reason;
  std::string reason;
  switch (r.reason) {
    case Reason::TooLarge: return std::string(texts::kTooLarge) + std::string(texts::kNothingImported);
    case Reason::NoScript: return std::string(texts::kNoScript) + std::string(texts::kNothingImported);
    case Reason::EndsEarly: return std::string(texts::kEndsEarly) + std::string(texts::kNothingImported);
    case Reason::NulByte: reason = texts::kNulByte; break;
    case Reason::UnknownLine: reason = texts::kUnknownLine; break;
    case Reason::MisplacedLine: reason = texts::kMisplacedLine; break;
    case Reason::Misfit:
      reason = std::string(texts::kMisfitValue) + (r.caption.empty() ? "" : " \"" + r.caption + "\"") + ".";
      break;
    case Reason::SaveCheck: {
      const lang::Msg m = r.problem == SaveProblem::Pppoe      ? lang::Msg::SetupPppoe
                          : r.problem == SaveProblem::StaticIp ? lang::Msg::SetupStaticIp
                                                               : lang::Msg::SetupVoip;
      reason = std::string(texts::kSaveRefuses) + messages[m] + ".";
      break;
    }
  }
  // Lines may be long: a warning shows their beginning.
  constexpr size_t kShown = 80;
  const std::string text = r.text.size() > kShown ? r.text.substr(0, kShown) + "..." : r.text;
  return std::string(texts::kLineOfFile) + std::to_string(r.line) + " \"" + text + "\" " + reason +
         std::string(texts::kNothingImported);
}

std::variant<ImportedFile, Refusal> ReadConfigurationFile(std::string_view bytes,
                                                          const ConfigPages& current) {
  using Reason = Refusal::Reason;
  if (bytes.size() > kMaxFileBytes) return Refusal::OfFile(Reason::TooLarge);
  ImportedFile file;
  std::vector<ScriptLine> script;
  bool header = true;
  int number = 0;
  for (size_t start = 0; start < bytes.size();) {
    const size_t lf = std::min(bytes.find('\n', start), bytes.size());
    std::string_view line = bytes.substr(start, lf - start);
    start = lf + 1;
    ++number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (const size_t nul = line.find('\0'); nul != line.npos)
      return Refusal::OfLine(Reason::NulByte, {number, std::string(line.substr(0, nul))});
    // No script line holds a CR: this one would end early at the gateway.
    if (line.find('\r') != line.npos)
      return Refusal::OfLine(Reason::UnknownLine, {number, std::string(line)});
    if (header && line.starts_with('!')) {
      if (line.starts_with(lang::fixed::kModelLine)) file.model = line.substr(lang::fixed::kModelLine.size());
      continue;
    }
    header = false;
    script.push_back({number, std::string(line)});
  }
  auto read = ReadScript(script, current);
  if (Refusal* r = std::get_if<Refusal>(&read)) return std::move(*r);
  file.fields = std::move(std::get<std::unique_ptr<DetachedPages>>(read));
  return file;
}

std::variant<std::string, FileError> LoadFile(const std::string& path) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (ec) return FileError{path + ": " + ec.message()};
  // A pipe or a device would block the window or never end.
  if (!std::filesystem::is_regular_file(status))
    return FileError{path + ": " + std::string(lang::fixed::kNotAFile)};
  std::ifstream in(path, std::ios::binary);
  if (!in) return SystemError(path);
  std::string bytes(kMaxFileBytes + 1, '\0');
  in.read(bytes.data(), std::streamsize(bytes.size()));
  if (in.bad()) return SystemError(path);
  bytes.resize(size_t(in.gcount()));
  return bytes;
}

std::variant<ImportedFile, ImportFailure> ImportFile(const std::string& path, const ConfigPages& current,
                                                     const lang::MessageTexts& messages) {
  auto loaded = LoadFile(path);
  if (const auto* failed = std::get_if<FileError>(&loaded))
    return ImportFailure{std::string(lang::fixed::kCannotRead) + failed->reason, true};
  auto read = ReadConfigurationFile(std::get<std::string>(loaded), current);
  if (const auto* refused = std::get_if<Refusal>(&read))
    return ImportFailure{RefusalText(*refused, messages)};
  return std::move(std::get<ImportedFile>(read));
}

std::optional<FileError> SaveFile(const std::string& path, std::string_view text) {
  const std::string part = path + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    if (!out) return SystemError(part);
    out.write(text.data(), std::streamsize(text.size()));
    out.flush();
    if (!out) {
      const FileError e = SystemError(part);
      std::remove(part.c_str());
      return e;
    }
  }
  if (std::rename(part.c_str(), path.c_str()) != 0) {
    const FileError e = SystemError(path);
    std::remove(part.c_str());
    return e;
  }
  return std::nullopt;
}

}  // namespace config
