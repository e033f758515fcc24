#pragma once

#include <QColor>
#include <QImage>

#include "viewers/trigger/picture.h"

namespace trigger {

QColor qColour(uint32_t value);

// Paints a picture description into the hidden picture.
void paintPicture(QImage& image, const Picture& picture);

}  // namespace trigger
