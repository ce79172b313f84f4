#pragma once

#include <string>

#include "settings/LanguageView.h"

namespace kelvra {

// Outer size of a window (frame included), in pixels.
struct WindowSize {
    int width = 0;
    int height = 0;
    bool operator==(const WindowSize&) const = default;
};

// What the main window's presenter needs of the window besides the language operations.
class MainView : public LanguageView {
public:
    // Shows a modal information box with one OK button; returns when it is acknowledged.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // Shows an error that escaped a handler, as the application's general error handler does.
    virtual void ReportError(const std::string& text) = 0;
    // Asks the window to close once the current handler has returned; closing ends the program.
    virtual void CloseWindow() = 0;
    // Places the window in the middle of the screen (outer size, halves truncated toward zero).
    virtual void CentreOnScreen() = 0;
    // Hides the tab of every page of RzPageControl1.
    virtual void HidePageTabs() = 0;
    // Centres Image1, img_bg and RzPanel1 on their pages.
    virtual void CentrePictures() = 0;
    // Gives the input focus to the side channel.
    virtual void FocusSideChannel() = 0;
    // Sets the width of the status-bar link label suiURLLabel1.
    virtual void SetUrlLabelWidth(int width) = 0;
    virtual WindowSize OuterSize() const = 0;
    // Resizes the window so that its outer size becomes the given one.
    virtual void SetOuterSize(WindowSize size) = 0;
};

} // namespace kelvra
