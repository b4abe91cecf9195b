#pragma once
// The main window's controls, made in their places on the skin. Each carries its control name
// (Key20, Label1, Image1, ...) as its object name, which the skin, the tests and the user
// interface's own look-ups go by; the members are named for what the controls do.

#include <functional>
#include <utility>
#include <vector>

#include "app/video_commands.h"
#include "colour/slot.h"

class QWidget;

namespace mozu {

class PictureKey;
class PictureView;
class SkinLabel;

struct MainWindowControls {
    PictureView* image1 = nullptr;           // the picture
    QWidget* infoPicture = nullptr;          // Image9: over the whole window, hidden by a click
    SkinLabel* description = nullptr;        // Label1: what the open file is
    SkinLabel* title = nullptr;              // Label2: a SymbOS video's title
    SkinLabel* targetDescription = nullptr;  // Label3: what the last key made
    SkinLabel* status = nullptr;             // Label4: "Opening", "Saving", "Processing"

    PictureKey* openKey = nullptr;          // Key20
    PictureKey* saveKey = nullptr;          // Key21
    PictureKey* editKey = nullptr;          // Key08
    PictureKey* sourceKey = nullptr;        // Key22
    PictureKey* closeKey = nullptr;         // Key23
    PictureKey* infoKey = nullptr;          // Key19
    PictureKey* exitKey = nullptr;          // ExitKey
    PictureKey* autobalanceKey = nullptr;   // Key10
    PictureKey* moreContrastKey = nullptr;  // Key11
    PictureKey* lessContrastKey = nullptr;  // Key12
    PictureKey* brighterKey = nullptr;      // Key07
    PictureKey* darkerKey = nullptr;        // Key06
    // The conversion keys (Key00-Key05, Key15-Key18) and the slot each converts to.
    std::vector<std::pair<PictureKey*, Slot>> convertKeys;

    VideoControls video;
};

// Makes the controls as children of `window`; `onInfoClick` hides the information picture.
MainWindowControls CreateMainWindowControls(QWidget* window, std::function<void()> onInfoClick);

}  // namespace mozu
