#include "editing/undo_history.h"

namespace mozu {

void UndoHistory::assign(EditSnapshot& target, const EditSnapshot& state) {
    target.picture = state.picture;  // reuses target's buffer when it is large enough
    target.palette = state.palette;
}

void UndoHistory::push(const EditSnapshot& state) {
    if (static_cast<int>(undo_.size()) == kDepth) {
        // The oldest state is lost; its buffer takes the new one.
        EditSnapshot oldest = std::move(undo_.front());
        undo_.pop_front();
        assign(oldest, state);
        undo_.push_back(std::move(oldest));
        return;
    }
    undo_.push_back(state);
}

void UndoHistory::save(const EditSnapshot& state) {
    push(state);
    redo_.clear();
}

std::optional<EditSnapshot> UndoHistory::undo(const EditSnapshot& current) {
    if (undo_.empty()) return std::nullopt;
    EditSnapshot restored = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(current);
    return restored;
}

std::optional<EditSnapshot> UndoHistory::redo(const EditSnapshot& current) {
    if (redo_.empty()) return std::nullopt;
    EditSnapshot restored = std::move(redo_.back());
    redo_.pop_back();
    push(current);
    return restored;
}

void UndoHistory::clear() {
    undo_.clear();
    redo_.clear();
    undo_.shrink_to_fit();
    redo_.shrink_to_fit();
}

}  // namespace mozu
