// The configuration as a file: Export writes the script Save would send,
// under a header naming where it came from; Import fills the pages from
// such a file, whole or not at all; the read-out that the review before
// Save compares with.
#include <cctype>
#include <ctime>
#include <string>
#include <variant>

#include "config/configuration_file.h"
#include "config/script_table.h"
#include "config/script_writer.h"
#include "devlink/device_link.h"
#include "lang/fixed_texts.h"
#include "ui/main_window.h"

namespace ui {

namespace texts = lang::fixed;
using platform::Buttons;
using platform::Icon;

namespace {

/// The local time now, as `format` (strftime) writes it.
std::string Now(const char* format) {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  char text[64];
  return std::string(text, std::strftime(text, sizeof text, format, &local));
}

/// The name Export proposes: the model and the date, with nothing in it a
/// file name could take for a folder or an option.
std::string ProposedName(const std::string& model, const std::string& date) {
  std::string name = model.empty() ? std::string(texts::kUnknownModelName) : model;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.') c = '_';
  if (name.front() == '.' || name.front() == '-') name.insert(0, "_");
  return name + "_" + date + std::string(texts::kFileExtension);
}

/// Why an import was refused, naming the line to blame.
std::string RefusalText(const config::Refusal& r, const lang::MessageTexts& messages) {
  using Reason = config::Refusal::Reason;
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
      const lang::Msg m = r.problem == config::SaveProblem::Pppoe      ? lang::Msg::SetupPppoe
                          : r.problem == config::SaveProblem::StaticIp ? lang::Msg::SetupStaticIp
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

}  // namespace

void TF_morvel_config_main::KeepReadOut() {
  readOut_ = std::make_unique<config::DetachedPages>();
  config::CopyScriptFields(pages, readOut_->pages);
  ApplySaveLook();
}

void TF_morvel_config_main::ApplySaveLook() { BB_Save.SetEnabled(saveAllowed_ && readOut_); }

void TF_morvel_config_main::ApplyFileLook() {
  const bool pagesShown = !P_main.Visible();
  BB_Export.SetEnabled(pagesShown);
  BB_Import.SetEnabled(pagesShown || (BB_Connect.Visible() && BB_Connect.Enabled()));
}

void TF_morvel_config_main::BB_ExportClick() {
  if (!CheckBeforeWriting()) return;
  const std::vector<std::string> lines = config::ConfigurationScript(pages);
  const std::string& model = pages.L_model.Caption();
  const auto path =
      platform::ChooseFile({platform::FileMode::Save, std::string(texts::kExportTitle),
                            ProposedName(model, Now("%Y-%m-%d")), std::string(texts::kFileFilter)});
  if (!path) return;
  const config::FileHeader header{model, pages.L_version.Caption(), Now("%Y-%m-%d %H:%M:%S"), kVersion};
  if (const auto failed = config::SaveFile(*path, config::ConfigurationFileText(header, lines)))
    platform::ShowMessageBox(std::string(texts::kCannotWrite) + failed->reason, "Error", Icon::Error);
}

void TF_morvel_config_main::BB_ImportClick() {
  // A save waiting its turn has its lines already, but the pages would no
  // longer show them.
  if (link_->Asked(devlink::Conversation::ReadOut) || link_->Asked(devlink::Conversation::Save)) {
    platform::ShowMessageBox(std::string(texts::kBusy), "Warning", Icon::Warning);
    return;
  }
  const auto path = platform::ChooseFile(
      {platform::FileMode::Open, std::string(texts::kImportTitle), {}, std::string(texts::kFileFilter)});
  if (!path) return;
  auto loaded = config::LoadFile(*path);
  if (const auto* failed = std::get_if<config::FileError>(&loaded)) {
    platform::ShowMessageBox(std::string(texts::kCannotRead) + failed->reason, "Error", Icon::Error);
    return;
  }
  auto read = config::ReadConfigurationFile(std::get<std::string>(loaded), pages);
  if (const auto* refused = std::get_if<config::Refusal>(&read)) {
    platform::ShowMessageBox(RefusalText(*refused, messages), "Warning", Icon::Warning);
    return;
  }
  const config::ImportedFile& file = std::get<config::ImportedFile>(read);
  const std::string& gateway = pages.L_model.Caption();
  if (!file.model.empty() && !gateway.empty() && file.model != gateway &&
      platform::ShowMessageBox(std::string(texts::kOtherModelBefore) + file.model +
                                   std::string(texts::kOtherModelMiddle) + gateway +
                                   std::string(texts::kOtherModelAfter),
                               "Confirm", Icon::Question, Buttons::YesNo) != platform::Answer::Yes)
    return;
  config::CopyScriptFields(file.fields->pages, pages);
  P_main.Hide();  // at the desk, the pages show the file for editing
}

}  // namespace ui
