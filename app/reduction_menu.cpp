#include "app/reduction_menu.h"

#include <QActionGroup>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

#include "document/document.h"
#include "skin/skin_label.h"

namespace mozu {

namespace {

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The slots whose pens are fixed by their file format: the palette choice does not apply.
bool FixedPalette(Slot slot) {
    return slot == Slot::SgxCpc || slot == Slot::SgxCpcFree || slot == Slot::SgxMsx ||
           slot == Slot::SgxMsxFree;
}

}  // namespace

QString ReductionTooltip(const ReductionOptions& options) {
    return "Colour reduction: " + QString::fromStdString(DescribeReduction(options));
}

ReductionMenu::ReductionMenu(Document& document, const std::vector<std::pair<QWidget*, Slot>>& keys,
                             SkinLabel& description, QObject* parent)
    : QObject(parent), document_(document), keys_(keys), description_(description) {
    for (const auto& [key, slot] : keys_) key->installEventFilter(this);
    // The tooltip follows the slot on show.
    document_.addObserver([this](const DocumentChange& change) {
        using Kind = DocumentChange::Kind;
        if (change.kind == Kind::Converted || change.kind == Kind::SlotReshown ||
            change.kind == Kind::BlankMade)
            showTooltip(change.slot);
        else if (change.kind == Kind::Opened || change.kind == Kind::PictureClosed ||
                 change.kind == Kind::SourceShown || change.kind == Kind::SourceRefreshed)
            description_.setToolTipNote({});
    });
}

QMenu* ReductionMenu::makeMenu(Slot slot, QWidget* parent) {
    const ReductionOptions current = document_.reductionOptions(slot);
    auto* menu = new QMenu(parent);
    menu->setObjectName("ReductionMenu");
    auto* methods = new QActionGroup(menu);
    for (ReductionMethod m : kAllReductionMethods) {
        QAction* a = menu->addAction(Text(ReductionMethodName(m)));
        a->setObjectName(Text(ReductionMethodName(m)));
        a->setCheckable(true);
        a->setChecked(current.method == m);
        methods->addAction(a);
        connect(a, &QAction::triggered, this, [this, slot, m] {
            ReductionOptions o = document_.reductionOptions(slot);
            o.method = m;
            if (!o.errorDiffusion()) o.serpentine = false;
            if (m == ReductionMethod::Classic) o.space = ErrorSpace::OkLab;
            choose(slot, o);
        });
    }
    menu->addSeparator();
    auto toggle = [&](const char* name, const QString& text, bool checked, bool enabled,
                      auto change) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        a->setCheckable(true);
        a->setChecked(checked);
        a->setEnabled(enabled);
        connect(a, &QAction::toggled, this, [this, slot, change](bool on) {
            ReductionOptions o = document_.reductionOptions(slot);
            change(o, on);
            choose(slot, o);
        });
    };
    toggle("serpentine", "Serpentine", current.serpentine, current.errorDiffusion(),
           [](ReductionOptions& o, bool on) { o.serpentine = on; });
    toggle("rgb", "Error in RGB", current.space == ErrorSpace::Rgb,
           current.method != ReductionMethod::Classic, [](ReductionOptions& o, bool on) {
               o.space = on ? ErrorSpace::Rgb : ErrorSpace::OkLab;
           });
    toggle("clustering", "Pens by clustering", current.palette == PaletteChoice::Clustering,
           !FixedPalette(slot), [](ReductionOptions& o, bool on) {
               o.palette = on ? PaletteChoice::Clustering : PaletteChoice::Popularity;
           });
    return menu;
}

bool ReductionMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) return false;
    auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() != Qt::RightButton) return false;
    for (const auto& [key, slot] : keys_) {
        if (key != watched) continue;
        QMenu* menu = makeMenu(slot, key);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(press->globalPosition().toPoint());
        return true;
    }
    return false;
}

void ReductionMenu::choose(Slot slot, const ReductionOptions& options) {
    document_.setReductionOptions(slot, options);
    if (document_.state().currentSlot == slot && !document_.state().sourceShown) showTooltip(slot);
}

void ReductionMenu::showTooltip(Slot slot) {
    description_.setToolTipNote(ReductionTooltip(document_.reductionOptions(slot)));
}

}  // namespace mozu
