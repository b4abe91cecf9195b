#include "app/main_window_controls.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/main_window_layout.h"
#include "app/picture_view.h"
#include "app/position_bar.h"
#include "skin/picture_key.h"
#include "skin/skin_label.h"
#include "skin/symbol_label.h"
#include "skin/theme.h"

namespace mozu {

namespace L = layout;

namespace {

QRect ToRect(const L::Box& b) {
    return QRect(b.x, b.y, b.w, b.h);
}

// The information picture: shown over the whole window, hidden by a click.
class InfoPicture : public QWidget {
  public:
    InfoPicture(QWidget* parent, std::function<void()> onClick)
        : QWidget(parent), onClick_(std::move(onClick)) {
        setObjectName("Image9");
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        // Read when first shown: most runs never open it, and start-up need not wait for it.
        if (picture_.isNull()) picture_ = Theme::Opaque("Information", QColor(22, 24, 30));
        QPainter p(this);
        p.drawPixmap(0, 0, picture_);
    }
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) onClick_();
    }

  private:
    std::function<void()> onClick_;
    QPixmap picture_;
};

// A plain picture control (the progress ball).
class PlainPicture : public QWidget {
  public:
    PlainPicture(const QString& name, const QString& picture, QWidget* parent)
        : QWidget(parent), picture_(Theme::Picture(picture)) {
        setObjectName(name);
        setAttribute(Qt::WA_TranslucentBackground);
        resize(picture_.size());
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (!isEnabled()) p.setOpacity(0.45);
        p.drawPixmap(0, 0, picture_);
    }
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }

  private:
    QPixmap picture_;
};

SkinLabel* MakeLabel(QWidget* window, const char* name, QRect place, int points,
                     Qt::Alignment alignment) {
    auto* label = new SkinLabel(name, window);
    label->setGeometry(place);
    label->setFont(Theme::Font(points, true));
    label->setAlignment(alignment);
    return label;
}

PictureKey* MakeKey(QWidget* window, int number, const char* caption, int x, int y) {
    auto* key = new PictureKey(QString("Key%1").arg(number, 2, 10, QChar('0')), window);
    key->setPictures("BlackKeyUp", "BlackKeyDown");
    key->setCaption(caption);
    key->move(x, y);
    return key;
}

void CreateKeys(QWidget* window, MainWindowControls& c) {
    const auto row = [](int r) { return L::kColumnTop + r * L::kKeyStep; };
    const auto file = [](int i) { return L::kFileRowLeft + i * L::kFileRowStep; };
    const int top = L::kFileRowTop, left = L::kLeftColumnX, right = L::kRightColumnX;
    c.openKey = MakeKey(window, 20, "Open", file(0), top);
    c.saveKey = MakeKey(window, 21, "Save", file(1), top);
    c.editKey = MakeKey(window, 8, "Edit", file(2), top);
    c.sourceKey = MakeKey(window, 22, "Source", file(3), top);
    c.closeKey = MakeKey(window, 23, "Close", file(4), top);
    c.infoKey = MakeKey(window, 19, "Info", file(5), top);
    struct Conversion {
        int number;
        const char* caption;
        int x, y;
        Slot slot;
    };
    const Conversion conversions[] = {
        {0, "Mode 0", left, row(0), Slot::Mode0},
        {1, "Mode 1", left, row(1), Slot::Mode1},
        {2, "Mode 2", left, row(2), Slot::Mode2},
        {3, "Overscan 0", left, row(3), Slot::Overscan0},
        {4, "Overscan 1", left, row(4), Slot::Overscan1},
        {5, "Overscan 2", left, row(5), Slot::Overscan2},
        {16, "SGX CPC", right, row(0), Slot::SgxCpc},
        {15, "SGX CPC full", right, row(1), Slot::SgxCpcFree},
        {18, "SGX MSX", right, row(2), Slot::SgxMsx},
        {17, "SGX MSX full", right, row(3), Slot::SgxMsxFree},
    };
    for (const Conversion& k : conversions)
        c.convertKeys.emplace_back(MakeKey(window, k.number, k.caption, k.x, k.y), k.slot);
    c.autobalanceKey = MakeKey(window, 10, "Autobalance", left, row(7));
    c.moreContrastKey = MakeKey(window, 11, "Contrast +", left, row(8));
    c.lessContrastKey = MakeKey(window, 12, "Contrast -", left, row(9));
    c.brighterKey = MakeKey(window, 7, "Brighter", right, row(7));
    c.darkerKey = MakeKey(window, 6, "Darker", right, row(8));
    // Nothing to edit until a picture is loaded (EditCommand follows the document).
    c.editKey->setEnabled(false);

    c.exitKey = new PictureKey("ExitKey", window);
    c.exitKey->setPictures("RedKeyUp", "RedKeyDown");
    c.exitKey->setCaption("Exit");
    c.exitKey->move(L::kExitKey.x, L::kExitKey.y);
}

void CreateVideoControls(QWidget* window, VideoControls& v) {
    // The video keys' captions: words, or symbols drawn from their characters.
    const char* captions[] = {"", "start", "9", "7", "4", "8", ":", "end", "preview"};
    for (int i = 1; i <= 8; ++i) {
        const int x = L::kVideoRowLeft + (i - 1) * L::kVideoRowStep;
        auto* key = new PictureKey(QString("VideoKey%1").arg(i, 2, 10, QChar('0')), window);
        key->setPictures("SmallKeyUp", "SmallKeyDown");
        key->move(x, L::kVideoRowTop);
        v.keys[static_cast<std::size_t>(i)] = key;
        auto* label = new SymbolLabel(QString("VideoLabel%1").arg(i, 2, 10, QChar('0')), window);
        label->setText(captions[i]);
        label->setGeometry(x - 4, L::kVideoCaptionTop, L::kSmallKeyWidth + 8,
                           L::kVideoCaptionHeight);
        v.labels[static_cast<std::size_t>(i)] = label;
        if (i == 4) v.playLabel = label;
    }
    const auto row = [](int r) { return L::kColumnTop + r * L::kKeyStep; };
    for (auto [number, caption, r] : {std::tuple{14, "4c video", 4}, {13, "16c video", 5}}) {
        auto* key = new PictureKey(QString("VideoKey%1").arg(number), window);
        key->setPictures("GreenKeyUp", "GreenKeyDown");
        key->setCaption(caption);
        key->move(L::kRightColumnX, row(r));
        v.keys[static_cast<std::size_t>(number)] = key;
    }
    v.positionBar = new PositionBar(window);
    v.positionBar->setGeometry(ToRect(L::kHorizontal));
    v.thumb = new PositionThumb("HScrollButton", window);
    v.thumb->move(L::kHorizontal.x - 7, L::kHorizontal.y);
    v.positionBar->setEnabled(false);
    v.thumb->setEnabled(false);

    v.progressBall = new PlainPicture("ProgressBall", "ProgressBall", window);
    const BallPosition start = ProgressBallPosition(0);
    v.progressBall->move(start.left, start.top);
}

}  // namespace

MainWindowControls CreateMainWindowControls(QWidget* window, std::function<void()> onInfoClick) {
    MainWindowControls c;
    c.image1 = new PictureView("Image1", window);
    c.image1->hide();
    c.image1->setToolTip("Click to refresh original image");
    // The converted frame beside the source frame while a video conversion shows its frames.
    c.video.image1 = c.image1;
    c.video.image2 = new PictureView("Image2", window);
    c.video.image2->hide();

    c.description =
        MakeLabel(window, "Label1", ToRect(L::kLabel1), 11, Qt::AlignRight | Qt::AlignVCenter);
    c.targetDescription =
        MakeLabel(window, "Label3", ToRect(L::kLabel3), 11, Qt::AlignLeft | Qt::AlignVCenter);
    c.status = MakeLabel(window, "Label4", ToRect(L::kLabel4), 12, Qt::AlignCenter);
    c.status->setColour(QColor(120, 255, 140));
    // A SymbOS video's title and information: two lines across the dial's opening.
    c.title = MakeLabel(window, "Label2",
                        QRect(L::kLabel4.x - 20, L::kLabel4.y - 36, L::kLabel4.w + 40, 32), 10,
                        Qt::AlignCenter);
    c.title->setColour(Theme::DimTextColour());

    CreateKeys(window, c);
    CreateVideoControls(window, c.video);

    c.infoPicture = new InfoPicture(window, std::move(onInfoClick));
    c.infoPicture->setGeometry(0, 0, L::kWindowWidth, L::kWindowHeight);
    c.infoPicture->hide();
    return c;
}

}  // namespace mozu
