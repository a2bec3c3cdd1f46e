#include "book/texts.h"

#include <atomic>
#include <vector>

namespace pagoro {

namespace {

std::atomic<Translator> g_translator{nullptr};

std::string Looked(const char* context, const char* text, const char* disambiguation, int count) {
  const Translator translator = g_translator.load();
  std::string found =
      translator != nullptr ? translator(context, text, disambiguation, count) : std::string();
  return found.empty() ? std::string(text) : found;
}

}  // namespace

void SetTranslator(Translator translator) { g_translator.store(translator); }

std::string Tr(const char* context, const char* text) { return Looked(context, text, nullptr, -1); }

std::string TrN(const char* context, const char* text, const char* disambiguation, int count) {
  const std::string found = Looked(context, text, disambiguation, count);
  const std::string number = std::to_string(count);
  std::string result;
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (found[i] == '%' && i + 1 < found.size() && found[i + 1] == 'n') {
      result += number;
      ++i;
    } else {
      result += found[i];
    }
  }
  return result;
}

std::string Args(std::string_view text, std::initializer_list<std::string_view> args) {
  const std::vector<std::string_view> values(args);
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '%' && next >= '1' && next <= '9' &&
        static_cast<std::size_t>(next - '1') < values.size()) {
      result += values[static_cast<std::size_t>(next - '1')];
      ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

}  // namespace pagoro
