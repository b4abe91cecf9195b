#pragma once
// Image1, the main window's picture, following the document: each notice decides what is shown
// and at which place and shape (a mode 0 picture at 320 x 200, an overscan picture in the
// whole screen, a PC picture in proportion, MSX pictures with their lines doubled).

#include <QImage>

#include "colour/picture.h"
#include "colour/slot.h"
#include "document/document.h"
#include "formats/file_type.h"

namespace mozu {

class PictureView;

class PictureDisplay {
  public:
    PictureDisplay(Document& document, PictureView& image1);

    // The picture shown in Image1 (what the user sees).
    QImage shownImage() const;

    // Shows a slot's picture in Image1 at the size and place of its slot (ShowCPCImage).
    void showCpcImage(Slot slot, const Picture& picture);
    // Shows a level file's picture (its level slot's) whole, at its pixel shape, in the
    // overscan place.
    void showLevelFile(FileType type, const Picture& picture);
    // Shows the source as it came: at its file's shape, or in the standard place for a PC
    // picture or a video frame (RefreshImage).
    void refreshImage();

  private:
    void onChange(const DocumentChange& change);
    // 368 x 264 at (216, 152), proportional, centred, not stretched.
    void standardLayout();
    void showPicture(const Picture& picture);

    Document& document_;
    PictureView& image1_;
};

}  // namespace mozu
