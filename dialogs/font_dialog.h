#pragma once
// FontDialog: chooses the font, size, style, text colour and shadow of the editor's text box.
// It opens each time a text box opens, on the last choice, with the text colour on the editor's
// pen colour and the shadow colour on its fill colour, and stays on top while open.
//
// Controls (object names): ListBox1 the font families ("Default" and the installed ones, symbol
// fonts marked and named in the default font), ListBox2 the sizes, ListBox3 the text colours and
// ListBox4 the shadow colours (one per palette colour of the slot; shown with the shadow on).
// None has a scroll bar: the thumbs VScrollButton1-VScrollButton4 on the tracks
// Vertical1-Vertical4 scroll and select, shown only where a list's entries overflow it. Label1
// shows a sample in the chosen font and text colour, Label2 the shadow's. Key01 bold, Key02
// italic, Key03 underline, Key04 shadow, Key05 accept, Key06 cancel (as does the window
// manager's close).

#include <array>
#include <optional>
#include <vector>

#include <QStringList>

#include "editing/font_choice.h"
#include "skin/skinned_window.h"

class QLabel;

namespace mozu {

class ChoiceList;
class FontSample;
class PictureKey;
class ScrollTrack;

class FontDialog : public SkinnedWindow {
    Q_OBJECT
  public:
    explicit FontDialog(QWidget* parent = nullptr);
    ~FontDialog() override;

    // Shows the dialog on `current` with the editor's palette colours (as many as the slot's
    // colour count), pen and fill colours, and returns when it is closed: the accepted choice,
    // or none when it was cancelled.
    std::optional<FontChoice> start(const FontChoice& current, const std::vector<Colour>& palette,
                                    Colour pen, Colour fill);

    // What the dialog shows now (for tests and the caller).
    const FontChoice& choice() const { return choice_; }
    const QStringList& fontNames() const { return names_; }
    bool isSymbolFont(int row) const;

  Q_SIGNALS:
    void done();

  protected:
    void closeEvent(QCloseEvent*) override;

  private:
    enum List { Fonts, Sizes, TextColours, ShadowColours, kLists };

    void createControls();
    void fillFontNames();
    void paintFontRow(QPainter& p, const QRect& box, int row) const;
    void paintColourRow(QPainter& p, const QRect& box, int row) const;
    // A row chosen by a click, the wheel or a thumb: the choice and the samples follow it.
    void choose(List list, int row);
    void thumbMoved(List list);
    void placeThumb(List list);
    void showThumbs();
    void toggleStyle(bool FontChoice::*flag);
    void updateSamples();
    void updateKeys();
    void finish(bool accepted);

    std::array<ChoiceList*, kLists> lists_{};
    std::array<ScrollTrack*, kLists> tracks_{};
    FontSample* sample_ = nullptr;
    FontSample* shadowSample_ = nullptr;
    PictureKey* boldKey_ = nullptr;
    PictureKey* italicKey_ = nullptr;
    PictureKey* underlineKey_ = nullptr;
    PictureKey* shadowKey_ = nullptr;
    PictureKey* acceptKey_ = nullptr;
    PictureKey* cancelKey_ = nullptr;

    QStringList names_;
    std::vector<bool> symbol_;
    std::vector<int> sizes_;
    std::vector<Colour> palette_;
    FontChoice choice_;
    bool accepted_ = false;
    bool open_ = false;
};

}  // namespace mozu
