// TMainForm: the reader's one window. Borderless, gray, maximized from the
// start; the panel `container` with a 1-pixel gray border fills it and the
// player `FlashPlayer` fills the panel. The window opens its own program
// file as the book, opens books dropped on it, carries out the movie's
// commands, switches between maximized and windowed mode, and at close
// removes its own book's cache folder and the movie file.
#pragma once

#include <QFrame>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "player/input_hook.h"

namespace pagoro {

class BookOpener;
class DropTarget;
class Env;
class ErrorReporter;
class StartScreen;
class TShockwaveFlash;

class TMainForm : public QWidget {
  Q_OBJECT
 public:
  // Builds the window and its components. Throws when the player control
  // can't be created (the program can't go on then).
  TMainForm(Env& env, ErrorReporter& reporter, QString ownPath);
  ~TMainForm() override;

  // Components.
  QFrame* container = nullptr;
  TShockwaveFlash* FlashPlayer = nullptr;
  TApplicationEvents AppEvents;

  // Start-up: the own book as FormCreate opens it when no file is given and
  // the program is a book executable; else the file given, by its content;
  // else, or when the file can't be opened, the start screen.
  void Start(const QString& file, bool ownIsBook);

  // Creation: sets the mode, takes drops, sets the title, opens the own file.
  void FormCreate();
  // Destruction: stops taking drops.
  void FormDestroy();
  // The movie's fscommand(command, args).
  void FlashPlayerFSCommand(const QString& command, const QString& args);
  // The input hook's decision for one event.
  void AppEventsMessage(HookEvent kind, bool& handled);

  void EnterMaximized();
  void EnterWindowed();
  bool IsMaximized() const { return is_maximized_; }

  // Opens the book executable at `path` (a dropped file or the own one).
  void OpenBook(const QString& path);
  // Opens a book, movie or projector by its content (BookOpener::OpenFile);
  // a failure is shown. True when it plays.
  bool OpenFile(const QString& path);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // FormCreate without the opening of the own file.
  void PrepareWindow();
  // Runs an opening, then lets the player serve the folder of what plays;
  // a failure is shown. True when `open` succeeded.
  bool Open(const QString& path, const std::function<void()>& open);
  void ShowStartScreen();
  void FormClose();
  void FormResize();
  void SendVariable(std::u16string_view name, std::u16string_view value);

  Env& env_;
  ErrorReporter& reporter_;
  const QString own_path_;
  std::unique_ptr<BookOpener> opener_;
  DropTarget* drop_target_ = nullptr;
  std::unique_ptr<StartScreen> start_screen_;
  bool is_maximized_ = false;
};

}  // namespace pagoro
