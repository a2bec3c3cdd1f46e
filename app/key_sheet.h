// KeySheet: the box F1 shows over a playing magazine: the reader's own keys
// and the magazine's, then what the program is (its version and licences)
// and where it keeps its files. Escape, Enter and its Close button close it.
#pragma once

#include <QDialog>
#include <QString>
#include <string>

namespace pagoro {

// The sheet's text (rich text): `stateFolder` and `dataFolder` are the
// per-user state and data folders, as the file system spells them ("" when
// unknown).
QString KeySheetText(const std::string& stateFolder, const std::string& dataFolder);

class KeySheet : public QDialog {
  Q_OBJECT
 public:
  KeySheet(QWidget* parent, const std::string& stateFolder, const std::string& dataFolder);
};

}  // namespace pagoro
