#include "dialogs/colour_dialog.h"

#include <QCloseEvent>
#include <QPainter>

#include "editing/editor_model.h"
#include "skin/picture_key.h"
#include "skin/rounded_case.h"
#include "skin/skin_label.h"
#include "skin/swatch.h"

namespace mozu {

namespace {

// The dialog's own look: a dark case; the offered colours in three rows of nine, the old and
// the new colour below them, then the three keys.
constexpr int kWidth = 395, kHeight = 315;
constexpr int kShapeLeft = 22, kShapeTop = 50, kShapeStep = 40, kShapeSize = 32;

QColor ToQColor(Colour c) {
    return QColor(Red(c), Green(c), Blue(c));
}

QPixmap Background() {
    QPixmap picture = RoundedCase(kWidth, kHeight, 20);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(200, 205, 220));
    painter.setFont(QFont(painter.font().family(), 9));
    painter.drawText(QRect(22, 182, 160, 16), Qt::AlignLeft, "Old");
    painter.drawText(QRect(200, 182, 160, 16), Qt::AlignLeft, "New");
    return picture;
}

}  // namespace

ColourDialog::ColourDialog(QWidget* parent) : SkinnedWindow(Dragging::SystemMoveFirst, parent) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setObjectName("TColorDialog");
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setShape(RoundedCaseShape(kWidth, kHeight, 20));
    setBackground(Background());

    caption_ = new SkinLabel("Caption", this);
    caption_->setGeometry(22, 16, 340, 22);
    for (int n = 0; n < 27; ++n) {
        auto* shape = new Swatch(QStringLiteral("Shape%1").arg(n + 1), this);
        shape->setGeometry(kShapeLeft + (n % 9) * kShapeStep, kShapeTop + (n / 9) * kShapeStep,
                           kShapeSize, kShapeSize);
        connect(shape, &Swatch::pressed, this, [this, n](Qt::MouseButton) { pick(n); });
        shapes_[static_cast<std::size_t>(n)] = shape;
    }
    // The big old and new colours, and the small pair beside the keys.
    const QRect places[4] = {QRect(22, 200, 150, 44), QRect(200, 200, 150, 44),
                             QRect(172, 210, 24, 24), QRect(355, 210, 24, 24)};
    for (int i = 0; i < 4; ++i) {
        auto* indicator = new Swatch(QStringLiteral("ColorShape%1").arg(i), this);
        indicator->setGeometry(places[i]);
        indicator->setAttribute(Qt::WA_TransparentForMouseEvents);
        indicators_[static_cast<std::size_t>(i)] = indicator;
    }
    const auto makeKey = [this](const char* name, const char* caption, int x) {
        auto* key = new PictureKey(name, this);
        key->setPictures("BlackKeyUp", "BlackKeyDown");
        key->setCaption(caption);
        key->move(x, 268);
        return key;
    };
    replaceKey_ = makeKey("Key01", "Replace", 22);
    exchangeKey_ = makeKey("Key02", "Exchange", 146);
    cancelKey_ = makeKey("Key03", "Cancel", 270);
    connect(replaceKey_, &PictureKey::clicked, this, [this] { replace(); });
    connect(exchangeKey_, &PictureKey::clicked, this, [this] { exchange(); });
    connect(cancelKey_, &PictureKey::clicked, this, [this] { cancel(); });
    hide();
}

ColourDialog::~ColourDialog() = default;

void ColourDialog::start(EditorModel& model, int swatch, const std::vector<Colour>& offered,
                         std::function<void()> refresh) {
    model_ = &model;
    swatch_ = swatch;
    offered_ = offered;
    refresh_ = std::move(refresh);
    oldColour_ = newColour_ = model.palette()[static_cast<std::size_t>(swatch)];
    const QString name = QStringLiteral("Color%1").arg(swatch);
    setWindowTitle(name);
    caption_->setText(name);
    for (Swatch* indicator : indicators_) indicator->setColour(ToQColor(oldColour_));
    for (std::size_t n = 0; n < shapes_.size(); ++n) {
        shapes_[n]->setVisible(n < offered_.size());
        if (n < offered_.size()) shapes_[n]->setColour(ToQColor(offered_[n]));
    }
    show();
    raise();
    activateWindow();
    WaitFor(&ColourDialog::done);
}

void ColourDialog::pick(int index) {
    if (!model_ || index >= static_cast<int>(offered_.size())) return;
    newColour_ = offered_[static_cast<std::size_t>(index)];
    indicators_[1]->setColour(ToQColor(newColour_));
    indicators_[3]->setColour(ToQColor(newColour_));
    model_->previewColour(swatch_, newColour_);
    if (refresh_) refresh_();
}

void ColourDialog::replace() {
    if (!model_) return;
    model_->replaceColour(swatch_, newColour_);
    finish();
}

void ColourDialog::exchange() {
    if (!model_) return;
    model_->exchangeColour(swatch_, newColour_);
    finish();
}

void ColourDialog::cancel() {
    if (!model_) return;
    model_->endPreview();
    finish();
}

void ColourDialog::finish() {
    if (refresh_) refresh_();
    model_ = nullptr;
    refresh_ = nullptr;
    hide();
    Q_EMIT done();
}

void ColourDialog::closeEvent(QCloseEvent* event) {
    // The window manager's close is Cancel: the editor is enabled again.
    event->ignore();
    cancel();
}

}  // namespace mozu
