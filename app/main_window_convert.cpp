// MainWindow: the conversion commands, the adjustments, show source, close picture and the
// information picture. The core decides what to convert (colour/conversion_commands.h); the
// window shows the result.

#include <QApplication>

#include "app/gui_asker.h"
#include "app/main_window.h"
#include "app/picture_view.h"
#include "colour/conversion_commands.h"
#include "platform/io_error.h"
#include "skin/skin_label.h"

namespace mozu {

namespace {

// Puts "Processing" into Label4 before the first question. The window paints only while a
// question waits for its answer, so that is when the word can be seen; a conversion that
// asks nothing is over before the next paint, and then setting the word would only make the
// label paint twice for nothing.
class ProcessingAsker : public Asker {
  public:
    ProcessingAsker(Asker& inner, SkinLabel& label4) : inner_(inner), label4_(label4) {}
    bool askYesNo(const std::string& text) override {
        label4_.setText("Processing");
        return inner_.askYesNo(text);
    }
    std::optional<std::string> askName(const std::string& prompt, int maxLength) override {
        label4_.setText("Processing");
        return inner_.askName(prompt, maxLength);
    }
    void notify(const std::string& text) override {
        label4_.setText("Processing");
        inner_.notify(text);
    }

  private:
    Asker& inner_;
    SkinLabel& label4_;
};

}  // namespace

void MainWindow::ConvertCommand(int slot) {
    if (!asker_) return;
    ProcessingAsker asker(*asker_, *label4_);
    ConvertOutcome outcome;
    try {
        outcome = ConvertSlotCommand(state_, asker, slot, video_.loaded);
    } catch (const IoError& e) {
        label4_->setText("");
        ShowIoError(e);
        return;
    }
    if (outcome.nothing()) {  // no picture loaded and no blank picture for this slot
        label4_->setText("");
        return;
    }
    if (outcome.blank) {
        // A blank picture for drawing; the editor that opens on it comes with a later version.
        image1_->show();
        ShowCPCImage(slot, state_.picture(slot));
    } else {
        ShowCPCImage(slot, state_.picture(slot));
        if (outcome.levelSlot >= 0)
            ShowCPCImage(outcome.levelSlot, state_.picture(outcome.levelSlot));
    }
    if (outcome.label3) label3_->setText(QString::fromStdString(*outcome.label3));
    label4_->setText("");
}

void MainWindow::Key22Click() {
    StandardImage1Layout();
    ShowPicture(state_.source);
    state_.sourceShown = true;
    state_.currentSlot = kSourceSlot;
    label4_->setText("");
}

void MainWindow::Key10Click() {
    if (state_.noPicture) return;  // nothing to balance
    Key22Click();
    AutobalanceCommand(state_);
    ShowPicture(state_.source);
}

void MainWindow::ContrastKey(int percent) {
    if (state_.noPicture) return;
    // The adjustment works on the source: show it first, whatever was on show.
    RefreshImage();
    ContrastCommand(state_, percent);
    RefreshImage();
}

void MainWindow::BrightnessKey(int percent) {
    if (state_.noPicture) return;
    RefreshImage();
    BrightnessCommand(state_, percent);
    RefreshImage();
}

void MainWindow::Key23Click() {
    image1_->hide();
    state_.noPicture = true;
    update(image1_->geometry().adjusted(-2, -2, 2, 2) | QRect(216, 152, 368, 264));
}

void MainWindow::Key19Click() {
    image9_->show();
    image9_->raise();
}

void MainWindow::Image9Click() {
    image9_->hide();
}

void MainWindow::Key08Click() {
    // The editor is not part of this version; the key is disabled and does nothing.
}

}  // namespace mozu
