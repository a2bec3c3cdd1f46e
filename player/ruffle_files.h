// Ruffle's files as the player compiled them in. Ruffle comes with two
// WebAssembly cores, one using the engine's WebAssembly extensions and a
// plain one for engines without them; they share most of their bytes. The
// one the engine takes is stored whole; the other is stored as the
// difference from it (a zstd frame with the stored core as its prefix) and
// rebuilt only when asked for.
#pragma once

#include <QByteArray>
#include <QString>

namespace pagoro {

// The resource of Ruffle's file `name` (":/pagoro/ruffle/..."), "" when it
// is stored as a difference or not at all.
QString RuffleResource(const QString& name);

// Rebuilds Ruffle's file `name` from its stored difference. False when it
// has none or it can't be rebuilt (`bytes` is then untouched).
bool RebuildRuffleFile(const QString& name, QByteArray* bytes);

}  // namespace pagoro
