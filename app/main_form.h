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

#include "app/recent_store.h"
#include "core/book_opener.h"
#include "player/input_hook.h"

namespace pagoro {

class DropTarget;
class Env;
class ErrorReporter;
class ModeRequests;
class SingleInstance;
class StartScreen;
class TShockwaveFlash;
class WindowStates;

class TMainForm : public QWidget {
  Q_OBJECT
 public:
  // Builds the window and its components. Throws when the player control
  // can't be created (the program can't go on then). `ownPath` is the
  // program file's path as the file system spells it.
  TMainForm(Env& env, ErrorReporter& reporter, std::string ownPath);
  ~TMainForm() override;

  // Components.
  QFrame* container = nullptr;
  TShockwaveFlash* FlashPlayer = nullptr;
  TApplicationEvents AppEvents;

  // Start-up: the own book as FormCreate opens it when no file is given and
  // the program is a book executable; else the file given, by its content;
  // else, or when the file can't be opened, the start screen. False when
  // the book is open in another running reader, which has come to the
  // front: this one ends without showing a window.
  bool Start(const std::string& file, bool ownIsBook);

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
  // F11: true full screen (above the desktop's panels) and back to the mode
  // the window was in. Apart from the modes: the movie is told nothing.
  void ToggleFullScreen();

  // Ctrl+O: the Open dialog over the playing magazine; the file chosen opens
  // as a dropped one does. Escape in the dialog leaves the magazine playing.
  void OpenWhileReading();
  // F1: the sheet of keys, with the version, licences and files.
  void ShowKeySheet();

  // Opens the book executable at `path` (its bytes, or as Qt has it): a
  // dropped file, or one of the run's own books (the program's own file, a
  // file the user opened by name), whose folders are removed at close. A
  // book that another running reader has open is left to it: that reader
  // comes to the front.
  OpenOutcome OpenBook(const QString& path, Ownership ownership = Ownership::kDropped);
  OpenOutcome OpenBook(const std::string& path, Ownership ownership = Ownership::kDropped);
  // True when FormCreate found the own book open in another running reader:
  // this one ends without showing its window.
  bool HandedOver() const { return handed_over_; }
  // Raises and activates the window (another reader calls it so).
  void BringToFront();

  // Opens a book, movie or projector by its content (BookOpener::OpenFile);
  // a failure is shown (then kIgnored). A book opened so is this run's own.
  // A movie or projector that another running reader plays is left to it,
  // as a book is: that reader comes to the front.
  OpenOutcome OpenFile(const std::string& path);
  // A file dropped on the playing window: judged by its content as OpenFile
  // does. A book executable, or an ".exe" that can't be read, opens as
  // OpenBook does; its folder is removed at close like the run's own.
  OpenOutcome OpenDropped(const std::string& path);

  // The clean-up (also when the program ends on a signal or a lost display).
  void FormClose();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // FormCreate without the opening of the own file.
  void PrepareWindow();
  // Runs an opening, then lets the player serve the folder of what plays;
  // a failure is shown (the outcome is then kIgnored).
  OpenOutcome Open(const QString& path, const std::function<OpenOutcome()>& open);
  void ShowStartScreen();
  // After an opening by any route: the title of the window and its boxes (a
  // book executable started itself keeps its own; the reader alone takes the
  // name of what it plays), and the shelf of recent magazines, whose cover is
  // taken from the first screen a moment later.
  void AfterOpening(const std::string& path, OpenOutcome outcome);
  // Sets the windowed-mode rectangle, within the screen's available area.
  void PlaceWindowed();
  void FormResize();
  void SendVariable(std::u16string_view name, std::u16string_view value);
  // Takes `combination` as a reader's key that opens a box of the window's
  // (`open`, run once the key event is done): while the window plays and
  // no other box is up.
  void TakeBoxKey(QKeyCombination combination, void (TMainForm::*open)());

  Env& env_;
  ErrorReporter& reporter_;
  const std::string own_path_;
  std::unique_ptr<SingleInstance> instances_;
  std::unique_ptr<BookOpener> opener_;
  DropTarget* drop_target_ = nullptr;
  std::unique_ptr<StartScreen> start_screen_;
  bool is_maximized_ = false;
  // How the window's states are asked of the window system (Wayland's way).
  WindowStates* window_states_ = nullptr;
  // The movie's mode requests, coalesced: a flood of them must not keep the
  // window from closing.
  ModeRequests* mode_requests_ = nullptr;
  bool closed_ = false;
  bool handed_over_ = false;
  bool own_is_book_ = false;
  // A box of the reader's keys (the Open dialog, the key sheet) is up or asked for.
  bool box_up_ = false;
  // Waiting for the compositor to take the window out of the maximized or
  // full-screen state before it may get its windowed size (Wayland).
  bool windowed_pending_ = false;
  // The movie or projector file that plays, held against other readers.
  std::string movie_claim_;
  RecentStore recent_;
  // Counts the openings, so that a late cover is taken of what still plays.
  unsigned openings_ = 0;
};

}  // namespace pagoro
