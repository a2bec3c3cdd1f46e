#include "app/file_chooser.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>

#include "app/logging.h"
#include "book/cp936.h"
#include "core/book_opener.h"

namespace pagoro {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kBytesRole = Qt::UserRole;
constexpr int kFolderRole = Qt::UserRole + 1;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

QString Legible(const std::string& bytes) { return QString::fromStdString(FileNameAsUtf8(bytes)); }

// `path` without "." and ".." steps and doubled "/", byte for byte.
std::string Clean(const std::string& path) {
  return QDir::cleanPath(QString::fromLatin1(path)).toLatin1().toStdString();
}

}  // namespace

std::vector<FolderEntry> ReadFolder(const std::string& folder, bool all) {
  std::vector<FolderEntry> entries;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return entries;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::string path = folder;
    path += '/';
    path += name;
    const bool isFolder = IsFolder(path);
    const std::string ext = Lower(ExtensionOf(name));
    if (!isFolder && !all && ext != ".exe" && ext != ".swf") continue;
    entries.push_back({name, isFolder});
  }
  closedir(dir);
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
    if (a.folder != b.folder) return a.folder;
    return Lower(a.name) < Lower(b.name);
  });
  return entries;
}

FileChooser::FileChooser(QWidget* parent, const std::string& folder) : QDialog(parent) {
  setObjectName(QStringLiteral("FileChooser"));
  setWindowTitle(QCoreApplication::translate("FileChooser", "Open a magazine"));
  where_ = new QLabel(this);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("FileList"));
  name_ = new QLineEdit(this);
  name_->setObjectName(QStringLiteral("FileName"));
  name_->setPlaceholderText(QCoreApplication::translate("FileChooser", "File name, or a path"));
  all_ = new QCheckBox(QCoreApplication::translate("FileChooser", "Show all files"), this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(where_);
  layout->addWidget(list_, 1);
  layout->addWidget(name_);
  layout->addWidget(all_);
  layout->addWidget(buttons);

  connect(list_, &QListWidget::itemActivated, this, &FileChooser::Take);
  connect(list_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (item != nullptr && !item->data(kFolderRole).toBool()) name_->setText(item->text());
  });
  connect(name_, &QLineEdit::returnPressed, this, &FileChooser::TakeTyped);
  connect(buttons, &QDialogButtonBox::accepted, this, &FileChooser::TakeTyped);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(all_, &QCheckBox::toggled, this, [this] { Show(folder_); });

  resize(kWidth, kHeight);
  Show(IsFolder(folder) ? folder : QFile::encodeName(QDir::homePath()).toStdString());
  name_->setFocus();
}

std::string FileChooser::Choose(QWidget* parent, const std::string& folder) {
  FileChooser chooser(parent, folder);
  if (chooser.exec() != QDialog::Accepted) return {};
  return chooser.chosen();
}

void FileChooser::Show(const std::string& folder) {
  folder_ = Clean(folder);
  if (folder_.empty() || folder_.back() != '/') folder_ += '/';
  where_->setText(QCoreApplication::translate("FileChooser", "Look in: %1").arg(Legible(folder_)));
  list_->clear();
  const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
  const QIcon fileIcon = style()->standardIcon(QStyle::SP_FileIcon);
  if (folder_ != "/") {
    auto* up = new QListWidgetItem(folderIcon, QStringLiteral(".."), list_);
    up->setData(kBytesRole, QByteArray(".."));
    up->setData(kFolderRole, true);
  }
  for (const FolderEntry& e : ReadFolder(folder_, all_->isChecked())) {
    auto* item = new QListWidgetItem(e.folder ? folderIcon : fileIcon, Legible(e.name), list_);
    item->setData(kBytesRole, QByteArray::fromStdString(e.name));
    item->setData(kFolderRole, e.folder);
  }
  qCInfo(lcApp).noquote() << "chooser:" << Legible(folder_) << "|" << list_->count() << "entries";
}

void FileChooser::Take(QListWidgetItem* item) {
  if (item == nullptr) return;
  Go(folder_ + item->data(kBytesRole).toByteArray().toStdString());
}

void FileChooser::TakeTyped() {
  // The chosen entry, as long as the line still shows its name: its bytes,
  // which the line's text may not give back.
  QListWidgetItem* item = list_->currentItem();
  if (item != nullptr && item->text() == name_->text()) {
    Take(item);
    return;
  }
  const std::string typed = QFile::encodeName(name_->text().trimmed()).toStdString();
  if (typed.empty()) return;
  Go(typed.front() == '/' ? typed : folder_ + typed);
}

void FileChooser::Go(const std::string& path) {
  if (IsFolder(path)) {
    Show(path);
    name_->clear();
    // In the folder: its first file chosen, Enter opens it.
    for (int row = 0; row < list_->count(); ++row) {
      if (list_->item(row)->data(kFolderRole).toBool()) continue;
      list_->setCurrentRow(row);
      break;
    }
    list_->setFocus();
    return;
  }
  chosen_ = Clean(path);
  accept();
}

}  // namespace pagoro
