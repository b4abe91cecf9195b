#include "editing/editor_model.h"

#include <algorithm>
#include <stdexcept>

namespace mozu {

namespace {

constexpr Colour kNewAreaColour = MakeColour(255, 255, 255);

std::string PointText(PixelPoint p) {
    return "(" + std::to_string(p.x) + "." + std::to_string(p.y) + ")";
}

// A colour that was swatch i's before a step and is nobody's after it becomes swatch i's new
// colour, so the pen and fill never hold a colour the palette lost.
Colour FollowSwatch(Colour c, const EditPalette& before, const EditPalette& after) {
    if (std::find(after.begin(), after.end(), c) != after.end()) return c;
    const auto it = std::find(before.begin(), before.end(), c);
    if (it == before.end()) return c;
    return after[static_cast<std::size_t>(it - before.begin())];
}

}  // namespace

void EditorModel::open(Slot slot, const Picture& picture, const EditPalette& palette,
                       UndoHistory& history, int windowWidth, int windowHeight) {
    const std::optional<EditGeometry> geometry = EditGeometryOf(slot);
    if (!geometry)
        throw std::invalid_argument("no editor for slot " + std::to_string(SlotNumber(slot)));
    history_ = &history;
    history_->clear();
    selection_ = {};
    preview_.reset();
    held_ = false;

    slot_ = slot;
    geometry_ = *geometry;
    palette_ = palette;
    fill_ = palette_[0];
    pen_ = palette_[1];
    settings_.filled = true;

    if (geometry_.width == 0 ||
        (picture.width() == geometry_.width && picture.height() == geometry_.height)) {
        picture_ = picture;
    } else {
        picture_.reset(geometry_.width, geometry_.height, kNewAreaColour);
        picture_.draw(picture, 0, 0);
    }
    view_.reset(picture_.width(), picture_.height(), geometry_.xScale, geometry_.yScale);
    status_ = "XY:" + std::to_string(windowWidth) + "x" + std::to_string(windowHeight);
    tool_ = Tool::None;
    saveUndoPoint();
}

EditSnapshot EditorModel::close() {
    EditSnapshot result = snapshot();
    if (history_) history_->clear();
    history_ = nullptr;
    selection_ = {};
    preview_.reset();
    held_ = false;
    tool_ = Tool::None;
    view_.scrollHome();
    view_.setZoomAllowed(true);
    view_.setScrollAllowed(true);
    return result;
}

Colour EditorModel::shownSwatch(int i) const {
    if (preview_ && preview_->swatch == i) return preview_->newColour;
    return palette_[static_cast<std::size_t>(i)];
}

bool EditorModel::pressSwatch(int i, MouseButton button) {
    if (!swatchVisible(i)) return false;
    (button == MouseButton::Left ? pen_ : fill_) = palette_[static_cast<std::size_t>(i)];
    return true;
}

bool EditorModel::thinner() {
    if (settings_.penWidth <= DrawingSettings::kMinWidth) return false;
    --settings_.penWidth;
    return true;
}

bool EditorModel::thicker() {
    if (settings_.penWidth >= DrawingSettings::kMaxWidth) return false;
    ++settings_.penWidth;
    return true;
}

EditSnapshot EditorModel::snapshot() const {
    return {picture_, palette_};
}

void EditorModel::restore(EditSnapshot state) {
    pen_ = FollowSwatch(pen_, palette_, state.palette);
    fill_ = FollowSwatch(fill_, palette_, state.palette);
    picture_ = std::move(state.picture);
    palette_ = state.palette;
    view_.setPictureSize(picture_.width(), picture_.height());
}

void EditorModel::saveUndoPoint() {
    if (history_) history_->save(snapshot());
}

bool EditorModel::undo() {
    if (!history_ || held_) return false;
    std::optional<EditSnapshot> state = history_->undo(snapshot());
    if (!state) return false;
    restore(std::move(*state));
    return true;
}

bool EditorModel::redo() {
    if (!history_ || held_) return false;
    std::optional<EditSnapshot> state = history_->redo(snapshot());
    if (!state) return false;
    restore(std::move(*state));
    return true;
}

ShapeStyle EditorModel::shapeStyle() const {
    return {pen_, fill_, settings_.penWidth, settings_.outline, settings_.filled};
}

void EditorModel::drawShape(PixelPoint a, PixelPoint b, DrawMode mode) {
    switch (tool_) {
        case Tool::Line:
            if (settings_.outline) DrawLine(picture_, a, b, pen_, settings_.penWidth, mode);
            break;
        case Tool::Rectangle:
            DrawRectangle(picture_, a, b, shapeStyle(), mode);
            break;
        case Tool::Ellipse:
            DrawEllipse(picture_, a, b, shapeStyle(), mode);
            break;
        default:
            break;
    }
}

void EditorModel::setDragStatus() {
    status_ = "XY:" + PointText(start_) + PointText(current_);
}

void EditorModel::press(PixelPoint p, MouseButton button) {
    if (!isOpen() || held_) return;
    held_ = true;
    start_ = current_ = previous_ = penPosition_ = p;
    if (tool_ == Tool::Freehand) {
        saveUndoPoint();
        // The press sets its own pixel, whatever the width and the outline.
        if (p.x >= 0 && p.y >= 0 && p.x < picture_.width() && p.y < picture_.height())
            picture_.setPixel(p.x, p.y, pen_);
    }
    if (selection_.active) {
        const bool inside = p.x >= selection_.left && p.x <= selection_.right &&
                            p.y >= selection_.top && p.y <= selection_.bottom;
        if (button == MouseButton::Left && inside) {
            // The selection tools take the press over (moving, a text box).
            held_ = false;
            return;
        }
        selection_ = {};
    }
}

void EditorModel::move(PixelPoint p) {
    if (!held_) return;
    previous_ = current_;
    current_ = p;
    setDragStatus();
    switch (tool_) {
        case Tool::Line:
        case Tool::Rectangle:
        case Tool::Ellipse:
            // The last preview goes (inverting twice gives the pixels back), the new one comes.
            drawShape(start_, previous_, DrawMode::Invert);
            drawShape(start_, current_, DrawMode::Invert);
            break;
        case Tool::Freehand:
            if (settings_.outline)
                DrawLine(picture_, penPosition_, current_, pen_, settings_.penWidth,
                         DrawMode::Replace);
            penPosition_ = current_;
            break;
        default:
            break;
    }
}

void EditorModel::release(PixelPoint p) {
    if (!held_) return;
    previous_ = current_;
    current_ = p;
    setDragStatus();
    switch (tool_) {
        case Tool::Line:
        case Tool::Rectangle:
        case Tool::Ellipse:
            drawShape(start_, previous_, DrawMode::Invert);
            saveUndoPoint();
            drawShape(start_, current_, DrawMode::Replace);
            break;
        case Tool::Freehand:
            if (settings_.outline)
                DrawLine(picture_, penPosition_, current_, pen_, settings_.penWidth,
                         DrawMode::Replace);
            penPosition_ = current_;
            break;
        case Tool::Fill:
            saveUndoPoint();
            if (settings_.filled) FloodFill(picture_, start_, pen_);
            break;
        default:
            break;
    }
    held_ = false;
}

void EditorModel::hover(PixelPoint p) {
    if (held_ || !isOpen()) return;
    status_ = "XY:" + PointText(p);
}

void EditorModel::previewColour(int swatch, Colour newColour) {
    if (swatch < 0 || swatch >= kEditorSwatches) return;
    preview_ = ColourPreview{swatch, palette_[static_cast<std::size_t>(swatch)], newColour};
}

void EditorModel::replaceColour(int swatch, Colour newColour) {
    preview_.reset();
    if (swatch < 0 || swatch >= kEditorSwatches) return;
    const Colour old = palette_[static_cast<std::size_t>(swatch)];
    if (old == newColour) return;
    saveUndoPoint();
    ReplaceColour(picture_, old, newColour);
    palette_[static_cast<std::size_t>(swatch)] = newColour;
    // Later drawing must not write the colour that left the picture.
    if (pen_ == old) pen_ = newColour;
    if (fill_ == old) fill_ = newColour;
}

void EditorModel::exchangeColour(int swatch, Colour newColour) {
    preview_.reset();
    if (swatch < 0 || swatch >= kEditorSwatches) return;
    const Colour old = palette_[static_cast<std::size_t>(swatch)];
    if (old == newColour) return;
    saveUndoPoint();
    const EditPalette before = palette_;
    for (Colour& c : palette_)
        if (c == newColour) c = old;
    palette_[static_cast<std::size_t>(swatch)] = newColour;
    ExchangeColours(picture_, old, newColour);
    pen_ = FollowSwatch(pen_, before, palette_);
    fill_ = FollowSwatch(fill_, before, palette_);
}

}  // namespace mozu
