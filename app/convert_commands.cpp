#include "app/convert_commands.h"

#include "app/command_context.h"
#include "app/gui_asker.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

// Puts "Processing" into Label4 before the first question. The window paints only while a
// question waits for its answer, so that is when the word can be seen; a conversion that
// asks nothing is over before the next paint, and then setting the word would only make the
// label paint twice for nothing.
class ProcessingAsker : public Asker {
  public:
    ProcessingAsker(Asker& inner, CommandContext& context) : inner_(inner), context_(context) {}
    bool askYesNo(const std::string& text) override {
        context_.setStatus("Processing");
        return inner_.askYesNo(text);
    }
    std::optional<std::string> askName(const std::string& prompt, int maxLength) override {
        context_.setStatus("Processing");
        return inner_.askName(prompt, maxLength);
    }
    void notify(const std::string& text) override {
        context_.setStatus("Processing");
        inner_.notify(text);
    }

  private:
    Asker& inner_;
    CommandContext& context_;
};

}  // namespace

ConvertCommands::ConvertCommands(Document& document, CommandContext& context)
    : document_(document), context_(context) {}

void ConvertCommands::convert(Slot slot) {
    if (!asker_) return;
    ProcessingAsker asker(*asker_, context_);
    ConvertOutcome outcome;
    try {
        outcome = document_.convert(slot, asker);
    } catch (const IoError& e) {
        context_.setStatus("");
        asker_->showError(e);
        return;
    }
    if (outcome.description)
        context_.setTargetDescription(QString::fromStdString(*outcome.description));
    context_.setStatus("");
    // A blank picture is for drawing: the editor opens on it.
    if (outcome.blank && onBlank_) onBlank_();
}

void ConvertCommands::adjust(Adjustment adjustment, ContrastArea area) {
    if (!document_.hasPicture()) return;  // nothing to adjust
    // The adjustment works on the source: show it first, whatever was on show. Autobalance
    // shows it as the source key does; the others as it came from its file.
    if (adjustment == Adjustment::Autobalance) {
        showSource();
        document_.adjust(adjustment, area);
        return;
    }
    document_.refreshSource();
    document_.adjust(adjustment, area);
    document_.refreshSource();
}

void ConvertCommands::showSource() {
    document_.showSource();
    context_.setStatus("");
}

}  // namespace mozu
