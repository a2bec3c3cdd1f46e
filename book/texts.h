// The reader's own texts in the user's language, for the code without Qt.
// A text is looked up by its context and its English words, as Qt's
// translations look up tr() texts, so one catalogue serves both sides: the
// program installs a translator at start-up (translations/), and until it
// does, every text stands as written. Placeholders are numbered, "%1", "%2",
// so that a translation can put them in its own order; "%n" is a count.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Marks `text` for the catalogues where it is defined (in a table) and
// leaves it as it is; Tr(context, text) translates it where it is shown.
#define PAGORO_TEXT(context, text) text

namespace pagoro {

// Translates `text` of `context`; `count` is the number "%n" stands for
// (-1: none). Returns the translation, or "" when there is none.
using Translator = std::string (*)(const char* context, const char* text,
                                   const char* disambiguation, int count);

// The translator for Tr and TrN; null stands for none (the texts as written).
void SetTranslator(Translator translator);

// `text` in the user's language. Give `context` and `text` as string
// literals, so that the catalogues' update tool finds them.
std::string Tr(const char* context, const char* text);
// The same for a text with a count: "%n" is replaced by `count`, and the
// translation may have a form of its own for each number form.
// `disambiguation` tells two texts of the same words apart (usually null),
// as in QCoreApplication::translate, whose arguments these are.
std::string TrN(const char* context, const char* text, const char* disambiguation, int count);

// `text` with each "%1" replaced by the first of `args`, "%2" by the second,
// and so on up to "%9", in one pass over `text` (a value holding "%2" stays
// as it is); a "%" that is no such placeholder stays.
std::string Args(std::string_view text, std::initializer_list<std::string_view> args);

}  // namespace pagoro
