#pragma once
// The system clipboard as the editor uses it: Copy puts the copied block there as an image too,
// so other programs can take it; Paste takes an image from there when it came after the editor's
// own copy (or the editor has none), so a picture copied in any other program can be pasted.

#include <QImage>
#include <QObject>
#include <optional>

#include "colour/picture.h"

namespace mozu {

class DesktopClipboard : public QObject {
    Q_OBJECT
  public:
    explicit DesktopClipboard(QObject* parent = nullptr);

    // The editor's own copy: the block goes onto the system clipboard as well.
    void offer(const Picture& block);
    // An image of the system clipboard that came after the editor's own copy, or any image when
    // the editor's clipboard is empty; none when the editor's own copy is the newer (or is the
    // very image the system clipboard holds).
    std::optional<Picture> newerImage(bool ownEmpty) const;

  private:
    QImage own_;                    // what offer() put there last
    bool changedSinceOwn_ = false;  // another program (or a test) set the clipboard since
    bool offering_ = false;
};

QImage ImageOf(const Picture& picture);
Picture PictureOf(const QImage& image);

}  // namespace mozu
