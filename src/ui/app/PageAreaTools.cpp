#include "ui/app/PageAreaTools.h"

#include <QEvent>
#include <QTimer>
#include <QToolButton>

#include "settings/SettingsError.h"
#include "settings/ViewSettings.h"
#include "ui/app/PageFind.h"
#include "ui/app/PagePointerInput.h"
#include "ui/app/PagePrinting.h"
#include "ui/browser/BrowserView.h"
#include "ui/widgets/FindBar.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/PageToolRow.h"

namespace kelvra::ui {
namespace {

PageCommand CommandOf(PageToolRow::Tool tool) {
    switch (tool) {
    case PageToolRow::Tool::Back:
        return PageCommand::Back;
    case PageToolRow::Tool::Forward:
        return PageCommand::Forward;
    case PageToolRow::Tool::ZoomOut:
        return PageCommand::ZoomOut;
    case PageToolRow::Tool::ZoomReset:
        return PageCommand::ZoomReset;
    case PageToolRow::Tool::ZoomIn:
        return PageCommand::ZoomIn;
    case PageToolRow::Tool::Find:
        return PageCommand::Find;
    case PageToolRow::Tool::Print:
        return PageCommand::Print;
    case PageToolRow::Tool::SavePdf:
        return PageCommand::SavePdf;
    }
    return PageCommand::Find;
}

} // namespace

PageAreaTools::PageAreaTools(QWidget& window, PageControl& pages,
                             const QList<BrowserView*>& browsers, const AppState& state)
    : QObject(&window), m_browsers(pages, browsers), m_state(state) {
    const ViewSettings view(state.dataFolder);
    for (int i = 0; i < browsers.size(); ++i) {
        BrowserView* browser = browsers[i];
        browser->SetZoomPercent(view.ReadZoomPercent(i + 1));
        connect(browser, &BrowserView::zoomChanged, this,
                [this, browser](int percent) { ZoomChanged(browser, percent); });
        connect(browser, &BrowserView::documentComplete, this, &PageAreaTools::Refresh);
        connect(browser, &BrowserView::beforeNavigate, this, &PageAreaTools::Refresh);
    }

    m_toolRow = new PageToolRow(&window);
    connect(m_toolRow, &PageToolRow::triggered, this,
            [this](PageToolRow::Tool tool) { Run(CommandOf(tool)); });
    m_find = new PageFind(window, m_browsers, this);
    connect(m_find, &PageFind::openChanged, this, [this] {
        Place();
        Refresh();
    });
    m_printing = new PagePrinting(window, m_browsers, this);
    connect(m_printing, &PagePrinting::runningChanged, this, &PageAreaTools::Refresh);
    m_keys = new PageKeyActions(window, [this](PageCommand command) { Run(command); });
    new PagePointerInput(m_browsers, this);
    connect(&pages, &PageControl::activeIndexChanged, this, [this] {
        m_find->Close();
        Refresh();
    });
    pages.installEventFilter(this); // its moves and resizes place the tool row and find bar
    Refresh();
}

PageAreaTools::~PageAreaTools() = default;

void PageAreaTools::Run(PageCommand command) {
    if (command == PageCommand::StopOrCloseFind) {
        if (!StopLoading())
            m_find->Close();
        return;
    }
    BrowserView* browser = ActiveBrowser();
    if (!browser)
        return;
    switch (command) {
    case PageCommand::Back:
        browser->GoBack();
        break;
    case PageCommand::Forward:
        browser->GoForward();
        break;
    case PageCommand::ZoomOut:
        browser->ZoomStep(-1);
        break;
    case PageCommand::ZoomReset:
        browser->ZoomStep(0);
        break;
    case PageCommand::ZoomIn:
        browser->ZoomStep(1);
        break;
    case PageCommand::Find:
        m_find->Open();
        break;
    case PageCommand::FindNext:
    case PageCommand::FindPrevious:
        m_find->FindAgain(command == PageCommand::FindPrevious);
        break;
    // The dialogs run loops of their own: not inside the key press or click that asked.
    case PageCommand::Print:
        QTimer::singleShot(0, m_printing, &PagePrinting::PrintWithDialog);
        break;
    case PageCommand::SavePdf:
        QTimer::singleShot(0, m_printing, &PagePrinting::SavePdfWithDialog);
        break;
    case PageCommand::StopOrCloseFind:
        break;
    }
}

bool PageAreaTools::StopLoading() {
    bool stopped = false;
    for (const QPointer<BrowserView>& browser : m_browsers.All()) {
        if (browser && browser->StopLoading())
            stopped = true;
    }
    return stopped;
}

void PageAreaTools::Place() {
    const QRect area = m_browsers.Pages().geometry();
    m_toolRow->adjustSize();
    // Clear of the page's vertical scroll bar.
    m_toolRow->move(area.right() - m_toolRow->width() - 20, area.top());
    FindBar& bar = m_find->Bar();
    const int barHeight = bar.sizeHint().height();
    bar.setGeometry(area.left(), area.bottom() + 1 - barHeight, area.width(), barHeight);
}

void PageAreaTools::Refresh() {
    BrowserView* browser = ActiveBrowser();
    bool loading = false;
    for (const QPointer<BrowserView>& each : m_browsers.All())
        loading = loading || (each && each->IsLoading());
    m_keys->SetBrowserShown(browser != nullptr);
    m_keys->SetEscapeWanted(loading || m_find->IsOpen());
    m_toolRow->setVisible(browser != nullptr);
    if (!browser)
        return;
    m_toolRow->ShowState(browser->CanGoBack(), browser->CanGoForward(), browser->ZoomPercent());
    m_toolRow->Button(PageToolRow::Tool::Print)->setEnabled(!m_printing->Running());
    m_toolRow->Button(PageToolRow::Tool::SavePdf)->setEnabled(!m_printing->Running());
    Place();
    m_toolRow->raise();
}

void PageAreaTools::ZoomChanged(BrowserView* browser, int percent) {
    Refresh();
    try {
        ViewSettings(m_state.dataFolder).WriteZoomPercent(m_browsers.IndexOf(browser) + 1, percent);
    } catch (const SettingsWriteError& error) {
        // The zoom is applied all the same; only the next run will not find it.
        qWarning("kelvra: the zoom could not be kept: %s", error.what());
    }
}

bool PageAreaTools::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_browsers.Pages() &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        Place();
    return false;
}

} // namespace kelvra::ui
