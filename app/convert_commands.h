#pragma once
// The main window's picture commands: a conversion key for each target, the adjustments, show
// source (close is a file command: it asks about unsaved pictures first). The document
// converts and adjusts; the main window shows what its notices say.

#include <functional>

#include "colour/slot.h"
#include "document/document.h"

namespace mozu {

class CommandContext;
class GuiAsker;
class IoError;

class ConvertCommands {
  public:
    ConvertCommands(Document& document, CommandContext& context);
    void attach(GuiAsker* asker) { asker_ = asker; }
    // What follows a blank picture made by a conversion key with no picture: the editor.
    void setBlankHandler(std::function<void()> handler) { onBlank_ = std::move(handler); }

    // The conversion key of `slot`.
    void convert(Slot slot);
    // An adjustment of the source, shown before and after; `area` is the window's size.
    void adjust(Adjustment adjustment, ContrastArea area);
    void showSource();

  private:
    Document& document_;
    CommandContext& context_;
    GuiAsker* asker_ = nullptr;
    std::function<void()> onBlank_;
};

}  // namespace mozu
