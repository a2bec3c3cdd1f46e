#include "player/shockwave_flash.h"

#include "player/player_error.h"

namespace pagoro {

struct TShockwaveFlash::Impl {};

TShockwaveFlash::TShockwaveFlash(QWidget* parent) : QWidget(parent), impl_(std::make_unique<Impl>()) {}
TShockwaveFlash::~TShockwaveFlash() = default;

void TShockwaveFlash::Movie(const std::u16string&) {}
void TShockwaveFlash::Play() {}
void TShockwaveFlash::SetVariable(const std::u16string&, const std::u16string&) {}
void TShockwaveFlash::SetAssetFolder(const QString&) {}
void TShockwaveFlash::RegisterScheme() {}

}  // namespace pagoro
