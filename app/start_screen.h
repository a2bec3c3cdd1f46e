// StartScreen: the window of the reader started without a magazine. A
// normal decorated window that says what to do: drop a magazine on it, or
// open one (Ctrl+O) in a file dialog that lists magazines, movies and
// projectors, whatever bytes their names are, or pick one from the shelf of recent magazines (click
// or Enter; Delete or "Forget" takes one off). It hands the chosen file on; whoever owns it opens
// the file.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "app/recent_store.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace pagoro {

class DropTarget;

class StartScreen : public QWidget {
  Q_OBJECT
 public:
  // `onFile` gets the path of a dropped or chosen file, its bytes as the
  // system names it.
  explicit StartScreen(std::function<void(const std::string& path)> onFile);
  ~StartScreen() override;

  // Shows the Open dialog (FileChooser), in the folder last used.
  void ChooseFile();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FillShelf();
  void OpenItem(QListWidgetItem* item);
  // Asks whether to forget the missing file `path`; true when it was.
  bool OfferToForget(const std::string& path);
  void ForgetSelected();
  void Hand(const std::string& path);

  std::function<void(const std::string&)> on_file_;
  DropTarget* drop_target_ = nullptr;
  RecentStore store_;
  QListWidget* shelf_ = nullptr;
  QPushButton* forget_ = nullptr;
  QPushButton* open_ = nullptr;
  bool handing_ = false;  // a file is being opened: further clicks wait
};

}  // namespace pagoro
