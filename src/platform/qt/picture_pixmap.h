#pragma once
// Toolkit pictures shown by Qt: an image's pixels, the window icon.
#include <QPixmap>

#include "platform/ui/widgets.h"

namespace platform::qt {

/// A pixmap of `picture`'s RGB pixels (copied: the pixmap does not refer to
/// the picture) with the picture's scale as its device pixel ratio, so it is
/// laid out at its design size; a null pixmap for an empty picture.
QPixmap PixmapOf(const Picture& picture);

}  // namespace platform::qt
