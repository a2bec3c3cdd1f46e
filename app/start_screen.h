// StartScreen: the window of the reader started without a magazine. A
// normal decorated window that says what to do: drop a magazine on it, or
// open one (Ctrl+O) in a file dialog that lists magazines, movies and
// projectors. It hands the chosen file on; whoever owns it opens the file.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

namespace pagoro {

class DropTarget;

class StartScreen : public QWidget {
  Q_OBJECT
 public:
  // `onFile` gets the path of a dropped or chosen file, its bytes as the
  // system names it.
  explicit StartScreen(std::function<void(const std::string& path)> onFile);
  ~StartScreen() override;

  // Shows the file dialog (Qt's own, not the desktop's).
  void ChooseFile();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::function<void(const std::string&)> on_file_;
  DropTarget* drop_target_ = nullptr;
};

// The file dialog's filters: magazines, movies and projectors; all files.
QString MagazineFileFilter();

}  // namespace pagoro
