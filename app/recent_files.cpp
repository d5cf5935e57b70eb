#include "app/recent_files.h"

#include <QSettings>
#include <QStringList>
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
  for (const QString& name : settings.value(QLatin1String(kRecentFilesKey)).toStringList()) {
    if (name.isEmpty() || list.size() == kRecentFileCount) continue;
    list.push_back(name.toStdString());
  }
  return list;
}

void StoreRecentFiles(QSettings& settings, const std::vector<std::string>& list) {
  QStringList names;
  for (const std::string& name : list) names << QString::fromStdString(name);
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

}  // namespace tz
