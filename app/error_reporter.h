// ErrorReporter: the reader's top-level error handling. An error that leaves
// an event handler is shown in a box with the error icon and one OK button,
// captioned with the application title, and the program goes on. It also
// shows the plain message dialog and the fatal box of a failed start.
#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <exception>
#include <string>

namespace pagoro {

class TApplicationEvents;

class ErrorReporter {
 public:
  explicit ErrorReporter(QString title) : title_(std::move(title)) {}

  // The application title: the caption of every box.
  const QString& Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }

  // The input hook that must let every event pass while an error box is up.
  void SetHook(TApplicationEvents* hook) { hook_ = hook; }
  // The window the boxes stand in front of (null: none).
  void SetOwner(QWidget* owner) { owner_ = owner; }

  // Shows `error`'s message by the error-box rule. Returns when it is closed.
  void ShowException(const std::exception& error);
  void ShowError(const std::string& message);

  // The plain dialog: no icon, the text unchanged, one OK button that Enter
  // and Escape press, centred on the screen.
  void ShowMessage(const std::string& text);

  // Runs `handler`; an exception leaving it is shown and goes no further.
  // True when the handler returned normally.
  template <typename F>
  bool Guard(F&& handler) {
    try {
      handler();
      return true;
    } catch (const std::exception& e) {
      ShowException(e);
    } catch (...) {
      ShowError(QCoreApplication::translate("Reader", "Unknown exception").toStdString());
    }
    return false;
  }

  // The fatal box of a window that could not be built ("Application Error").
  static void ShowFatal(const std::exception& error, const std::string& moduleName);

 private:
  QString title_;
  TApplicationEvents* hook_ = nullptr;
  QPointer<QWidget> owner_;
};

}  // namespace pagoro
