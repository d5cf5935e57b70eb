#include "app/recent_files.h"

#include <QSettings>
#include <QUrl>
#include <QVariantList>
#include <algorithm>
#include <cctype>

namespace tz {

namespace {
// The settings key of the list.
constexpr char kRecentFilesKey[] = "recentFiles";
}  // namespace

std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& path,
                                        size_t limit) {
  std::erase(list, path);
  list.insert(list.begin(), path);
  if (list.size() > limit) list.resize(limit);
  return list;
}

std::vector<std::string> LoadRecentFiles(QSettings& settings) {
  std::vector<std::string> list;
  for (const QVariant& entry : settings.value(QLatin1String(kRecentFilesKey)).toList()) {
    const std::string name = entry.typeId() == QMetaType::QByteArray
                                 ? entry.toByteArray().toStdString()
                                 : entry.toString().toStdString();
    if (name.empty() || list.size() == kRecentFileCount) continue;
    list.push_back(name);
  }
  return list;
}

void StoreRecentFiles(QSettings& settings, const std::vector<std::string>& list) {
  QVariantList names;
  for (const std::string& name : list) {
    const QString text = QString::fromStdString(name);
    if (text.toStdString() == name) names << text;
    else names << QByteArray::fromStdString(name);
  }
  settings.setValue(QLatin1String(kRecentFilesKey), names);
  settings.sync();
}

std::optional<InputKind> DroppedFileKind(const std::string& path) {
  const size_t dot = ExtensionDot(path);
  if (dot == std::string::npos) return std::nullopt;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (ext == "VBT") return InputKind::Vbt;
  if (ext == "TDM") return InputKind::Tdm;
  if (ext == "FDM") return InputKind::Fdm;
  return std::nullopt;
}

std::string LocalFileBytes(const QUrl& url) {
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

}  // namespace tz
