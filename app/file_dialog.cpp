#include "app/file_dialog.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <filesystem>

#include "processing/codes.h"

namespace tz {

const FileDialogSetup kOpenVbtDialog{FileDialogKind::Open, "VBT Files", "VBT", "Open VBT file"};
const FileDialogSetup kOpenTdmDialog{FileDialogKind::Open, "TDM Files", "TDM", "Open TDM file"};
const FileDialogSetup kOpenFdmDialog{FileDialogKind::Open, "FDM Files", "FDM", "Open FDM file"};
const FileDialogSetup kCreateTdmDialog{FileDialogKind::Save, "TDM Files", "TDM", "Create TDM file"};
const FileDialogSetup kCreateFdmDialog{FileDialogKind::Save, "FDM Files", "FDM", "Create FDM file"};
const FileDialogSetup kSaveTdmDialog{FileDialogKind::Save, "TDM Files", "TDM", "Save TDM file"};
const FileDialogSetup kSaveFdmDialog{FileDialogKind::Save, "FDM Files", "FDM", "Save FDM file"};

namespace {

QStringList Extensions(const FileDialogSetup& setup) {
  return QString::fromLatin1(setup.extension).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

}  // namespace

QString FilterText(const FileDialogSetup& setup) {
  QStringList patterns;
  for (const QString& ext : Extensions(setup))
    patterns << QStringLiteral("*.") + ext.toUpper() << QStringLiteral("*.") + ext.toLower();
  return QStringLiteral("%1 (%2)").arg(QString::fromLatin1(setup.description),
                                       patterns.join(QLatin1Char(' ')));
}

std::string DialogStartName(const FileDialogSetup& setup, const std::string& current) {
  if (setup.kind == FileDialogKind::Save || current.empty()) return current;
  const QString ext = QString::fromLatin1(setup.extension);
  const size_t dot = ExtensionDot(current);
  if (dot != std::string::npos) {
    const QString own = QString::fromLocal8Bit(current.substr(dot + 1));
    if (own == ext.toUpper() || own == ext.toLower()) return current;
  }
  const size_t slash = current.rfind('/');
  return slash == std::string::npos ? std::string() : current.substr(0, slash + 1);
}

std::optional<std::string> ShowFileDialog(QWidget* owner, const FileDialogSetup& setup,
                                          const std::string& current) {
  QFileDialog dialog(owner, QString::fromLatin1(setup.title));
  dialog.setNameFilter(FilterText(setup));
  dialog.setDefaultSuffix(Extensions(setup).value(0));
  if (setup.kind == FileDialogKind::Open) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);  // asks before overwriting
  }
  const std::string start = DialogStartName(setup, current);
  if (!start.empty()) {
    const QFileInfo previous(QFile::decodeName(start.c_str()));
    dialog.setDirectory(previous.absolutePath());
    if (!previous.fileName().isEmpty()) dialog.selectFile(previous.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

std::string FileNamePart(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

}  // namespace tz
