#include "ui/app/PageAreaTools.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include "settings/SettingsError.h"
#include "settings/ViewSettings.h"
#include "ui/app/MessageBoxes.h"
#include "ui/browser/BrowserView.h"
#include "ui/widgets/FindBar.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/PageToolRow.h"

namespace kelvra::ui {
namespace {

Qt::KeyboardModifiers Plain(const QKeyEvent* key) {
    return key->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
}

} // namespace

PageAreaTools::PageAreaTools(QWidget& window, PageControl& pages,
                             const QList<BrowserView*>& browsers, const AppState& state)
    : QObject(&window), m_window(window), m_pages(pages), m_state(state) {
    const ViewSettings view(state.dataFolder);
    for (int i = 0; i < browsers.size(); ++i) {
        BrowserView* browser = browsers[i];
        m_browsers.append(browser);
        browser->SetZoomPercent(view.ReadZoomPercent(i + 1));
        connect(browser, &BrowserView::zoomChanged, this,
                [this, browser](int percent) { ZoomChanged(browser, percent); });
        connect(browser, &BrowserView::documentComplete, this, &PageAreaTools::Refresh);
        connect(browser, &BrowserView::beforeNavigate, this, &PageAreaTools::Refresh);
    }

    m_toolRow = new PageToolRow(&window);
    connect(m_toolRow, &PageToolRow::triggered, this, [this](PageToolRow::Tool tool) {
        BrowserView* browser = ActiveBrowser();
        if (!browser)
            return;
        switch (tool) {
        case PageToolRow::Tool::Back:
            browser->GoBack();
            break;
        case PageToolRow::Tool::Forward:
            browser->GoForward();
            break;
        case PageToolRow::Tool::ZoomOut:
            browser->ZoomStep(-1);
            break;
        case PageToolRow::Tool::ZoomReset:
            browser->ZoomStep(0);
            break;
        case PageToolRow::Tool::ZoomIn:
            browser->ZoomStep(1);
            break;
        case PageToolRow::Tool::Find:
            OpenFind();
            break;
        case PageToolRow::Tool::Print:
            PrintWithDialog();
            break;
        case PageToolRow::Tool::SavePdf:
            SavePdfWithDialog();
            break;
        }
    });
    m_findBar = new FindBar(&window);
    connect(m_findBar, &FindBar::findRequested, this, &PageAreaTools::Find);
    connect(m_findBar, &FindBar::closeRequested, this, &PageAreaTools::CloseFind);
    connect(&pages, &PageControl::activeIndexChanged, this, [this] {
        CloseFind();
        Refresh();
    });
    pages.installEventFilter(this);
    qApp->installEventFilter(this);
    Refresh();
}

PageAreaTools::~PageAreaTools() {
    qApp->removeEventFilter(this);
}

int PageAreaTools::IndexOf(const BrowserView* browser) const {
    for (int i = 0; i < m_browsers.size(); ++i) {
        if (m_browsers[i] == browser)
            return i;
    }
    return -1;
}

BrowserView* PageAreaTools::ActiveBrowser() const {
    QWidget* page = m_pages.Page(m_pages.ActiveIndex());
    if (!page)
        return nullptr;
    for (const QPointer<BrowserView>& browser : m_browsers) {
        if (browser && page->isAncestorOf(browser))
            return browser;
    }
    return nullptr;
}

BrowserView* PageAreaTools::BrowserAround(const QObject* target) const {
    if (!target || !target->isWidgetType())
        return nullptr;
    const auto* widget = static_cast<const QWidget*>(target);
    for (const QPointer<BrowserView>& browser : m_browsers) {
        if (browser && (browser == widget || browser->isAncestorOf(widget)))
            return browser;
    }
    return nullptr;
}

bool PageAreaTools::ConcernsUs(const QObject* target) const {
    if (!target || !target->isWidgetType())
        return false;
    const QWidget* window = static_cast<const QWidget*>(target)->window();
    // The busy indicator takes the keys while it keeps the main window disabled.
    return window == &m_window || window->objectName() == QLatin1String("Version");
}

void PageAreaTools::Place() {
    const QRect area = m_pages.geometry();
    m_toolRow->adjustSize();
    // Clear of the page's vertical scroll bar.
    m_toolRow->move(area.right() - m_toolRow->width() - 20, area.top());
    const int barHeight = m_findBar->sizeHint().height();
    m_findBar->setGeometry(area.left(), area.bottom() + 1 - barHeight, area.width(), barHeight);
}

void PageAreaTools::Refresh() {
    BrowserView* browser = ActiveBrowser();
    m_toolRow->setVisible(browser != nullptr);
    if (!browser)
        return;
    m_toolRow->ShowState(browser->CanGoBack(), browser->CanGoForward(), browser->ZoomPercent());
    m_toolRow->Button(PageToolRow::Tool::Print)->setEnabled(!m_jobRunning);
    m_toolRow->Button(PageToolRow::Tool::SavePdf)->setEnabled(!m_jobRunning);
    Place();
    m_toolRow->raise();
}

void PageAreaTools::ZoomChanged(BrowserView* browser, int percent) {
    Refresh();
    try {
        ViewSettings(m_state.dataFolder).WriteZoomPercent(IndexOf(browser) + 1, percent);
    } catch (const SettingsWriteError& error) {
        // The zoom is applied all the same; only the next run will not find it.
        qWarning("kelvra: the zoom could not be kept: %s", error.what());
    }
}

void PageAreaTools::OpenFind() {
    if (!ActiveBrowser())
        return;
    Place();
    m_findBar->Open();
    if (!m_findBar->Text().isEmpty())
        Find(m_findBar->Text(), false);
}

void PageAreaTools::CloseFind() {
    if (!m_findBar->isVisible())
        return;
    m_findBar->hide();
    for (const QPointer<BrowserView>& browser : m_browsers) {
        if (browser && browser->EngineWidget())
            browser->Find(QString(), false, [](int, int) {}); // clears the highlight
    }
    if (BrowserView* browser = ActiveBrowser(); browser && browser->EngineWidget())
        browser->EngineWidget()->setFocus(Qt::OtherFocusReason);
}

void PageAreaTools::FindAgain(bool backward) {
    if (m_findBar->isVisible() && !m_findBar->Text().isEmpty())
        Find(m_findBar->Text(), backward);
    else
        OpenFind();
}

void PageAreaTools::Find(const QString& text, bool backward) {
    BrowserView* browser = ActiveBrowser();
    if (!browser)
        return;
    QPointer<FindBar> bar = m_findBar;
    browser->Find(text, backward, [bar](int active, int total) {
        if (bar)
            bar->ShowCount(active, total);
    });
}

bool PageAreaTools::StopLoading() {
    bool stopped = false;
    for (const QPointer<BrowserView>& browser : m_browsers) {
        if (browser && browser->StopLoading())
            stopped = true;
    }
    return stopped;
}

QString PageAreaTools::SuggestedPdfPath(const QString& title) {
    QString name = title.simplified();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]")),
                 QStringLiteral("_"));
    name = name.left(100).trimmed();
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    if (name.isEmpty())
        name = QStringLiteral("Kelvra");
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

void PageAreaTools::Finished(const QString& what, bool ok, const QString& reason,
                             const std::function<void(bool, QString)>& done) {
    m_jobRunning = false;
    QApplication::restoreOverrideCursor();
    Refresh();
    if (!ok)
        ShowInformation(&m_window, what, reason);
    if (done)
        done(ok, reason);
}

void PageAreaTools::SavePdfTo(const QString& filePath, std::function<void(bool, QString)> done) {
    BrowserView* browser = ActiveBrowser();
    const QString what = tr("Save as PDF");
    if (!browser || m_jobRunning) {
        Finished(what, false,
                 browser ? tr("The page is still being printed.") : tr("There is no page to save."),
                 done);
        return;
    }
    m_jobRunning = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    Refresh();
    browser->PrintToPdf(filePath, [this, what, done](bool ok, QString reason) {
        Finished(what, ok, reason, done);
    });
}

void PageAreaTools::PrintTo(QPrinter* printer, std::function<void(bool, QString)> done) {
    BrowserView* browser = ActiveBrowser();
    const QString what = tr("Print");
    if (!browser || m_jobRunning) {
        Finished(what, false,
                 browser ? tr("The page is still being printed.")
                         : tr("There is no page to print."),
                 done);
        return;
    }
    m_jobRunning = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    Refresh();
    browser->Print(
        printer, [this, what, done](bool ok, QString reason) { Finished(what, ok, reason, done); });
}

void PageAreaTools::SavePdfWithDialog() {
    BrowserView* browser = ActiveBrowser();
    if (!browser || m_jobRunning)
        return;
    const QString path =
        QFileDialog::getSaveFileName(&m_window, tr("Save the page as PDF"),
                                     SuggestedPdfPath(browser->Title()), tr("PDF files (*.pdf)"));
    if (!path.isEmpty())
        SavePdfTo(path);
}

void PageAreaTools::PrintWithDialog() {
    if (!ActiveBrowser() || m_jobRunning)
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, &m_window);
    preview.setWindowTitle(tr("Print the page"));
    // The preview paints synchronously; the engine prints asynchronously: wait for it here.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        QEventLoop loop;
        PrintTo(target, [&loop](bool, QString) { loop.quit(); });
        if (m_jobRunning)
            loop.exec();
    });
    preview.exec();
}

bool PageAreaTools::HandleKey(QObject* watched, QEvent* event) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = Plain(key);
    if (key->key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        if (StopLoading())
            return true;
        if (m_findBar->isVisible()) {
            CloseFind();
            return true;
        }
        return false;
    }
    BrowserView* browser = ActiveBrowser();
    if (!browser || static_cast<QWidget*>(watched)->window() != &m_window)
        return false;
    const bool ctrl =
        mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier);
    switch (key->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        if (!ctrl)
            return false;
        browser->ZoomStep(1);
        return true;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        if (!ctrl)
            return false;
        browser->ZoomStep(-1);
        return true;
    case Qt::Key_0:
        if (mods != Qt::ControlModifier)
            return false;
        browser->ZoomStep(0);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (mods != Qt::AltModifier)
            return false;
        key->key() == Qt::Key_Left ? browser->GoBack() : browser->GoForward();
        return true;
    case Qt::Key_F:
        if (mods != Qt::ControlModifier)
            return false;
        OpenFind();
        return true;
    case Qt::Key_F3:
        if (mods != Qt::NoModifier && mods != Qt::ShiftModifier)
            return false;
        FindAgain(mods == Qt::ShiftModifier);
        return true;
    case Qt::Key_P:
        if (mods != Qt::ControlModifier)
            return false;
        QTimer::singleShot(0, this, &PageAreaTools::PrintWithDialog); // not inside the key event
        return true;
    case Qt::Key_S:
        if (mods != (Qt::ControlModifier | Qt::ShiftModifier))
            return false;
        QTimer::singleShot(0, this, &PageAreaTools::SavePdfWithDialog);
        return true;
    default:
        return false;
    }
}

bool PageAreaTools::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
        if (watched == &m_pages)
            Place();
        return false;
    case QEvent::KeyPress:
        return ConcernsUs(watched) && HandleKey(watched, event);
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        BrowserView* browser = BrowserAround(watched);
        if (!browser || !(wheel->modifiers() & Qt::ControlModifier))
            return false;
        const int delta = wheel->angleDelta().y();
        if (delta != 0)
            browser->ZoomStep(delta > 0 ? 1 : -1);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::BackButton && mouse->button() != Qt::ForwardButton)
            return false;
        BrowserView* browser = BrowserAround(watched);
        if (!browser)
            return false;
        if (event->type() == QEvent::MouseButtonPress)
            mouse->button() == Qt::BackButton ? browser->GoBack() : browser->GoForward();
        return true;
    }
    default:
        return false;
    }
}

} // namespace kelvra::ui
