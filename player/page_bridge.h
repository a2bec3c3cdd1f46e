// PageBridge: the object the player's page sees as "bridge" through the web
// channel. Its slots are the page's calls into the control (they arrive on
// the GUI thread); the ...Requested signals go the other way.
#pragma once

#include <QObject>
#include <QString>

namespace pagoro {

class PageBridge : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

 signals:
  // To the page.
  void playRequested(const QString& url);
  void stopRequested();
  void focusRequested();

  // To the control.
  void Ready();
  void FSCommand(const QString& command, const QString& args);
  void MovieLoaded(const QString& url);
  void MovieFailed(const QString& url, const QString& message);

 public slots:
  void pageReady() { emit Ready(); }
  void fsCommand(const QString& command, const QString& args) { emit FSCommand(command, args); }
  void movieLoaded(const QString& url) { emit MovieLoaded(url); }
  void movieFailed(const QString& url, const QString& message) { emit MovieFailed(url, message); }
  void trace(const QString& message);
};

}  // namespace pagoro
