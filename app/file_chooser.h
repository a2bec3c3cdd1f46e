// FileChooser: the Open dialog. Qt's own file dialog leaves out files whose
// names are not UTF-8 (GBK bytes, as unzip leaves names from Chinese
// archives), the very magazines many users have; this one reads folders by
// their bytes and shows such names in their characters. It lists folders,
// then magazines, movies and projectors (all files when asked); a name
// typed into its line, full or relative to the folder shown, is taken as
// given.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace pagoro {

// One entry of a folder, as its bytes, and whether it is a folder.
struct FolderEntry {
  std::string name;
  bool folder = false;
};

// The entries of `folder` (its bytes): folders first, then files, each by
// name; "." and ".." left out. Files only where `all` or their extension is
// one of a magazine or movie (.exe, .swf, any case). Empty when it can't be
// read.
std::vector<FolderEntry> ReadFolder(const std::string& folder, bool all);

class FileChooser : public QDialog {
  Q_OBJECT
 public:
  FileChooser(QWidget* parent, const std::string& folder);

  // The chosen file's full path (its bytes); "" when nothing was chosen.
  const std::string& chosen() const { return chosen_; }

  // Shows the dialog; the chosen file, or "".
  static std::string Choose(QWidget* parent, const std::string& folder);

 private:
  void Show(const std::string& folder);
  void Take(QListWidgetItem* item);
  void TakeTyped();
  // Opens `path`: a folder is shown, a file chosen.
  void Go(const std::string& path);

  std::string folder_;  // ends in "/"
  std::string chosen_;
  QLabel* where_ = nullptr;
  QListWidget* list_ = nullptr;
  QLineEdit* name_ = nullptr;
  QCheckBox* all_ = nullptr;
};

}  // namespace pagoro
