#pragma once
// The command line's answers to the core's questions: the exact-colour question from the
// options, the overwrite question from --force. Nothing is asked interactively: a name request
// (after an overwrite was refused) fails the command.

#include <string>

#include "platform/asker.h"

namespace mozu::cli {

class CliAsker : public Asker {
  public:
    CliAsker(bool exactColours, bool force) : exactColours_(exactColours), force_(force) {}
    bool askYesNo(const std::string& text) override;
    std::optional<std::string> askName(const std::string& prompt, int maxLength) override;
    void notify(const std::string& text) override;

  private:
    bool exactColours_;
    bool force_;
    std::string lastQuestion_;
};

}  // namespace mozu::cli
