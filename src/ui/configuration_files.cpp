// The configuration as a file: Export writes the script Save would send,
// under a header naming where it came from; Import fills the pages from
// such a file, whole or not at all; the read-out that the review before
// Save compares with.
#include <cctype>
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

/// The name Export proposes: the model and the date, with nothing in it a
/// file name could take for a folder or an option.
std::string ProposedName(const std::string& model, const std::string& date) {
  std::string name = model.empty() ? std::string(texts::kUnknownModelName) : model;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.') c = '_';
  if (name.front() == '.' || name.front() == '-') name.insert(0, "_");
  return name + "_" + date + std::string(texts::kFileExtension);
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
  const std::string written = config::WrittenTime(clock());
  const auto path = platform::ChooseFile({platform::FileMode::Save, std::string(texts::kExportTitle),
                                          ProposedName(pages.L_model.Caption(), written.substr(0, 10)),
                                          std::string(texts::kFileFilter)});
  if (!path) return;
  if (const auto failed = config::SaveFile(*path, config::ExportText(pages, written, kVersion)))
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
  auto read = config::ImportFile(*path, pages, messages);
  if (const auto* failed = std::get_if<config::ImportFailure>(&read)) {
    platform::ShowMessageBox(failed->text, failed->unreadable ? "Error" : "Warning",
                             failed->unreadable ? Icon::Error : Icon::Warning);
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
