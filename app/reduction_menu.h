#pragma once
// The colour reduction menu of the conversion keys: a right press on a key opens a small menu of
// the reduction methods for the key's slot (the classic method ticked until another is chosen),
// the serpentine scan and RGB error of the new methods, and pens by clustering. The choice goes
// to the document, which keeps it per slot until the program ends; the target description
// (Label3) carries the method of the slot on show in its tooltip. Saved files record nothing of
// it.

#include <QObject>
#include <utility>
#include <vector>

#include "colour/reduction_options.h"
#include "colour/slot.h"

class QMenu;
class QWidget;

namespace mozu {

class Document;
class SkinLabel;

class ReductionMenu : public QObject {
  public:
    // `keys`: the conversion keys with their slots; `description`: Label3.
    ReductionMenu(Document& document, const std::vector<std::pair<QWidget*, Slot>>& keys,
                  SkinLabel& description, QObject* parent = nullptr);

    // The menu for `slot`, with the slot's options ticked; choosing an entry sets them. The
    // caller shows it (a right press pops it up under the mouse, non-blocking).
    QMenu* makeMenu(Slot slot, QWidget* parent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void choose(Slot slot, const ReductionOptions& options);
    void showTooltip(Slot slot);

    Document& document_;
    std::vector<std::pair<QWidget*, Slot>> keys_;
    SkinLabel& description_;
};

// "Colour reduction: " and the options' description, for the tooltip.
QString ReductionTooltip(const ReductionOptions& options);

}  // namespace mozu
