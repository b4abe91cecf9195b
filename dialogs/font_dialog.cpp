#include "dialogs/font_dialog.h"

#include <algorithm>

#include <QCloseEvent>
#include <QFontDatabase>
#include <QPainter>

#include "dialogs/choice_list.h"
#include "dialogs/dialog_layout.h"
#include "dialogs/dialog_widgets.h"
#include "dialogs/font_sample.h"
#include "skin/picture_key.h"
#include "skin/pixel_font.h"
#include "skin/rounded_case.h"
#include "skin/theme.h"

namespace mozu {

namespace {

// The dialog's own look: a dark case; the four lists side by side with their thumbs, the style
// keys under the colour lists, the samples on a neutral panel (so that dark and light palette
// colours both show), then Accept and Cancel.
constexpr int kWidth = 500, kHeight = 346;
constexpr int kListTop = 40;
constexpr QRect kFontList(20, kListTop, 190, 176);
constexpr QRect kSizeList(252, kListTop, 40, 176);
constexpr QRect kTextList(334, kListTop, 40, 104);
constexpr QRect kShadowList(416, kListTop, 40, 104);
constexpr int kTrackWidth = 12;
constexpr QRect kSamplePanel(20, 226, 450, 76);
constexpr int kItemHeights[] = {16, 12, 13, 13};

QColor ToQColor(Colour c) {
    return QColor(Red(c), Green(c), Blue(c));
}

QPixmap Background() {
    QPixmap picture = RoundedCase(kWidth, kHeight, 20);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Theme::DimTextColour());
    painter.setFont(Theme::Font(11, false));
    const auto caption = [&](const QRect& list, const char* text) {
        painter.drawText(QRect(list.x(), list.y() - 18, 120, 16), Qt::AlignLeft, text);
    };
    caption(kFontList, "Font");
    caption(kSizeList, "Size");
    caption(kTextList, "Text");
    caption(kShadowList, "Shadow");
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(104, 108, 120));
    painter.drawRoundedRect(kSamplePanel, 6, 6);
    return picture;
}

}  // namespace

FontDialog::FontDialog(QWidget* parent) : SkinnedWindow(Dragging::SystemMoveFirst, parent) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setObjectName("TFontDialog");
    setWindowTitle("Font");
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setShape(RoundedCaseShape(kWidth, kHeight, 20));
    setBackground(Background());
    const std::vector<int> sizes = FontSizes();
    sizes_.assign(sizes.begin(), sizes.end());
    createControls();
    hide();
}

FontDialog::~FontDialog() = default;

void FontDialog::createControls() {
    const QRect places[kLists] = {kFontList, kSizeList, kTextList, kShadowList};
    for (int i = 0; i < kLists; ++i) {
        const List list = static_cast<List>(i);
        auto* box = new ChoiceList(QStringLiteral("ListBox%1").arg(i + 1), kItemHeights[i], this);
        box->setGeometry(places[i]);
        connect(box, &ChoiceList::rowChosen, this, [this, list](int row) { choose(list, row); });
        lists_[static_cast<std::size_t>(i)] = box;

        auto* track =
            new ScrollTrack(this, dialog_layout::kThumbWidth, dialog_layout::kThumbHeight);
        track->setObjectName(QStringLiteral("Vertical%1").arg(i + 1));
        if (auto* button = track->findChild<QWidget*>("VScrollButton"))
            button->setObjectName(QStringLiteral("VScrollButton%1").arg(i + 1));
        track->place(places[i].right() + 12, places[i].y(), kTrackWidth, places[i].height());
        connect(track, &ScrollTrack::scrolled, this, [this, list](int) { thumbMoved(list); });
        tracks_[static_cast<std::size_t>(i)] = track;
    }
    lists_[Fonts]->setRowPainter(
        [this](QPainter& p, const QRect& box, int row, bool) { paintFontRow(p, box, row); });
    lists_[Sizes]->setRowPainter([this](QPainter& p, const QRect& box, int row, bool) {
        p.setPen(Theme::TextColour());
        p.setFont(Theme::Font(10, false));
        p.drawText(box.adjusted(4, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::number(sizes_[static_cast<std::size_t>(row)]));
    });
    for (List list : {TextColours, ShadowColours})
        lists_[list]->setRowPainter([this](QPainter& p, const QRect& box, int row, bool selected) {
            paintColourRow(p, box, row);
            if (selected) {
                p.setPen(Theme::TextColour());
                p.setBrush(Qt::NoBrush);
                p.drawRect(box.adjusted(1, 0, -2, -1));
            }
        });

    sample_ = new FontSample("Label1", this);
    sample_->setGeometry(kSamplePanel.x(), kSamplePanel.y() + 2, kSamplePanel.width(), 40);
    shadowSample_ = new FontSample("Label2", this);
    shadowSample_->setGeometry(kSamplePanel.x(), kSamplePanel.y() + 42, kSamplePanel.width(), 32);

    const auto makeKey = [this](const char* name, const char* caption, const char* up,
                                const char* down, int x, int y) {
        auto* key = new PictureKey(name, this);
        key->setPictures(up, down);
        key->setCaption(caption);
        key->move(x, y);
        return key;
    };
    boldKey_ = makeKey("Key01", "B", "SmallKeyUp", "SmallKeyDown", 334, 156);
    italicKey_ = makeKey("Key02", "I", "SmallKeyUp", "SmallKeyDown", 376, 156);
    underlineKey_ = makeKey("Key03", "U", "SmallKeyUp", "SmallKeyDown", 418, 156);
    shadowKey_ = makeKey("Key04", "Shadow", "BlackKeyUp", "BlackKeyDown", 334, 186);
    acceptKey_ = makeKey("Key05", "OK", "BlackKeyUp", "BlackKeyDown", 246, 312);
    cancelKey_ = makeKey("Key06", "Cancel", "BlackKeyUp", "BlackKeyDown", 362, 312);
    boldKey_->setToolTip("Bold");
    italicKey_->setToolTip("Italic");
    underlineKey_->setToolTip("Underline");
    connect(boldKey_, &PictureKey::clicked, this, [this] { toggleStyle(&FontChoice::bold); });
    connect(italicKey_, &PictureKey::clicked, this, [this] { toggleStyle(&FontChoice::italic); });
    connect(underlineKey_, &PictureKey::clicked, this,
            [this] { toggleStyle(&FontChoice::underline); });
    connect(shadowKey_, &PictureKey::clicked, this, [this] {
        choice_.shadow = !choice_.shadow;
        showThumbs();
        updateSamples();
        updateKeys();
    });
    connect(acceptKey_, &PictureKey::clicked, this, [this] { finish(true); });
    connect(cancelKey_, &PictureKey::clicked, this, [this] { finish(false); });
}

void FontDialog::fillFontNames() {
    QStringList families;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family) && family != kDefaultFontName)
            families << family;
    families << kDefaultFontName;
    families.removeDuplicates();
    std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    names_ = families;
    symbol_.clear();
    for (const QString& name : names_)
        symbol_.push_back(name != kDefaultFontName &&
                          QFontDatabase::writingSystems(name).contains(QFontDatabase::Symbol));
}

bool FontDialog::isSymbolFont(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < symbol_.size() &&
           symbol_[static_cast<std::size_t>(row)];
}

void FontDialog::paintFontRow(QPainter& p, const QRect& box, int row) const {
    const QString& name = names_[row];
    // A symbol font's own letters would not spell its name: it is named in the default font,
    // with a mark.
    QFont font = isSymbolFont(row) ? Theme::Font(12, false) : QFont(name);
    if (name == kDefaultFontName) font = Theme::Font(12, false);
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(Theme::TextColour());
    QRect text = box.adjusted(4, 0, -4, 0);
    if (isSymbolFont(row)) {
        p.save();
        p.setFont(Theme::Font(9, false));
        p.setPen(Theme::DimTextColour());
        p.drawText(text, Qt::AlignRight | Qt::AlignVCenter, "symbol");
        p.restore();
        text.adjust(0, 0, -40, 0);
    }
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(name, Qt::ElideRight, text.width()));
}

void FontDialog::paintColourRow(QPainter& p, const QRect& box, int row) const {
    if (static_cast<std::size_t>(row) >= palette_.size()) return;
    p.fillRect(box.adjusted(3, 2, -4, -2), ToQColor(palette_[static_cast<std::size_t>(row)]));
}

std::optional<FontChoice> FontDialog::start(const FontChoice& current,
                                            const std::vector<Colour>& palette, Colour pen,
                                            Colour fill) {
    palette_ = palette;
    choice_ = current;
    StartFontChoice(choice_, palette_, pen, fill);
    accepted_ = false;

    fillFontNames();
    lists_[Fonts]->setCount(static_cast<int>(names_.size()));
    lists_[Sizes]->setCount(static_cast<int>(sizes_.size()));
    lists_[TextColours]->setCount(static_cast<int>(palette_.size()));
    lists_[ShadowColours]->setCount(static_cast<int>(palette_.size()));

    const QString family =
        choice_.family.empty() ? kDefaultFontName : QString::fromStdString(choice_.family);
    int fontRow = static_cast<int>(names_.indexOf(family));
    if (fontRow < 0) fontRow = static_cast<int>(names_.indexOf(kDefaultFontName));
    const auto size = std::find(sizes_.begin(), sizes_.end(), choice_.size);
    choice_.family = names_[fontRow].toStdString();
    choice_.size = size == sizes_.end() ? 0 : *size;
    lists_[Fonts]->setSelected(fontRow);
    lists_[Sizes]->setSelected(static_cast<int>(size == sizes_.end() ? 0 : size - sizes_.begin()));
    lists_[TextColours]->setSelected(choice_.textColour);
    lists_[ShadowColours]->setSelected(choice_.shadowColour);
    for (int i = 0; i < kLists; ++i) placeThumb(static_cast<List>(i));
    showThumbs();
    updateSamples();
    updateKeys();

    open_ = true;
    show();
    raise();
    activateWindow();
    WaitFor(&FontDialog::done);
    if (!accepted_) return std::nullopt;
    return choice_;
}

void FontDialog::choose(List list, int row) {
    ChoiceList* box = lists_[list];
    if (row < 0 || row >= box->count()) return;
    switch (list) {
        case Fonts:
            choice_.family = names_[row].toStdString();
            break;
        case Sizes:
            choice_.size = sizes_[static_cast<std::size_t>(row)];
            break;
        case TextColours:
            choice_.textColour = row;
            break;
        case ShadowColours:
            choice_.shadowColour = row;
            break;
        case kLists:
            return;
    }
    if (box->selected() != row) box->setSelected(row);
    placeThumb(list);
    updateSamples();
}

void FontDialog::thumbMoved(List list) {
    ScrollTrack* track = tracks_[list];
    ChoiceList* box = lists_[list];
    const int offset = track->thumbOffset();
    const int row = IndexForThumbOffset(offset, track->height(), box->count());
    choose(list, row);
    // The thumb stays under the mouse rather than jumping to the row's own place.
    track->setThumbOffset(offset);
}

void FontDialog::placeThumb(List list) {
    ChoiceList* box = lists_[list];
    ScrollTrack* track = tracks_[list];
    track->setThumbOffset(
        ThumbOffsetForIndex(std::max(0, box->selected()), box->count(), track->height()));
}

void FontDialog::showThumbs() {
    lists_[ShadowColours]->setVisible(choice_.shadow);
    shadowSample_->setVisible(choice_.shadow);
    for (int i = 0; i < kLists; ++i) {
        const ChoiceList* box = lists_[static_cast<std::size_t>(i)];
        tracks_[static_cast<std::size_t>(i)]->setVisible(
            box->isVisibleTo(this) &&
            ListNeedsThumb(box->count(), box->itemHeight(), box->height()));
    }
}

void FontDialog::toggleStyle(bool FontChoice::*flag) {
    choice_.*flag = !(choice_.*flag);
    updateSamples();
    updateKeys();
}

void FontDialog::updateSamples() {
    const QString name = QString::fromStdString(choice_.family);
    const QFont font =
        PixelFont(name, choice_.size, choice_.bold, choice_.italic, choice_.underline);
    const auto colour = [this](int index) {
        return index >= 0 && static_cast<std::size_t>(index) < palette_.size()
                   ? ToQColor(palette_[static_cast<std::size_t>(index)])
                   : Theme::TextColour();
    };
    sample_->setSample(name, font, colour(choice_.textColour));
    // The shadow's sample shows the colour the shadow will be drawn in.
    shadowSample_->setSample(name, font, colour(choice_.shadowColour));
}

void FontDialog::updateKeys() {
    boldKey_->setCurrent(choice_.bold);
    italicKey_->setCurrent(choice_.italic);
    underlineKey_->setCurrent(choice_.underline);
    shadowKey_->setCurrent(choice_.shadow);
}

void FontDialog::finish(bool accepted) {
    if (!open_) return;
    open_ = false;
    accepted_ = accepted;
    hide();
    Q_EMIT done();
}

void FontDialog::closeEvent(QCloseEvent* event) {
    // The window manager's close is Cancel: the editor is enabled again and keeps its font.
    event->ignore();
    finish(false);
}

}  // namespace mozu
