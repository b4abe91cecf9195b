#pragma once
// How the core puts a question to the user without knowing about windows: the GUI answers
// through the message window, the command-line tool from its options, tests from a script.

#include <optional>
#include <string>

namespace mozu {

class Asker {
  public:
    virtual ~Asker() = default;
    // A yes/no question (message kind 0); true for yes.
    virtual bool askYesNo(const std::string& text) = 0;
    // A name request (message kind 4) such as "Enter new filename"; maxLength 0 means any length.
    // nullopt when the user gave no answer (the GUI never does that; scripted askers may).
    virtual std::optional<std::string> askName(const std::string& prompt, int maxLength) = 0;
    // A notice (message kind 2), such as "Conversion successfull".
    virtual void notify(const std::string& text) = 0;
};

}  // namespace mozu
