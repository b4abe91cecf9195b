#pragma once
// Where the message window's controls sit (window pixels, 295 x 335); shared with the skin
// generator, which draws the backgrounds around them.

#include "app/main_window_layout.h"

namespace mozu::message_layout {

using layout::Box;

constexpr int kWidth = 295;
constexpr int kHeight = 335;
constexpr Box kLabel1{32, 48, 233, 113};
constexpr int kKeyWidth = 35;
constexpr int kKeyHeight = 20;
constexpr Box kKeyGreen01{82, 168, kKeyWidth, kKeyHeight};
constexpr Box kKeyRed01{178, 168, kKeyWidth, kKeyHeight};
constexpr Box kKey01{130, 192, kKeyWidth, kKeyHeight};
// The name field and its caption, in the lower part of the text area.
constexpr Box kLabel2{40, 134, 104, 20};
constexpr Box kEdit1{146, 132, 100, 22};
// The badge at the top that tells the kinds apart.
constexpr Box kBadge{133, 12, 29, 29};

}  // namespace mozu::message_layout
