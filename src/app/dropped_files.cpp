#include "app/dropped_files.h"

#include <QMimeData>
#include <QUrl>

#include "http/encodings.h"

namespace varnola {

bool CarriesOnlyLocalFiles(const QMimeData& data) {
  if (!data.hasUrls()) return false;
  const QList<QUrl> urls = data.urls();
  if (urls.isEmpty()) return false;
  for (const QUrl& url : urls) {
    if (!url.isLocalFile() || url.toLocalFile().isEmpty()) return false;
  }
  return true;
}

std::optional<std::string> DroppedFilesText(const QMimeData& data) {
  if (!CarriesOnlyLocalFiles(data)) return std::nullopt;
  const QList<QUrl> urls = data.urls();
  if (urls.size() == 1) return Utf8ToLocal(urls.front().toLocalFile().toStdString());
  std::string text;
  for (const QUrl& url : urls) {
    text += Utf8ToLocal(url.toLocalFile().toStdString());
    text += "\r\n";
  }
  return text;
}

}  // namespace varnola
