#pragma once
// The small widgets both file dialogs are built from (besides the app's PictureKey): the
// owner-drawn entry columns, the dialogs' own scroll bar, the preview picture and the option marks.
// Each draws its skin pictures itself; the dialog's background shows through everywhere else.

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <vector>

#include "dialogs/folder_view.h"

namespace mozu {

// One column of entries: icon and text per row, no scroll bar of its own, no highlight of the
// selected row (the dialog draws a mark under a clicked file where it wants one).
class EntryColumn : public QWidget {
    Q_OBJECT
  public:
    EntryColumn(const QString& objectName, QWidget* parent);

    void setEntries(std::vector<Entry> entries);
    void clear() { setEntries({}); }
    const std::vector<Entry>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }
    QString text(int row) const { return entries_.at(static_cast<std::size_t>(row)).text; }

    // Row height and font height: 24 and 16 in the folder view, 60 and 36 in the drives view.
    void setMetrics(int itemHeight, int fontPixels);
    int itemHeight() const { return itemHeight_; }
    int fontPixels() const { return fontPixels_; }

    // The selected row (-1 none); selecting a row scrolls it into view.
    void setSelectedRow(int row);
    int selectedRow() const { return selected_; }
    // The row drawn with a mark (-1 none).
    void setMarkedRow(int row);
    int topRow() const { return top_; }
    int visibleRows() const;
    // The row under a point of the column, or -1.
    int rowAt(QPoint p) const;
    // Where a row is drawn (for tests and clicks).
    QRect rowRect(int row) const;

  Q_SIGNALS:
    void rowClicked(int row);
    void wheelTurned(int steps);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void scrollIntoView(int row);

    std::vector<Entry> entries_;
    int itemHeight_ = 24;
    int fontPixels_ = 16;
    int selected_ = -1;
    int marked_ = -1;
    int top_ = 0;
};

// The dialogs' own scroll bar: a track (`Vertical`) with a thumb (`VScrollButton`). Dragging the
// thumb, or pressing the track, reports the thumb's position as a percentage of the track height.
class ScrollTrack : public QWidget {
    Q_OBJECT
  public:
    ScrollTrack(QWidget* parent, int thumbWidth, int thumbHeight);
    // The track's box in the parent; the widget is as wide as the thumb, which overhangs the
    // track on both sides.
    void place(int x, int y, int trackWidth, int trackHeight);
    // Thumb top relative to the track's top.
    int thumbOffset() const { return thumbTop_; }
    void setThumbOffset(int offset);

  Q_SIGNALS:
    void scrolled(int percent);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void dragTo(int y);

    QWidget* thumb_ = nullptr;
    int trackWidth_ = 0;
    int thumbTop_ = 0;
    int anchor_ = 0;
    bool dragging_ = false;
};

// A picture shown stretched, proportional and centred in the control's box.
class PreviewImage : public QWidget {
    Q_OBJECT
  public:
    PreviewImage(const QString& objectName, QWidget* parent);
    void setPicture(QImage picture);
    const QImage& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QImage picture_;
};

// The current folder over the columns: a long path loses its start ("...ures/2026/"), so the
// folder the user is in stays readable. text() is the whole path.
class FolderLabel : public QWidget {
    Q_OBJECT
  public:
    FolderLabel(const QString& objectName, QWidget* parent);
    void setText(const QString& text);
    void clear() { setText(QString()); }
    QString text() const { return text_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QString text_;
};

// A format option of the save dialog: its mark (on, off, pressed, inactive) and caption.
class OptionMark : public QWidget {
    Q_OBJECT
  public:
    enum class Look { On, Off, Down, Inactive };
    OptionMark(const QString& objectName, const QString& caption, QWidget* parent);
    void setLook(Look look);
    Look look() const { return look_; }
    QString caption() const { return caption_; }

  Q_SIGNALS:
    void clicked();
    // Released after a press: the dialog shows "on" or "off" by its flag.
    void released();

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QString caption_;
    Look look_ = Look::Off;
};

}  // namespace mozu
