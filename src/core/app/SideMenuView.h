#pragma once

#include <string>

#include "login/LoginHandOver.h"

namespace kelvra {

// What the side-menu items of RzGroup4 and RzGroup5 need of the main window, besides the
// hand-over to the login window and the caption (SwitchAccountsView).
class SideMenuView : public SwitchAccountsView {
public:
    // Starts loading a URL in WebBrowser1..WebBrowser4 (by number); returns at once.
    virtual void NavigateBrowser(int number, const std::string& url) = 0;
    // Opens a URL in the system's default browser; a failure is that program's to show.
    virtual void OpenInDefaultBrowser(const std::string& url) = 0;
    // On the about page, shows img_about_cn (chinese) or img_about_en, and hides the other.
    virtual void ShowAboutPicture(bool chinese) = 0;
    // Sets or clears the selection mark of an item of group 4 or 5.
    virtual void SetItemSelected(int group, int index, bool selected) = 0;
    // The active page of RzPageControl1, -1 when none.
    virtual int ActivePage() const = 0;
    // LocationURL of WebBrowser1..4; empty before its first page.
    virtual std::string BrowserLocation(int number) const = 0;
    // Refresh of WebBrowser1..4; nothing happens before its first page.
    virtual void RefreshBrowser(int number) = 0;
    // Shows an error that a handler could not recover from (e.g. an unwritable settings file).
    virtual void ReportError(const std::string& text) = 0;
};

} // namespace kelvra
