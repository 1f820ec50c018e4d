#include "program_view.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/qt/jpeg_picture.h"
#include "platform/qt/picture_pixmap.h"

namespace desktop {

std::string FindAssetsDir() {
  if (const char* env = std::getenv("MORVEL_ASSETS_DIR"); env && *env) return env;
  const QString installed = QDir(QCoreApplication::applicationDirPath())
                                .absoluteFilePath(QStringLiteral(MORVEL_ASSETS_FROM_WINDOW));
  if (QFileInfo::exists(installed + QStringLiteral("/banner_setup@2x.jpg")))
    return QDir::cleanPath(installed).toStdString();
  return MORVEL_SOURCE_ASSETS;
}

namespace {

/// A picture named "name@2x.jpg" is drawn at twice its design size.
platform::Picture Load(const std::string& dir, std::string_view file) {
  platform::qt::JpegResult r = platform::qt::LoadJpeg(dir + "/" + std::string(file));
  if (!r.Ok()) std::fprintf(stderr, "picture not shown: %s\n", r.error.c_str());
  if (file.find("@2x.") != std::string_view::npos) r.picture.scale = 2;
  return std::move(r.picture);
}

}  // namespace

void LoadPictures(ui::TF_morvel_config_main& main, const std::string& dir) {
  struct Slot {
    const char* control;
    const char* file;
  };
  static constexpr Slot kSlots[] = {
      {"IMG_Morvel_Setup", "banner_setup@2x.jpg"}, {"IMG_DIAL_UP", "banner_dialup@2x.jpg"},
      {"IMG_Product", "banner_product@2x.jpg"},    {"Image2", "splash@2x.jpg"},
      {"IMG_Logo", "about_logo@2x.jpg"},
  };
  for (const Slot& s : kSlots)
    if (auto* image = dynamic_cast<platform::Image*>(main.Find(s.control)))
      image->SetPicture(Load(dir, s.file));

  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    const platform::Picture icon = Load(dir, "app_icon@2x.jpg");
    if (!icon.Empty()) app->setWindowIcon(QIcon(platform::qt::PixmapOf(icon)));
  }
}

ProgramView::ProgramView(ui::Program& program, const std::string& assetsDir) {
  LoadPictures(program.Main(), assetsDir);
  main_ = std::make_unique<platform::qt::FormView>(program.Main());
  connection_ = std::make_unique<platform::qt::FormView>(program.Connection());
  debug_ = std::make_unique<platform::qt::FormView>(program.Debug());
  login_ = std::make_unique<platform::qt::FormView>(program.Login());
  review_ = std::make_unique<platform::qt::FormView>(program.Review());
  // The three protocol groups lie at one place and all show until the
  // protocol rule first runs: the gatekeeper group is the one on top.
  if (QWidget* gatekeeper = main_->WidgetNamed("GB_Gatekeeper")) gatekeeper->raise();
}

ProgramView::~ProgramView() = default;

}  // namespace desktop
