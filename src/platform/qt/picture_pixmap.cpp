#include "platform/qt/picture_pixmap.h"

#include <QImage>

namespace platform::qt {

QPixmap PixmapOf(const Picture& picture) {
  if (picture.Empty()) return {};
  const QImage img(picture.rgb.data(), picture.width, picture.height, picture.width * 3,
                   QImage::Format_RGB888);
  return QPixmap::fromImage(img.copy());
}

}  // namespace platform::qt
