#include "app/error_reporter.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <optional>

#include "app/logging.h"
#include "core/error_text.h"
#include "player/input_hook.h"

namespace pagoro {

void ErrorReporter::ShowException(const std::exception& error) { ShowError(error.what()); }

void ErrorReporter::ShowError(const std::string& message) {
  const QString text = QString::fromStdString(WithPeriod(message));
  qCInfo(lcApp).noquote() << "error box:" << title_ << "|" << text;
  // While the box is up, the events it takes do not reach the input hook.
  std::optional<TApplicationEvents::Suspension> quiet;
  if (hook_ != nullptr) quiet.emplace(*hook_);
  QWidget* owner = (owner_ != nullptr && owner_->isVisible()) ? owner_.data() : nullptr;
  QMessageBox box(QMessageBox::Critical, title_, text, QMessageBox::Ok, owner);
  qCInfo(lcApp).noquote() << "error box button:" << box.button(QMessageBox::Ok)->text();
  box.exec();
}

void ErrorReporter::ShowMessage(const std::string& text) {
  const QString shown = QString::fromStdString(text);
  qCInfo(lcApp).noquote() << "message box:" << title_ << "|" << shown;
  // Parentless, so that it is centred on the screen. With one button, that
  // button is both the default (Enter) and the escape button.
  QMessageBox box(QMessageBox::NoIcon, title_, shown, QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Ok);
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
}

void ErrorReporter::ShowFatal(const std::exception& error, const std::string& moduleName) {
  const QString text = QString::fromStdString(FatalErrorText(error, moduleName));
  qCInfo(lcApp).noquote() << "fatal box: Application Error |" << text;
  // not translated: the framework's fatal box keeps its English title
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"), text,
                  QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace pagoro
