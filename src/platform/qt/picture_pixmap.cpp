#include "platform/qt/picture_pixmap.h"

#include <QImage>

namespace platform::qt {

QPixmap PixmapOf(const Picture& picture) {
  if (picture.Empty()) return {};
  const QImage img(picture.rgb.data(), picture.width, picture.height, picture.width * 3,
                   QImage::Format_RGB888);
  QPixmap pixmap = QPixmap::fromImage(img.copy());
  pixmap.setDevicePixelRatio(picture.scale);
  return pixmap;
}

}  // namespace platform::qt
