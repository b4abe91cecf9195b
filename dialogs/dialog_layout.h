#pragma once
// Where the open and save dialogs' controls sit (window pixels). The skin generator draws the
// backgrounds' panels and grooves from the same numbers, so pictures and widgets never drift
// apart. Plain integers: no Qt needed to read them.

namespace mozu::dialog_layout {

struct Box {
    int x, y, w, h;
    constexpr int right() const { return x + w; }
    constexpr int bottom() const { return y + h; }
};
// An ellipse given by its bounding box (left, top, right, bottom).
struct Oval {
    int left, top, right, bottom;
};

// Pictures shared by both dialogs.
constexpr int kIconSize = 20;    // entry icons, white is transparent
constexpr int kUpKeyWidth = 32;  // Key01, one level up
constexpr int kUpKeyHeight = 32;
constexpr int kOkKeyWidth = 32;  // KeyGreen01 / KeyRed01
constexpr int kOkKeyHeight = 32;
constexpr int kThumbWidth = 29;  // VScrollButton
constexpr int kThumbHeight = 17;
constexpr int kTrackWidth = 25;  // Vertical
constexpr int kOptionMark = 20;  // option marks (on, off, down, inactive)

// The open dialog, 791 x 632: shape (E1 without R) united with E2 and E3.
namespace open {
constexpr int kWidth = 791;
constexpr int kHeight = 632;
constexpr Oval kE1{2, -158, 788, 628};
constexpr Box kR{0, -160, 790, 384};  // (0, -160)-(790, 224)
constexpr Oval kE2{3, 41, 789, 418};
constexpr Oval kE3{45, 3, 748, 428};
constexpr Box kListBox1{112, 96, 177, 353};
constexpr Box kListBox2{288, 96, 169, 353};
constexpr Box kListBox3{456, 96, 169, 353};
constexpr Box kVertical{633, 96, 25, 353};
constexpr Box kLabel1{146, 73, 463, 17};
constexpr Box kImage2{313, 456, 160, 100};
constexpr Box kLabel2{296, 561, 193, 14};
constexpr Box kKey01{380, 30, kUpKeyWidth, kUpKeyHeight};
constexpr Box kKeyGreen01{302, 578, kOkKeyWidth, kOkKeyHeight};
constexpr Box kKeyRed01{458, 578, kOkKeyWidth, kOkKeyHeight};
}  // namespace open

// The save dialog, 789 x 633.
namespace save {
constexpr int kWidth = 789;
constexpr int kHeight = 633;
constexpr Oval kE1{2, -158, 786, 629};
constexpr Box kR{0, -160, 789, 384};
constexpr Oval kE2{3, 33, 786, 410};
constexpr Oval kE3{45, 0, 744, 420};
constexpr Box kLabel1{178, 57, 248, 17};  // ends before "New Folder"
constexpr Box kKey01{380, 22, kUpKeyWidth, kUpKeyHeight};
constexpr Box kOption16{434, 44, 150, 22};  // "New Folder"
constexpr Box kListBox1{128, 80, 161, 353};
constexpr Box kListBox2{296, 80, 161, 353};
constexpr Box kListBox3{456, 80, 161, 353};
constexpr Box kVertical{617, 80, 25, 353};
constexpr int kOptionLeft[2] = {306, 450};
constexpr int kOptionTop[5] = {434, 462, 490, 514, 538};
constexpr int kOptionWidth = 140;
constexpr int kOptionHeight = 22;
constexpr Box kEdit1Caption{344, 562, 96, 18};
constexpr Box kEdit1{344, 584, 96, 22};
constexpr Box kKeyGreen01{310, 578, kOkKeyWidth, kOkKeyHeight};
constexpr Box kKeyRed01{450, 578, kOkKeyWidth, kOkKeyHeight};
constexpr Box kVideoTitleCaption{208, 438, 380, 16};
constexpr Box kVideoTitle{208, 456, 380, 22};
constexpr Box kVideoAddCaption{208, 478, 380, 16};
constexpr Box kVideoAdd{208, 496, 380, 22};
}  // namespace save

}  // namespace mozu::dialog_layout
