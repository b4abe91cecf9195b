#pragma once
// ColourDialog: gives one palette swatch of the editor another colour. It offers the colours
// the slot may use (Shape1-Shape27), previews the change live in the editor, and then replaces
// the old colour by the new one (Key01), exchanges the two in the picture and the palette
// (Key02), or cancels (Key03, or the window manager's close). ColorShape0 and ColorShape2 show
// the old colour, ColorShape1 and ColorShape3 the new one.

#include <array>
#include <functional>
#include <vector>

#include "colour/picture.h"
#include "skin/skinned_window.h"

namespace mozu {

class EditorModel;
class PictureKey;
class SkinLabel;
class Swatch;

class ColourDialog : public SkinnedWindow {
    Q_OBJECT
  public:
    explicit ColourDialog(QWidget* parent = nullptr);
    ~ColourDialog() override;

    // Shows the dialog for `swatch` of the editor's model with the `offered` colours (at most
    // 27) and returns when it is closed. `refresh` shows the editor again after each preview
    // and after the change.
    void start(EditorModel& model, int swatch, const std::vector<Colour>& offered,
               std::function<void()> refresh);
    // The colour a Replace or Exchange would now give the swatch.
    Colour newColour() const { return newColour_; }

  Q_SIGNALS:
    void done();

  protected:
    void closeEvent(QCloseEvent*) override;

  private:
    void pick(int index);
    void replace();
    void exchange();
    void cancel();
    void finish();

    std::array<Swatch*, 27> shapes_{};
    std::array<Swatch*, 4> indicators_{};
    SkinLabel* caption_ = nullptr;
    PictureKey* replaceKey_ = nullptr;
    PictureKey* exchangeKey_ = nullptr;
    PictureKey* cancelKey_ = nullptr;

    EditorModel* model_ = nullptr;
    int swatch_ = 0;
    std::vector<Colour> offered_;
    Colour oldColour_ = 0, newColour_ = 0;
    std::function<void()> refresh_;
};

}  // namespace mozu
