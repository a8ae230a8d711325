#pragma once

// Internal text (GB18030) to and from QString, at the boundary between the core and Qt.

#include <QString>

#include "text/value.h"

namespace gedan {

QString ToQString(TextView text);
Text FromQString(const QString& text);

}  // namespace gedan
