#pragma once
// A list without a scroll bar of its own (the font dialog scrolls it with a thumb beside it):
// rows of one height drawn by the owner, one selected row kept in view and highlighted. A
// click selects a row; the wheel moves the selection by a row.

#include <functional>

#include <QWidget>

namespace mozu {

class ChoiceList : public QWidget {
    Q_OBJECT
  public:
    // Draws row `row` into `box`; `selected` says whether it is the selected row.
    using RowPainter = std::function<void(QPainter&, const QRect& box, int row, bool selected)>;

    ChoiceList(const QString& objectName, int itemHeight, QWidget* parent);

    void setRowPainter(RowPainter painter) { painter_ = std::move(painter); }
    // A new number of rows: no row selected, the first row on top.
    void setCount(int count);
    int count() const { return count_; }
    int itemHeight() const { return itemHeight_; }

    // The selected row (-1 none); selecting a row scrolls it into view.
    void setSelected(int row);
    int selected() const { return selected_; }
    int topRow() const { return top_; }
    int visibleRows() const;
    // Where a row is drawn now, in the list's coordinates (empty when it is out of view).
    QRect rowRect(int row) const;

  Q_SIGNALS:
    // The user chose a row (a click, or the wheel).
    void rowChosen(int row);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    RowPainter painter_;
    int itemHeight_;
    int count_ = 0;
    int selected_ = -1;
    int top_ = 0;
};

}  // namespace mozu
