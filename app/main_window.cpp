// MainWindow: creation, controls and their places, the window's shape, the progress ball, the
// exit command and the close routing. Dragging by the background is SkinnedWindow's.

#include "app/main_window.h"

#include <QCloseEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "app/gui_asker.h"
#include "app/main_window_layout.h"
#include "app/message_window.h"
#include "app/picture_view.h"
#include "app/position_bar.h"
#include "skin/picture_key.h"
#include "skin/shape.h"
#include "skin/skin_label.h"
#include "skin/symbol_label.h"
#include "skin/theme.h"
#include "video/ffmpeg/ffmpeg_frame_source.h"
#include "video/vid_reader.h"

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

// A plain picture control (the progress ball, the slider's thumb).
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

}  // namespace

MainWindow::MainWindow(QWidget* parent) : SkinnedWindow(Dragging::SystemMoveFirst, parent) {
    FormCreate();
}

MainWindow::~MainWindow() = default;

void MainWindow::AttachWindows(OpenDialog* open, EditWindow* edit, SaveDialog* save,
                               MessageWindow* msg, FullPreview* preview, GuiAsker* asker) {
    openDialog_ = open;
    editWindow_ = edit;
    saveDialog_ = save;
    msgWindow_ = msg;
    fullPreview_ = preview;
    asker_ = asker;
}

void MainWindow::FormCreate() {
    setObjectName("TMainWindow");
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(Theme::Picture("MozuIcon")));
    setFixedSize(L::kWindowWidth, L::kWindowHeight);
    // The mask cuts the outline; inside it the skin covers every pixel, so the window paints
    // opaquely (no blending with what lies behind it).
    setAttribute(Qt::WA_OpaquePaintEvent);
    setShape(MainWindowShape());
    setAcceptDrops(true);

    // The state starts as a fresh ConversionState does: no picture, all saved flags 1, the
    // source shown, nothing changed, the default colour table and save selection.
    video_.source = MakeFfmpegFrameSource();
    vidReader_ = std::make_unique<VidReader>();
    setBackground(Theme::Opaque("MainBackground", QColor(22, 24, 30)));

    image1_ = new PictureView("Image1", this);
    StandardImage1Layout();
    image1_->hide();
    image1_->setToolTip("Click to refresh original image");
    image2_ = new QWidget(this);
    image2_->setObjectName("Image2");
    image2_->hide();

    label1_ = new SkinLabel("Label1", this);
    label1_->setGeometry(ToRect(L::kLabel1));
    label1_->setFont(Theme::Font(11, true));
    label1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label3_ = new SkinLabel("Label3", this);
    label3_->setGeometry(ToRect(L::kLabel3));
    label3_->setFont(Theme::Font(11, true));
    label3_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label4_ = new SkinLabel("Label4", this);
    label4_->setGeometry(ToRect(L::kLabel4));
    label4_->setFont(Theme::Font(12, true));
    label4_->setAlignment(Qt::AlignCenter);
    label4_->setColour(QColor(120, 255, 140));
    label2_ = new SkinLabel("Label2", this);
    label2_->setGeometry(L::kLabel4.x, L::kLabel4.y - 22, L::kLabel4.w, 16);
    label2_->setFont(Theme::Font(10, true));
    label2_->setAlignment(Qt::AlignCenter);
    label2_->setColour(Theme::DimTextColour());

    CreateKeys();
    CreateVideoControls();

    progressBall_ = new PlainPicture("ProgressBall", "ProgressBall", this);
    const BallPosition start = ProgressBallPosition(0);
    progressBall_->move(start.left, start.top);
    progressTimer_ = new QTimer(this);
    progressTimer_->setObjectName("ProgressTimer");
    progressTimer_->setInterval(500);
    connect(progressTimer_, &QTimer::timeout, this, [this] { ProgressTimerTimer(); });
    for (auto [timer, name] : {std::pair{&playTimer_, "PlayTimer"},
                               {&vidTimer_, "VIDTimer"},
                               {&makeTimer_, "MakeTimer"},
                               {&make16Timer_, "Make16Timer"}}) {
        *timer = new QTimer(this);
        (*timer)->setObjectName(name);
    }

    image9_ = new InfoPicture(this, [this] { Image9Click(); });
    image9_->setGeometry(0, 0, L::kWindowWidth, L::kWindowHeight);
    image9_->hide();
}

PictureKey* MainWindow::AddKey(const QString& name, const QString& caption, int x, int y,
                               void (MainWindow::*handler)()) {
    auto* key = new PictureKey(name, this);
    key->setPictures("BlackKeyUp", "BlackKeyDown");
    key->setCaption(caption);
    key->move(x, y);
    connect(key, &PictureKey::clicked, this, [this, handler] { (this->*handler)(); });
    return key;
}

void MainWindow::CreateKeys() {
    struct KeyPlace {
        int number;
        const char* caption;
        int x, y;
        void (MainWindow::*handler)();
    };
    const auto row = [](int r) { return L::kColumnTop + r * L::kKeyStep; };
    const auto file = [](int i) { return L::kFileRowLeft + i * L::kFileRowStep; };
    const int left = L::kLeftColumnX, right = L::kRightColumnX;
    const KeyPlace places[] = {
        {20, "Open", file(0), L::kFileRowTop, &MainWindow::Key20Click},
        {21, "Save", file(1), L::kFileRowTop, &MainWindow::SaveKeyClick},
        {8, "Edit", file(2), L::kFileRowTop, &MainWindow::Key08Click},
        {22, "Source", file(3), L::kFileRowTop, &MainWindow::Key22Click},
        {23, "Close", file(4), L::kFileRowTop, &MainWindow::Key23Click},
        {19, "Info", file(5), L::kFileRowTop, &MainWindow::Key19Click},
        {0, "Mode 0", left, row(0), &MainWindow::Key00Click},
        {1, "Mode 1", left, row(1), &MainWindow::Key01Click},
        {2, "Mode 2", left, row(2), &MainWindow::Key02Click},
        {3, "Overscan 0", left, row(3), &MainWindow::Key03Click},
        {4, "Overscan 1", left, row(4), &MainWindow::Key04Click},
        {5, "Overscan 2", left, row(5), &MainWindow::Key05Click},
        {10, "Autobalance", left, row(7), &MainWindow::Key10Click},
        {11, "Contrast +", left, row(8), &MainWindow::Key11Click},
        {12, "Contrast -", left, row(9), &MainWindow::Key12Click},
        {16, "SGX CPC", right, row(0), &MainWindow::Key16Click},
        {15, "SGX CPC full", right, row(1), &MainWindow::Key15Click},
        {18, "SGX MSX", right, row(2), &MainWindow::Key18Click},
        {17, "SGX MSX full", right, row(3), &MainWindow::Key17Click},
        {7, "Brighter", right, row(7), &MainWindow::Key07Click},
        {6, "Darker", right, row(8), &MainWindow::Key06Click},
    };
    for (const KeyPlace& k : places) {
        const QString name = QString("Key%1").arg(k.number, 2, 10, QChar('0'));
        PictureKey* key = AddKey(name, k.caption, k.x, k.y, k.handler);
        keys_[static_cast<std::size_t>(k.number)] = key;
    }
    // The editor comes with a later version: until then there is nothing to edit with.
    keys_[8]->setEnabled(false);
    keys_[8]->setToolTip("The editor is not available yet");

    exitKey_ = new PictureKey("ExitKey", this);
    exitKey_->setPictures("RedKeyUp", "RedKeyDown");
    exitKey_->setCaption("Exit");
    exitKey_->move(L::kExitKey.x, L::kExitKey.y);
    connect(exitKey_, &PictureKey::clicked, this, [this] { ExitKeyClick(); });
}

void MainWindow::CreateVideoControls() {
    // The video keys' captions: words, or symbols drawn from their characters.
    const char* captions[] = {"", "start", "9", "7", "4", "8", ":", "end", "preview"};
    for (int i = 1; i <= 8; ++i) {
        const int x = L::kVideoRowLeft + (i - 1) * L::kVideoRowStep;
        auto* key = new PictureKey(QString("VideoKey%1").arg(i, 2, 10, QChar('0')), this);
        key->setPictures("SmallKeyUp", "SmallKeyDown");
        key->move(x, L::kVideoRowTop);
        videoKeys_[static_cast<std::size_t>(i)] = key;
        auto* label = new SymbolLabel(QString("VideoLabel%1").arg(i, 2, 10, QChar('0')), this);
        label->setText(captions[i]);
        label->setGeometry(x - 4, L::kVideoCaptionTop, L::kSmallKeyWidth + 8,
                           L::kVideoCaptionHeight);
        videoLabels_[static_cast<std::size_t>(i)] = label;
    }
    videoLabel04_ = static_cast<SymbolLabel*>(videoLabels_[4]);
    const auto row = [](int r) { return L::kColumnTop + r * L::kKeyStep; };
    for (auto [number, caption, r] : {std::tuple{14, "4c video", 4}, {13, "16c video", 5}}) {
        auto* key = new PictureKey(QString("VideoKey%1").arg(number), this);
        key->setPictures("GreenKeyUp", "GreenKeyDown");
        key->setCaption(caption);
        key->move(L::kRightColumnX, row(r));
        videoKeys_[static_cast<std::size_t>(number)] = key;
    }

    horizontal_ = new PositionBar(this);
    horizontal_->setGeometry(ToRect(L::kHorizontal));
    hScrollButton_ = new PlainPicture("HScrollButton", "HScrollButton", this);
    hScrollButton_->move(L::kHorizontal.x - 7, L::kHorizontal.y);
    EnableVideoControls();  // nothing loaded: all disabled
    horizontal_->setEnabled(false);
    hScrollButton_->setEnabled(false);
}

void MainWindow::FormShow() {
    for (PictureKey* key : keys_)
        if (key) key->setPictures("BlackKeyUp", "BlackKeyDown");
    if (!firstShow_) return;
    firstShow_ = false;
    // The command line's file, opened once the window is up (a second instance hands its file
    // over instead).
    if (!commandLineFile_.isEmpty()) {
        const QString path = commandLineFile_;
        QTimer::singleShot(0, this, [this, path] { WMCopyData(path); });
    }
}

void MainWindow::showEvent(QShowEvent* e) {
    SkinnedWindow::showEvent(e);
    FormShow();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    PaintBackground(p);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // With a picture loaded the screen is dark around it (the prompt is for an empty screen).
    if (!state_.noPicture || video_.loaded)
        p.fillRect(ToRect(L::kImage1).adjusted(-1, -1, 1, 1), QColor(6, 8, 10));
}

void MainWindow::ExitKeyClick() {
    if (videoConversionRunning_) {
        Notice("Video conversion in progress. First you need terminate this process");
        return;
    }
    if (!AskAboutUnsaved()) return;  // the save was cancelled or failed: keep running
    exiting_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (!exiting_) {
        // Closed by the window manager: the exit command decides, with its questions.
        e->ignore();
        QTimer::singleShot(0, this, [this] { ExitKeyClick(); });
        return;
    }
    // FormClose: no more dropped files.
    setAcceptDrops(false);
    e->accept();
    Q_EMIT exited();
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent*) {
    state_.currentFileName = "brak";
}

void MainWindow::StartProgress() {
    progressAngle_ = 0;
    progressTimer_->start();
}

void MainWindow::StopProgress() {
    progressTimer_->stop();
}

void MainWindow::ProgressTimerTimer() {
    const BallPosition b = ProgressBallPosition(progressAngle_);
    progressBall_->move(b.left, b.top);
}

void MainWindow::Notice(const QString& text) {
    if (asker_) asker_->Ask(MessageWindow::kNotice, text);
}

void MainWindow::ShowIoError(const IoError& e) {
    if (asker_) asker_->showError(e);
}

}  // namespace mozu
