// PageBridge: the object the player's page sees as "bridge" through the web
// channel. Its slots are the page's calls into the control (they arrive on
// the GUI thread); playRequested, stopRequested, variablesSet and
// focusRequested go the other way.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace pagoro {

// A command the movie raised: fscommand(command, args), its `number`-th
// since it started, from 1.
struct RaisedCommand {
  QString command;
  QString args;
  int number = 0;
};

class PageBridge : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

 signals:
  // To the page.
  // Plays the movie at `url`, with relative URLs resolved against `base`
  // ("": against the page), whose variable receiver has the name given,
  // with its shared objects: {session, entries: [key, base64, ...], own:
  // [key prefixes of the magazine's own objects], others: [keys of shared
  // objects other magazines kept, not counted], limit: bytes, prefix:
  // the key prefix of the objects the store keeps, writing: bool}.
  void playRequested(const QString& url, const QString& base, const QString& receiver,
                     const QVariantMap& store);
  void stopRequested();
  // name, value, answer_to, name, ...: for the movie, in order; answer_to
  // is the number of the command the value answers, 0 for none.
  void variablesSet(const QStringList& assignments);
  void focusRequested();
  // Whether the store of session `session` could write lately: while it
  // can't, the page answers the movie's flushes false.
  void storeWriting(int session, bool writing);
  // Has the movie write what it changed and never flushed; the page answers
  // with sharedObjectsWritten(token) once those writes have been sent.
  void writeRequested(int token);

  // To the control.
  void Ready();
  // The movie's commands that crossed together, in the order raised.
  void Commands(const QList<RaisedCommand>& commands);
  void MovieLoaded(const QString& url);
  void MovieFailed(const QString& url, const QString& message);
  // The movie of store session `session` flushed (or cleared) an object.
  void SharedObjectStored(int session, const QString& key, const QByteArray& bytes);
  void SharedObjectRemoved(int session, const QString& key);
  void SharedObjectsWritten(int token);

 public slots:
  void pageReady() { emit Ready(); }
  // The movie's commands in the order raised: command, args, number, ...
  void fsCommands(const QStringList& commands);
  void movieLoaded(const QString& url) { emit MovieLoaded(url); }
  void movieFailed(const QString& url, const QString& message) { emit MovieFailed(url, message); }
  void sharedObjectStored(int session, const QString& key, const QString& base64) {
    emit SharedObjectStored(session, key, QByteArray::fromBase64(base64.toLatin1()));
  }
  void sharedObjectRemoved(int session, const QString& key) {
    emit SharedObjectRemoved(session, key);
  }
  void sharedObjectsWritten(int token) { emit SharedObjectsWritten(token); }
  // A line the movie traced.
  void trace(const QString& message);
};

}  // namespace pagoro
