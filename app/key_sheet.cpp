#include "app/key_sheet.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <initializer_list>
#include <utility>

namespace pagoro {
namespace {

// A heading and its rows of two cells, the first in bold.
QString Table(const QString& heading, std::initializer_list<std::pair<QString, QString>> rows) {
  QString html = QStringLiteral("<h3>%1</h3><table cellspacing=\"4\">").arg(heading);
  for (const auto& [left, right] : rows) {
    html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                .arg(left.toHtmlEscaped(), right.toHtmlEscaped());
  }
  return html + QStringLiteral("</table>");
}

// A folder under `base` for the sheet: "$VARIABLE/rest" and where that is here.
QString Place(const char* variable, const std::string& base, const char* rest) {
  QString named = QStringLiteral("$%1/%2").arg(QLatin1String(variable), QLatin1String(rest));
  if (base.empty()) return named;
  return QStringLiteral("%1 (%2)").arg(
      named, QFile::decodeName(QByteArray::fromStdString(base + "/" + rest)));
}

}  // namespace

QString KeySheetText(const std::string& stateFolder, const std::string& dataFolder) {
  QString html =
      Table(QCoreApplication::translate("Keys", "The reader's keys"),
            {{QCoreApplication::translate("Keys", "Ctrl+O"),
              QCoreApplication::translate("Keys", "Open another magazine, movie or projector")},
             {QCoreApplication::translate("Keys", "F1"),
              QCoreApplication::translate("Keys", "This sheet")},
             {QCoreApplication::translate("Keys", "F11"),
              QCoreApplication::translate("Keys", "Full screen, and back")},
             {QCoreApplication::translate("Keys", "Alt+F4"),
              QCoreApplication::translate("Keys", "Close the window and end the reader")}});
  html += Table(QCoreApplication::translate("Keys", "The magazine's keys"),
                {{QCoreApplication::translate("Keys", "Escape"),
                  QCoreApplication::translate(
                      "Keys", "In the maximized window: a window of the movie's size")},
                 {QCoreApplication::translate("Keys", "Arrows, Page Up, Page Down, Home"),
                  QCoreApplication::translate("Keys", "Turn the pages (in most magazines)")},
                 {QCoreApplication::translate("Keys", "Other keys, the mouse"),
                  QCoreApplication::translate("Keys", "The magazine's own")}});
  const QString version =
      QCoreApplication::translate("CommandLine", "pagoro %1 (product version %2)")
          .arg(QStringLiteral(PAGORO_FILE_VERSION), QStringLiteral(PAGORO_PRODUCT_VERSION));
  html += Table(QCoreApplication::translate("Keys", "About"),
                {{version, QString()},
                 {QCoreApplication::translate("Keys", "Licences"),
                  QCoreApplication::translate(
                      "Keys", "pagoro: MIT; Ruffle: MIT or Apache-2.0; Qt: LGPLv3")}});
  html += Table(QCoreApplication::translate("Keys", "Where the reader keeps its files"),
                {{Place("XDG_STATE_HOME", stateFolder, "pagoro/recent"),
                  QCoreApplication::translate("Keys", "The shelf of recent magazines")},
                 {Place("XDG_STATE_HOME", stateFolder, "pagoro/shared-objects"),
                  QCoreApplication::translate("Keys", "What the magazines remember")},
                 {Place("XDG_DATA_HOME", dataFolder, "pagoro"),
                  QCoreApplication::translate("Keys", "The magazines' files while they play")}});
  return html;
}

KeySheet::KeySheet(QWidget* parent, const std::string& stateFolder, const std::string& dataFolder)
    : QDialog(parent) {
  setObjectName(QStringLiteral("KeySheet"));
  setWindowTitle(QCoreApplication::translate("Keys", "Keys"));
  auto* text = new QLabel(KeySheetText(stateFolder, dataFolder), this);
  text->setTextFormat(Qt::RichText);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* close = buttons->button(QDialogButtonBox::Close);
  close->setDefault(true);
  close->setFocus();
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(buttons);
}

}  // namespace pagoro
