// TShockwaveFlash: the movie player control. A Qt widget that plays a Flash
// movie with Ruffle inside a web view. The movie's fscommand calls arrive as
// the FSCommand signal on the GUI thread.
#pragma once

#include <QString>
#include <QWidget>
#include <chrono>
#include <memory>
#include <string>

#include "core/player_control.h"

namespace pagoro {

class TShockwaveFlash : public QWidget, public PlayerControl {
  Q_OBJECT
 public:
  // Throws PlayerError when the web engine or the Ruffle files can't be had.
  explicit TShockwaveFlash(QWidget* parent = nullptr);
  ~TShockwaveFlash() override;

  // Registers the URL scheme the control serves its page, Ruffle and the
  // movie's files from, and lets the web engine share OpenGL contexts. The
  // web engine only accepts both before the QApplication exists: the
  // program's main calls this first of all.
  static void RegisterScheme();

  // PlayerControl
  void Magazine(const MagazineId& id) override;
  // Reads the movie (throws PlayerError, changing nothing, when the file
  // can't be read or is no movie); Play then starts it.
  void Movie(const std::string& path) override;
  void Play() override;
  // The value is set on the movie's level 0 as soon as it reaches the page
  // (a few milliseconds; before the movie's first frame, in that frame).
  // Values of different names arrive in order; of several values of one
  // name set before the movie could take them, only the latest arrives.
  // An ActionScript 3 movie can't receive variables: the value is logged as
  // undeliverable.
  void SetVariable(const std::u16string& name, const std::u16string& value) override;

  // Gives the keyboard focus to the movie: to the control, and inside its
  // page to the player element, which takes keys only while it has the
  // page's focus.
  void FocusMovie();

  // Has the page write the shared objects its movie changed and never
  // flushed, as Flash Player wrote them when a movie ended, and waits until
  // they are kept: for at most kWriteBound, after which a page that has not
  // answered (busy in an endless script, its renderer stopped) is left, and
  // the log says so. Meanwhile other events than user input are handled; the
  // movie's commands that arrive then are carried out after. True when the
  // page answered in time (or plays nothing). A FSCommand handler may call it
  // (the quit command): commands are handled outside the web channel's
  // delivery of the page's messages.
  bool WriteUnflushed();
  static constexpr std::chrono::milliseconds kWriteBound{1500};

  // Where the movie that plays came from: a book, or a file the user opened
  // (a plain movie or a projector's), which may read local files or use the
  // network, never both (player/local_sandbox.h).
  enum class MovieOrigin { kBook, kFile };

  // The folder whose files the movie may load besides the movie itself (the
  // current book's cache folder, ending in "/", as the file system spells
  // it); "" allows none. `origin` is that of the movie set last with Movie.
  void SetAssetFolder(const std::string& folder, MovieOrigin origin = MovieOrigin::kBook);

 signals:
  // The movie called fscommand(command, args). Arrives after the movie's own
  // call has returned: the movie runs in the web engine's process. A handler
  // reports its own failures; an exception that leaves it is only logged.
  void FSCommand(const QString& command, const QString& args);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace pagoro
