#pragma once
// FullPreview: a picture on the whole screen on black, enlarged to the pixel shape of its
// format, with a scan-line mask that darkens every other row of the picture as a CPC monitor
// does. "+" and "-" zoom (levels 0-4, 1 at the start), the arrow keys move the picture (alone
// 1 pixel, with Shift 10, with Ctrl to the screen's edge; Ctrl wins when both are held), Home
// centres it, Escape (or closing the window) leaves and shows the caller again.
//
// Use (the main window's picture, the editor's Preview key):
//
//     preview->openSlotPicture(picture, slot, this);          // hides `this` until Escape
//     preview->open(frame, {2 * w, 2 * h, false}, this);     // any shape
//     preview->showFrame(nextFrame);                          // a playing video's next frame
//     connect(preview, &FullPreview::closed, ...);            // the caller is on show again
//
// The picture is scaled and masked at paint time over the visible part of the screen only, so a
// large photo zoomed in costs no more memory than the screen.

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "colour/picture.h"
#include "colour/slot.h"

namespace mozu {

// The size a picture is shown at and whether the scan-line mask covers it.
struct PreviewShape {
    int width = 0;
    int height = 0;
    bool mask = true;
};

// A slot's picture at its pixel shape: twice its size, mode 0 pixels twice as wide again, mode 2
// and MSX pixels twice as tall again; no mask over MSX pictures and PC pictures (the source).
PreviewShape PreviewShapeForSlot(Slot slot, int width, int height);

class FullPreview : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kMaxLevel = 4;

    explicit FullPreview(QWidget* parent = nullptr);

    // Shows `picture` at `shape`, centred on the screen at level 1, and hides `caller`.
    void open(const Picture& picture, PreviewShape shape, QWidget* caller);
    void openSlotPicture(const Picture& picture, Slot slot, QWidget* caller);
    // A new frame in place of the picture, at the same place and shown size.
    void showFrame(const Picture& frame);
    bool isOpen() const { return open_; }

    // Handlers of the keys.
    void zoomIn();   // "+"
    void zoomOut();  // "-"
    void center();   // Home
    void moveLeft(Qt::KeyboardModifiers modifiers);
    void moveRight(Qt::KeyboardModifiers modifiers);
    void moveUp(Qt::KeyboardModifiers modifiers);
    void moveDown(Qt::KeyboardModifiers modifiers);
    void exitWindow();  // Escape

    int level() const { return level_; }
    bool maskShown() const { return mask_; }
    // Where the picture lies on the screen, at its shown size (window pixels).
    QRect pictureRect() const { return QRect(left_, top_, shownWidth_, shownHeight_); }
    const Picture& picture() const { return picture_; }

  Q_SIGNALS:
    // The preview was left (Escape or the window manager): the caller is on show again.
    void closed();

  protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void closeEvent(QCloseEvent*) override;

  private:
    // The share of screen row y (window pixels) the mask's dark lines cover, 0 to 1.
    double darkShare(int y) const;
    void fitScreen();

    Picture picture_;
    QPointer<QWidget> caller_;
    bool open_ = false;
    bool mask_ = true;
    int level_ = 1;
    int left_ = 0;
    int top_ = 0;
    int shownWidth_ = 0;
    int shownHeight_ = 0;
    // The mask's own height: the shown height when it was made. Zooming stretches it with the
    // picture, so after "+" each dark line covers two screen rows.
    int maskHeight_ = 0;
    QImage visible_;  // the visible part, scaled and masked, remade at each paint
};

}  // namespace mozu
