#pragma once
// MainWindow: the main form. It owns the conversion state (source picture, slots, palettes,
// flags) and the video state, shows them, and runs the commands of its keys by calling the
// core. Its methods are split by concern:
//   main_window.cpp          creation, layout, shape, progress ball, exit, close
//   main_window_display.cpp  ShowCPCImage, RefreshImage, the standard layout of Image1
//   main_window_convert.cpp  the conversion and adjustment commands, show source, close, info
//   main_window_files.cpp    open, save, file drop, hand-off from a second instance
//   main_window_video.cpp    opening a PC video and showing its first frame

#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "colour/conversion_state.h"
#include "skin/skinned_window.h"
#include "video/video_navigation.h"

class QTimer;

namespace mozu {

class GuiAsker;
class IoError;
class PictureKey;
class PictureView;
class PositionBar;
class SkinLabel;
class SymbolLabel;
class EditWindow;
class FullPreview;
class MessageWindow;
class OpenDialog;
class SaveDialog;
class VidReader;

inline constexpr const char* kCaption = "Mozu v1.0";
inline constexpr const char* kApplicationTitle = "Mozu";

class MainWindow : public SkinnedWindow {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The other windows, created after this one; the main window uses them from then on.
    void AttachWindows(OpenDialog* open, EditWindow* edit, SaveDialog* save, MessageWindow* msg,
                       FullPreview* preview, GuiAsker* asker);

    ConversionState& state() { return state_; }
    const ConversionState& state() const { return state_; }
    VideoState& video() { return video_; }
    bool videoConversionRunning() const { return videoConversionRunning_; }
    void setVideoConversionRunning(bool running) { videoConversionRunning_ = running; }
    // The command-line file, opened at the first show.
    void setCommandLineFile(const QString& path) { commandLineFile_ = path; }

    // The picture shown in Image1 (what the user sees), for tests and the editor.
    QImage shownImage() const;

    // Handlers, named after their controls.
    void Key00Click() { ConvertCommand(0); }
    void Key01Click() { ConvertCommand(1); }
    void Key02Click() { ConvertCommand(2); }
    void Key03Click() { ConvertCommand(4); }
    void Key04Click() { ConvertCommand(5); }
    void Key05Click() { ConvertCommand(6); }
    void Key16Click() { ConvertCommand(8); }
    void Key15Click() { ConvertCommand(9); }
    void Key18Click() { ConvertCommand(10); }
    void Key17Click() { ConvertCommand(11); }
    void Key06Click() { BrightnessKey(95); }
    void Key07Click() { BrightnessKey(105); }
    void Key08Click();  // edit: the editor comes later; the key stays disabled
    void Key10Click();  // autobalance
    void Key11Click() { ContrastKey(105); }
    void Key12Click() { ContrastKey(95); }
    void Key19Click();  // information picture
    void Key20Click();  // open
    bool Key21Click();  // save; false when cancelled or failed
    void Key22Click();  // show source
    void Key23Click();  // close picture
    void Image9Click();
    void ExitKeyClick();
    // A file handed over by a second instance (the copy-data message).
    void WMCopyData(const QString& path);
    // Files dropped on the window.
    void WMDropFiles(const QStringList& paths);

    // Shows a slot's (or file type's) picture in Image1 at the size and place of its type.
    void ShowCPCImage(int fileType, const Picture& picture);
    // Shows the source picture, sets the source shown flag and the current slot to the source
    // slot.
    void RefreshImage();

    // The progress ball of a video conversion (the video writer sets the angle).
    void setProgressAngle(int angle) { progressAngle_ = angle; }
    void StartProgress();
    void StopProgress();

  Q_SIGNALS:
    // The exit command closed the window: the program ends.
    void exited();

  protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent*) override;
    void closeEvent(QCloseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void dragEnterEvent(QDragEnterEvent*) override;
    void dropEvent(QDropEvent*) override;

  private:
    // Where a file to open came from; they differ only in texts.
    enum class Origin { OpenDialog, Drop, HandOff };

    void FormCreate();
    void SaveKeyClick() { Key21Click(); }  // the key ignores whether the save went through
    void FormShow();
    void CreateKeys();
    void CreateVideoControls();
    PictureKey* AddKey(const QString& name, const QString& caption, int x, int y,
                       void (MainWindow::*handler)());

    // main_window_display.cpp
    void StandardImage1Layout();
    void ShowPicture(const Picture& picture);

    // main_window_convert.cpp
    void ConvertCommand(int slot);
    void ContrastKey(int percent);
    void BrightnessKey(int percent);

    // main_window_files.cpp
    // The unsaved-pictures question; false when the user wanted to save and the save was
    // cancelled or failed (the command that asked must not go on).
    bool AskAboutUnsaved();
    // Opens `path`; false (with the message shown) when nothing was opened.
    bool OpenFile(const QString& path, Origin origin);
    bool OpenPcPicture(const std::string& path, std::uint8_t type, Origin origin,
                       const QString& extension);
    bool OpenCpcPicture(const std::string& path);
    bool OpenSymbosVideo(const std::string& path);
    void ResetForNewFile();
    void EnableVideoControls();
    void ShowIoError(const IoError& e);
    void Notice(const QString& text);

    // main_window_video.cpp
    bool OpenPcVideo(const std::string& path, Origin origin, const QString& extension);
    void showFrame(std::int32_t index);
    void ResetPositionBar();
    void CloseVideo();
    void ProgressTimerTimer();
    VidReader& vidReader() { return *vidReader_; }

    ConversionState state_;
    VideoState video_;
    std::unique_ptr<VidReader> vidReader_;  // the one SymbOS video reader

    OpenDialog* openDialog_ = nullptr;
    EditWindow* editWindow_ = nullptr;
    SaveDialog* saveDialog_ = nullptr;
    MessageWindow* msgWindow_ = nullptr;
    FullPreview* fullPreview_ = nullptr;
    GuiAsker* asker_ = nullptr;

    // Controls.
    std::array<PictureKey*, 24> keys_{};
    PictureKey* exitKey_ = nullptr;
    std::array<PictureKey*, 15> videoKeys_{};
    std::array<QWidget*, 9> videoLabels_{};
    SymbolLabel* videoLabel04_ = nullptr;
    PictureView* image1_ = nullptr;
    QWidget* image2_ = nullptr;
    QWidget* image9_ = nullptr;
    SkinLabel* label1_ = nullptr;
    SkinLabel* label2_ = nullptr;
    SkinLabel* label3_ = nullptr;
    SkinLabel* label4_ = nullptr;
    QWidget* progressBall_ = nullptr;
    PositionBar* horizontal_ = nullptr;
    QWidget* hScrollButton_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    QTimer* playTimer_ = nullptr;
    QTimer* vidTimer_ = nullptr;
    QTimer* makeTimer_ = nullptr;
    QTimer* make16Timer_ = nullptr;

    // Window state beyond the conversion state.
    bool videoConversionRunning_ = false;
    int progressAngle_ = 0;
    bool firstShow_ = true;
    bool vistaFlag_ = false;  // only Windows had the frame library quirk it names
    bool previewInFullScreen_ = false;
    bool exiting_ = false;
    bool busy_ = false;  // a command is waiting on a dialog: drops and hand-offs wait too
    QString commandLineFile_;
};

}  // namespace mozu
