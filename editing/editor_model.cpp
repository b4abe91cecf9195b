#include "editing/editor_model.h"

#include <algorithm>
#include <cmath>
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

// The model as the selection tools see it. A separate object, because the model's own view()
// is the zoom and scroll state the window drives.
class EditorModel::Host : public SelectionHost {
  public:
    explicit Host(EditorModel& model) : model_(model) {}
    Picture& workingPicture() override { return model_.picture_; }
    void saveUndoPoint() override { model_.saveUndoPoint(); }
    ViewMapping view() const override { return model_.viewMapping(); }
    Slot slot() const override { return model_.slot_; }
    std::vector<Colour> paletteColours() const override {
        const auto count =
            static_cast<std::size_t>(std::clamp(model_.colourCount(), 0, kEditorSwatches));
        return {model_.palette_.begin(), model_.palette_.begin() + count};
    }
    Colour fillColour() const override { return model_.fill_; }
    void afterCrop(bool keptSize) override { model_.afterCrop(keptSize); }

  private:
    EditorModel& model_;
};

EditorModel::EditorModel()
    : host_(std::make_unique<Host>(*this)), tools_(std::make_unique<SelectionTools>(*host_)) {}

EditorModel::~EditorModel() = default;

SelectionHost& EditorModel::selectionHost() {
    return *host_;
}

ViewMapping EditorModel::viewMapping() const {
    return {view_.zoom(),   view_.scrollX(), view_.scrollY(), view_.xScale(),
            view_.yScale(), kEditViewWidth,  kEditViewHeight};
}

void EditorModel::syncLocks() {
    const bool free = !tools_->floating() && !textBoxOpen();
    view_.setZoomAllowed(free);
    view_.setScrollAllowed(free);
}

void EditorModel::afterCrop(bool keptSize) {
    // Zoom 1 and the origin, at the cropped picture's size.
    view_.reset(picture_.width(), picture_.height(), geometry_.xScale, geometry_.yScale);
    if (keptSize) settings_.filled = true;
}

void EditorModel::clearSelection() {
    tools_->clearSelection();
}

void EditorModel::selectAll() {
    if (isOpen()) tools_->selectAll();
}

bool EditorModel::copy(EditorClipboard& clipboard) {
    if (!isOpen() || !tools_->copy(clipboard)) return false;
    tool_ = Tool::Copied;
    return true;
}

bool EditorModel::paste(EditorClipboard& clipboard) {
    if (!isOpen() || buttonHeld()) return false;
    const bool done = tools_->paste(clipboard);
    syncLocks();
    return done;
}

bool EditorModel::pasteImage(Picture image) {
    if (!isOpen() || buttonHeld()) return false;
    const bool done = tools_->pasteImage(std::move(image));
    syncLocks();
    return done;
}

bool EditorModel::crop() {
    if (!isOpen() || buttonHeld()) return false;
    tool_ = Tool::Cropped;
    const bool done = tools_->crop();
    syncLocks();
    return done;
}

bool EditorModel::deleteSelection() {
    return isOpen() && !buttonHeld() && tools_->deleteSelection();
}

void EditorModel::toggleTransparent() {
    if (isOpen()) tools_->toggleTransparent();
}

bool EditorModel::mirror(bool leftRight) {
    if (!isOpen() || buttonHeld() || !tools_->mirror(leftRight)) return false;
    tool_ = Tool::Moving;
    syncLocks();
    return true;
}

bool EditorModel::turn(bool clockwise) {
    if (!isOpen() || buttonHeld() || !tools_->turn(clockwise)) return false;
    tool_ = Tool::Moving;
    syncLocks();
    return true;
}

bool EditorModel::nudge(int dx, int dy) {
    return isOpen() && !draggingBlock() && tools_->nudge(dx, dy);
}

bool EditorModel::putDownBlock() {
    if (!isOpen() || draggingBlock()) return false;
    const bool done = tools_->putDown();
    syncLocks();
    return done;
}

bool EditorModel::draggingBlock() const {
    return (tools_->block() && tools_->block()->dragging()) ||
           (textBoxOpen() && text_->box()->dragging());
}

PixelPoint EditorModel::windowOf(PixelPoint p) const {
    return {static_cast<int>(std::floor(p.x * view_.xScale() * view_.zoom())) - view_.scrollX(),
            static_cast<int>(std::floor(p.y * view_.yScale() * view_.zoom())) - view_.scrollY()};
}

void EditorModel::open(Slot slot, const Picture& picture, const EditPalette& palette,
                       UndoHistory& history, int windowWidth, int windowHeight) {
    const std::optional<EditGeometry> geometry = EditGeometryOf(slot);
    if (!geometry)
        throw std::invalid_argument("no editor for slot " + std::to_string(SlotNumber(slot)));
    history_ = &history;
    history_->clear();
    tools_->cancel();
    if (text_) text_->cancel();
    preview_.reset();
    held_ = false;
    selecting_ = false;

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
    // A floating block and the text box are dropped unwritten, the selection ends.
    tools_->cancel();
    if (text_) text_->cancel();
    preview_.reset();
    held_ = false;
    selecting_ = false;
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
    if (!history_ || buttonHeld()) return false;
    if (textBoxOpen()) {
        // The open text box goes first, unwritten, as a floating block does.
        text_->cancel();
        tools_->clearSelection();
        syncLocks();
        return true;
    }
    if (tools_->floating()) {
        // The floating block is taken back first, unwritten: the picture is still as it was
        // before it floated.
        tools_->cancel();
        syncLocks();
        return true;
    }
    // The selection may not fit the picture that comes back (an undone crop).
    tools_->clearSelection();
    std::optional<EditSnapshot> state = history_->undo(snapshot());
    if (!state) return false;
    restore(std::move(*state));
    return true;
}

bool EditorModel::redo() {
    if (!history_ || buttonHeld() || tools_->floating() || textBoxOpen()) return false;
    tools_->clearSelection();
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

void EditorModel::pressAt(int windowX, int windowY, MouseButton button) {
    pressPixel(view_.pixelAt(windowX + view_.scrollX(), windowY + view_.scrollY()), button, windowX,
               windowY);
}

void EditorModel::moveAt(int windowX, int windowY) {
    movePixel(view_.pixelAt(windowX + view_.scrollX(), windowY + view_.scrollY()), windowX,
              windowY);
}

void EditorModel::releaseAt(int windowX, int windowY) {
    releasePixel(view_.pixelAt(windowX + view_.scrollX(), windowY + view_.scrollY()));
}

void EditorModel::press(PixelPoint p, MouseButton button) {
    const PixelPoint w = windowOf(p);
    pressPixel(p, button, w.x, w.y);
}

void EditorModel::move(PixelPoint p) {
    const PixelPoint w = windowOf(p);
    movePixel(p, w.x, w.y);
}

void EditorModel::release(PixelPoint p) {
    releasePixel(p);
}

void EditorModel::pressPixel(PixelPoint p, MouseButton button, int windowX, int windowY) {
    if (!isOpen() || buttonHeld()) return;
    const bool left = button == MouseButton::Left;
    // The text box first: a left press on it drags it, a right press puts the text down; a
    // press anywhere else puts the text down and then acts.
    if (textBoxOpen()) {
        FloatingBlock* box = text_->boxForDragging();
        const bool onBox = box->shownRect(viewMapping()).contains(windowX, windowY);
        if (onBox && left) {
            box->startDrag(windowX, windowY);
            return;
        }
        putDownText();
        if (onBox) return;
    }
    // The floating block first: a left press on it drags it, a right press puts it down.
    if (tools_->pressOnBlock(windowX, windowY, left)) {
        syncLocks();
        return;
    }
    const PressTool pressTool = tool_ == Tool::Select ? PressTool::Select
                                : tool_ == Tool::Text ? PressTool::Text
                                                      : PressTool::Other;
    // A moved block goes down here; a press inside the selection belongs to the selection and
    // text tools; any other press ends the selection.
    const PressOutcome outcome = tools_->press(p, left, pressTool, windowX, windowY);
    syncLocks();
    switch (outcome) {
        case PressOutcome::StartedMoving:
            tool_ = Tool::Moving;
            return;
        case PressOutcome::OpenTextBox:
            openTextBox();
            return;
        case PressOutcome::SelectionDrag:
            held_ = selecting_ = true;
            start_ = current_ = previous_ = penPosition_ = p;
            return;
        case PressOutcome::ToolActs:
            break;
    }
    held_ = true;
    selecting_ = false;
    start_ = current_ = previous_ = penPosition_ = p;
    if (tool_ == Tool::Freehand) {
        saveUndoPoint();
        // The press sets its own pixel, whatever the width and the outline.
        if (p.x >= 0 && p.y >= 0 && p.x < picture_.width() && p.y < picture_.height())
            picture_.setPixel(p.x, p.y, pen_);
    }
}

void EditorModel::movePixel(PixelPoint p, int windowX, int windowY) {
    if (textBoxOpen() && text_->box()->dragging()) {
        text_->boxForDragging()->dragTo(windowX, windowY, viewMapping());
        return;
    }
    if (draggingBlock()) {
        tools_->move(p, windowX, windowY);
        return;
    }
    if (!held_) return;
    previous_ = current_;
    current_ = p;
    setDragStatus();
    if (selecting_) {
        tools_->move(p, windowX, windowY);
        return;
    }
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

void EditorModel::releasePixel(PixelPoint p) {
    if (textBoxOpen() && text_->box()->dragging()) {
        text_->boxForDragging()->endDrag();
        return;
    }
    if (draggingBlock()) {
        tools_->release(p);
        return;
    }
    if (!held_) return;
    previous_ = current_;
    current_ = p;
    setDragStatus();
    held_ = false;
    if (selecting_) {
        selecting_ = false;
        tools_->release(p);
        return;
    }
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
