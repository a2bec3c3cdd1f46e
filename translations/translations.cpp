#include "translations/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "book/texts.h"

namespace pagoro {

namespace {

QTranslator& Ours() {
  static QTranslator translator;
  return translator;
}

QTranslator& Qts() {
  static QTranslator translator;
  return translator;
}

std::string ThroughApplication(const char* context, const char* text, const char* disambiguation,
                               int count) {
  return QCoreApplication::translate(context, text, disambiguation, count).toStdString();
}

// Without an application: the catalogue itself; "%n" is put in by TrN.
std::string ThroughCatalogue(const char* context, const char* text, const char* disambiguation,
                             int count) {
  return Ours().translate(context, text, disambiguation, count).toStdString();
}

}  // namespace

Catalogue CatalogueFor(const QStringList& uiLanguages) {
  for (const QString& given : uiLanguages) {
    const QStringList parts =
        QString(given).replace(QLatin1Char('_'), QLatin1Char('-')).split(QLatin1Char('-'));
    const QString language = parts.front().toLower();
    if (language == QLatin1String("en")) return Catalogue::kEnglish;
    if (language != QLatin1String("zh")) continue;
    for (const QString& part : parts.mid(1)) {
      const QString upper = part.toUpper();
      if (upper == QLatin1String("HANT") || upper == QLatin1String("TW") ||
          upper == QLatin1String("HK") || upper == QLatin1String("MO")) {
        return Catalogue::kTraditionalChinese;
      }
    }
    return Catalogue::kSimplifiedChinese;
  }
  return Catalogue::kEnglish;
}

QString CatalogueName(Catalogue catalogue) {
  switch (catalogue) {
    case Catalogue::kSimplifiedChinese: return QStringLiteral("pagoro_zh_CN");
    case Catalogue::kTraditionalChinese: return QStringLiteral("pagoro_zh_TW");
    case Catalogue::kEnglish: break;
  }
  return QStringLiteral("pagoro_en");
}

void UseUserLanguage() {
  const Catalogue catalogue = CatalogueFor(QLocale::system().uiLanguages());
  // English has a catalogue too: the number forms of its counted texts.
  const bool loaded = Ours().load(CatalogueName(catalogue), QStringLiteral(":/pagoro/i18n"));
  if (catalogue != Catalogue::kEnglish) {
    const QString qt = catalogue == Catalogue::kSimplifiedChinese ? QStringLiteral("qtbase_zh_CN")
                                                                  : QStringLiteral("qtbase_zh_TW");
    // Missing where Qt's translations are not installed: Qt's buttons stay
    // English then.
    if (Qts().load(qt, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::instance() != nullptr) {
      QCoreApplication::installTranslator(&Qts());
    }
  }
  if (QCoreApplication::instance() != nullptr) {
    if (loaded) QCoreApplication::installTranslator(&Ours());
    SetTranslator(&ThroughApplication);
  } else if (loaded) {
    SetTranslator(&ThroughCatalogue);
  }
}

}  // namespace pagoro
