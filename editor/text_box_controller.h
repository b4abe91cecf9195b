#pragma once
// The editor window's side of the text tool: when the model opens a text box, the font dialog
// is asked for the box's font and colours, the caret blinks (Timer1 hides it, Timer2 shows it,
// 500 ms each), and the window's keys go to the box (characters of the Western set, Backspace,
// Enter, Escape, the arrows, Delete) instead of the window's shortcuts. The box and its caret
// are drawn over the view; the picture gets the text only when the model puts it down.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>

#include "colour/picture.h"
#include "editing/font_choice.h"

class QPainter;
class QTimer;
class QWidget;

namespace mozu {

class EditorModel;
class QtTextPainter;

class TextBoxController : public QObject {
    Q_OBJECT
  public:
    // Shows the font dialog on the last choice with the palette colours, pen and fill colours;
    // returns the accepted choice, or none when it was cancelled.
    using FontChooser = std::function<std::optional<FontChoice>(
        const FontChoice&, const std::vector<Colour>&, Colour pen, Colour fill)>;

    // While a box is open, the keys of `window` and of every control on it go to the box.
    TextBoxController(EditorModel& model, QWidget& window, QWidget& canvas);
    ~TextBoxController() override;

    void setFontChooser(FontChooser chooser) { chooser_ = std::move(chooser); }
    // After anything that may have opened or closed the box: a box just opened takes the
    // focus, starts its caret and asks for its font; a closed box stops the caret.
    void sync();
    // Draws the open box (its key colour transparent) and the caret over the view.
    void paint(QPainter& painter) const;

    bool caretShown() const { return caretShown_; }
    const FontChoice& fontChoice() const { return choice_; }
    const QtTextPainter& font() const { return *font_; }

  Q_SIGNALS:
    // The box, its caret or the picture changed: the view is shown again.
    void changed();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void chooseFont();
    void applyFont(std::unique_ptr<QtTextPainter> font);
    bool key(int qtKey, const QString& text, Qt::KeyboardModifiers modifiers);
    void stopCaret();
    void restartCaret();

    EditorModel& model_;
    QWidget& window_;
    QWidget& canvas_;
    FontChooser chooser_;
    FontChoice choice_;
    std::unique_ptr<QtTextPainter> font_;
    QTimer* hideTimer_ = nullptr;  // Timer1
    QTimer* showTimer_ = nullptr;  // Timer2
    bool caretShown_ = false;
    bool open_ = false;
};

}  // namespace mozu
