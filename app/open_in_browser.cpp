#include "app/open_in_browser.h"

#include <QProcess>
#include <QString>

#include "text/encoding.h"

namespace gedan {

void OpenInBrowser(TextView url) {
  // Started detached: the opener outlives us if need be and leaves no child to reap.
  QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(AnsiToUtf8(url))});
}

}  // namespace gedan
