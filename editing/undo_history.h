#pragma once
// The editor's undo history: up to ten earlier states, each a whole copy of the working picture
// with the palette it was drawn in (a colour change recolours pixels and palette together, so
// an undo must restore both), and the states undone since the last change, for redo.
//
// The tools save a point before they change the picture. Undo hands back the newest point and
// keeps the state it replaces for redo; a new point forgets what was undone.

#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

#include "colour/picture.h"
#include "editing/edit_palette.h"

namespace mozu {

struct EditSnapshot {
    Picture picture;
    EditPalette palette{};
    bool operator==(const EditSnapshot&) const = default;
};

class UndoHistory {
  public:
    static constexpr int kDepth = 10;

    // Pushes `state`; at ten points the oldest is dropped. Clears what could be redone.
    void save(const EditSnapshot& state);
    // The newest point, which replaces `current`; `current` is kept for redo. Nothing with an
    // empty history.
    std::optional<EditSnapshot> undo(const EditSnapshot& current);
    // The state the last undo replaced; `current` goes back on the undo side. Nothing when no
    // undo is pending.
    std::optional<EditSnapshot> redo(const EditSnapshot& current);

    int undoCount() const { return static_cast<int>(undo_.size()); }
    int redoCount() const { return static_cast<int>(redo_.size()); }
    // Ends an edit: every copy is freed.
    void clear();

  private:
    // Copies into a snapshot whose buffer may be reused (the oldest, dropped one) rather than
    // allocating a new picture for every point.
    static void assign(EditSnapshot& target, const EditSnapshot& state);
    void push(const EditSnapshot& state);

    std::deque<EditSnapshot> undo_;
    std::vector<EditSnapshot> redo_;
};

}  // namespace mozu
