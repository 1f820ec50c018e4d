#pragma once
// The desktop program's windows: the forms of the start-up rendered by
// the Qt view, with the pictures read from the assets folder.
#include <memory>
#include <string>

#include "platform/qt/view.h"
#include "ui/program.h"

namespace desktop {

/// Where the pictures are: $MORVEL_ASSETS_DIR when set; the install's
/// share/morvel_config beside bin/ when the program runs installed;
/// otherwise the source tree's assets/ (a run from the build tree).
std::string FindAssetsDir();

/// Decodes the pictures into the main window's images. A picture that is
/// missing or corrupt leaves its image empty and writes a line to stderr.
void LoadPictures(ui::TF_morvel_config_main& main, const std::string& assetsDir);

/// Renders the program's windows (hidden until their forms show) and
/// loads the pictures. Destroy it before the program.
class ProgramView {
 public:
  ProgramView(ui::Program& program, const std::string& assetsDir);
  ~ProgramView();

  platform::qt::FormView& Main() { return *main_; }
  platform::qt::FormView& Connection() { return *connection_; }
  platform::qt::FormView& Debug() { return *debug_; }
  platform::qt::FormView& Login() { return *login_; }
  platform::qt::FormView& Review() { return *review_; }

 private:
  std::unique_ptr<platform::qt::FormView> main_, connection_, debug_, login_, review_;
};

}  // namespace desktop
