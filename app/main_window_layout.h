#pragma once
// Where the main window's controls sit (window pixels, 794 x 691). The skin generator draws
// the background's panels and grooves from the same numbers, so the pictures and the widgets
// never drift apart. Plain integers: no Qt needed to read them.

namespace mozu::layout {

struct Box {
    int x, y, w, h;
    constexpr int right() const { return x + w; }
    constexpr int bottom() const { return y + h; }
};

constexpr int kWindowWidth = 794;
constexpr int kWindowHeight = 691;

// The picture area and the video position bar.
constexpr Box kImage1{216, 152, 368, 264};
constexpr Box kHorizontal{224, 422, 350, 24};
constexpr int kThumbWidth = 15;
constexpr int kThumbHeight = 25;

// Large keys (BlackKeyUp/Down) and the exit key (RedKeyUp/Down).
constexpr int kKeyWidth = 104;
constexpr int kKeyHeight = 24;
constexpr int kKeyStep = 28;      // one row of the side columns to the next
constexpr int kFileRowTop = 112;  // Open, Save, Edit, Source, Close, Info
constexpr int kFileRowLeft = 65;
constexpr int kFileRowStep = 112;
constexpr int kLeftColumnX = 88;    // mode keys and the contrast keys
constexpr int kRightColumnX = 602;  // SymbOS keys, brightness keys, video conversion keys
constexpr int kColumnTop = 152;
constexpr Box kExitKey{606, 74, 60, 24};

// Small video keys under the position bar, their captions under them.
constexpr int kSmallKeyWidth = 38;
constexpr int kSmallKeyHeight = 20;
constexpr int kVideoRowLeft = 226;
constexpr int kVideoRowTop = 450;
constexpr int kVideoRowStep = 44;
constexpr int kVideoCaptionTop = 471;
constexpr int kVideoCaptionHeight = 14;

// The round progress area: the ball (15 x 15) runs on the upper half of a circle of radius 87
// whose centre puts the ball's corner at (389, 576).
constexpr int kProgressX = 389;
constexpr int kProgressY = 576;
constexpr int kProgressRadius = 87;
constexpr int kBallSize = 15;

// Texts: the source description left of the progress area, the target description right of
// it, the status word inside it.
constexpr Box kLabel1{198, 498, 112, 46};
constexpr Box kLabel3{484, 498, 112, 46};
constexpr Box kLabel4{339, 574, 116, 18};

// The title plate at the top.
constexpr Box kTitle{262, 26, 270, 58};

}  // namespace mozu::layout
