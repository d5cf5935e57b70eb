// The recent inputs of the File menu: the last kRecentFileCount files whose
// runs reached their end, newest first, kept in the program's settings; and
// which files the window takes when one is dropped on it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "processing/codes.h"

class QSettings;
class QUrl;

namespace tz {

constexpr size_t kRecentFileCount = 8;

// The list with path in front: an earlier entry of the same name moves up,
// the oldest beyond the limit go.
std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& path,
                                        size_t limit = kRecentFileCount);

// The list kept in settings (at most kRecentFileCount names, empty ones
// dropped), and storing one. A name is kept as the bytes the system knows it
// by: text when it is UTF-8, raw bytes when it is not, so that a recording
// whose name is in another encoding still opens from the list.
std::vector<std::string> LoadRecentFiles(QSettings& settings);
void StoreRecentFiles(QSettings& settings, const std::vector<std::string>& list);

// The kind of a file the window opens when it is dropped: a VBT, TDM or FDM
// file by its extension, in either case; nothing for any other name.
std::optional<InputKind> DroppedFileKind(const std::string& path);

// The name of a dropped local file as the system knows it: the URL's bytes,
// not its text, which cannot hold a name that is not UTF-8.
std::string LocalFileBytes(const QUrl& url);

}  // namespace tz
