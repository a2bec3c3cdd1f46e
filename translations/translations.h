// The language the programs speak: the catalogue for the user's locale,
// compiled into the program, and Qt's own for its dialogs' buttons.
#pragma once

#include <QStringList>

namespace pagoro {

enum class Catalogue { kEnglish, kSimplifiedChinese, kTraditionalChinese };

// The catalogue for the languages the user asked for, most wanted first, as
// QLocale::uiLanguages() gives them ("zh-CN", "zh-Hant-HK", "en-US", "C"):
// the first Chinese or English one decides; Simplified Chinese for zh, zh_CN
// and zh_SG, Traditional for zh_TW, zh_HK, zh_MO and zh-Hant; English
// otherwise.
Catalogue CatalogueFor(const QStringList& uiLanguages);

// The name of the catalogue's file, without the extension ("pagoro_zh_CN");
// "" for English, the language the texts are written in.
QString CatalogueName(Catalogue catalogue);

// Loads the catalogue for the user's locale (LANGUAGE, LC_ALL, LC_MESSAGES,
// LANG, as QLocale reads them) and Qt's own, and routes the texts of the
// code without Qt (book/texts.h) through them. With a QCoreApplication
// (which must outlive the program's use of the texts), both are installed
// into it, so that tr() finds them; without one, only the code without Qt
// gets them. Call it once.
void UseUserLanguage();

}  // namespace pagoro
