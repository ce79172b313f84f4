#include "ui/app/SearchPanelBinder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "search/SearchKinds.h"
#include "ui/app/MessageBoxes.h"
#include "ui/app/ScanWatch.h"
#include "ui/browser/BrowserView.h"
#include "ui/widgets/GroupBar.h"

namespace kelvra::ui {
namespace {

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// The character a key press types, as the key-press handlers take it: 13 for either Enter key.
char TypedCharacter(const QKeyEvent& key) {
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        return 13;
    const QString text = key.text();
    return text.size() == 1 && text[0].unicode() < 0x80 ? char(text[0].unicode()) : 0;
}

// Focus that moves between the controls of the window. Focus lost to or regained from another
// window (a message box, a tooltip, a menu) is no enter or exit of the field.
bool MovesWithinWindow(const QFocusEvent& focus) {
    return focus.reason() != Qt::ActiveWindowFocusReason && focus.reason() != Qt::PopupFocusReason;
}

// Opens the group of the side panel that holds the widget, when it is closed.
void OpenGroupOf(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        auto* group = qobject_cast<SideGroup*>(w);
        auto* bar = group ? qobject_cast<GroupBar*>(group->parentWidget()) : nullptr;
        if (bar != nullptr) {
            if (!group->IsOpen())
                bar->OpenGroup(int(bar->Groups().indexOf(group)));
            return;
        }
    }
}

} // namespace

SearchPanelWidgets FindSearchPanelWidgets(QWidget* window, BrowserView* mainBrowser,
                                          std::function<void(int)> showPage) {
    SearchPanelWidgets w;
    w.window = window;
    w.mainBrowser = mainBrowser;
    w.showPage = std::move(showPage);
    for (const NumberSearch& search : NumberSearches()) {
        const int index = search.kind - kSearchAny;
        w.fields[index] = window->findChild<QLineEdit*>(QLatin1String(search.field));
        w.numberButtons[index] = window->findChild<QAbstractButton*>(QLatin1String(search.button));
    }
    for (const ListSearch& search : ListSearches())
        w.listButtons[search.kind - kSearchVehicleType] =
            window->findChild<QAbstractButton*>(QLatin1String(search.button));
    w.lists = FindListBoxes(*window);
    return w;
}

SearchPanelBinder::SearchPanelBinder(const SearchPanelWidgets& widgets, AppState& state,
                                     std::function<bool()> networkOnline,
                                     std::function<void(int, const std::string&)> numberSearched,
                                     QObject* parent)
    : QObject(parent), m_widgets(widgets), m_numberSearched(std::move(numberSearched)),
      m_presenter(state, *this, std::move(networkOnline)) {
    for (int kind = kSearchAny; kind <= kSearchEan; ++kind) {
        if (QLineEdit* field = Field(kind))
            field->installEventFilter(this);
        if (QAbstractButton* button = m_widgets.numberButtons[kind - 1])
            connect(button, &QAbstractButton::clicked, this,
                    [this, kind] { m_presenter.NumberButtonClick(kind); });
    }
    for (int i = 0; i < 4; ++i) {
        const int kind = kSearchVehicleType + i;
        if (QAbstractButton* button = m_widgets.listButtons[i])
            connect(button, &QAbstractButton::clicked, this,
                    [this, kind] { m_presenter.ListButtonClick(kind); });
    }
    // A search waits until the one loaded before it is taken up: announced by the browser and
    // then complete (loaded, failed or refused), so that its request has gone out; at the latest
    // after a second it goes anyway. The announcement alone is not enough: while the engine's
    // network process is still starting, a load replaced right after its announcement never
    // reaches the service.
    m_takeUpLimit = new QTimer(this);
    m_takeUpLimit->setSingleShot(true);
    m_takeUpLimit->setInterval(1000);
    connect(m_takeUpLimit, &QTimer::timeout, this, &SearchPanelBinder::SearchTakenUp);
    if (BrowserView* browser = m_widgets.mainBrowser) {
        connect(browser, &BrowserView::beforeNavigate, this, [this] { m_announced = m_awaiting; });
        connect(browser, &BrowserView::documentComplete, this, [this, browser] {
            if (m_awaiting && m_announced && browser->PendingNavigations() == 0)
                SearchTakenUp();
        });
    }
    if (m_widgets.window != nullptr && !m_widgets.scanAreas.isEmpty())
        m_scans = new ScanWatch(
            m_widgets.window, m_widgets.scanAreas,
            [this](const std::string& code) { m_presenter.ScannedNumber(code); }, this);
}

QLineEdit* SearchPanelBinder::Field(int kind) const {
    return kind >= kSearchAny && kind <= kSearchEan ? m_widgets.fields[kind - 1] : nullptr;
}

int SearchPanelBinder::KindOfField(const QObject* watched) const {
    for (int kind = kSearchAny; kind <= kSearchEan; ++kind) {
        if (watched != nullptr && watched == Field(kind))
            return kind;
    }
    return 0;
}

bool SearchPanelBinder::eventFilter(QObject* watched, QEvent* event) {
    const int kind = KindOfField(watched);
    if (kind != 0) {
        switch (event->type()) {
        case QEvent::KeyPress:
            m_presenter.FieldKeyPress(kind, TypedCharacter(*static_cast<QKeyEvent*>(event)));
            break;
        case QEvent::FocusIn:
            if (MovesWithinWindow(*static_cast<QFocusEvent*>(event)))
                m_presenter.FieldEnter(kind);
            break;
        case QEvent::FocusOut:
            if (MovesWithinWindow(*static_cast<QFocusEvent*>(event)))
                m_presenter.FieldExit(kind);
            break;
        default:
            break;
        }
    }
    // Every event, Enter included, goes on to the field.
    return QObject::eventFilter(watched, event);
}

std::string SearchPanelBinder::FieldText(int kind) const {
    const QLineEdit* field = Field(kind);
    return field ? Utf8(field->text()) : std::string();
}

std::string SearchPanelBinder::FieldHint(int kind) const {
    // The hint is where the language application puts it (TFormMain::SetControlHint).
    const QLineEdit* field = Field(kind);
    return field ? Utf8(field->property("hint").toString()) : std::string();
}

void SearchPanelBinder::SetFieldText(int kind, const std::string& text) {
    if (QLineEdit* field = Field(kind))
        field->setText(QString::fromStdString(text));
}

void SearchPanelBinder::FocusField(int kind) {
    if (QLineEdit* field = Field(kind)) {
        OpenGroupOf(field);
        field->setFocus(Qt::OtherFocusReason);
    }
}

void SearchPanelBinder::SelectFieldText(int kind) {
    if (QLineEdit* field = Field(kind))
        field->selectAll();
}

void SearchPanelBinder::ShowWrongCheckDigit(const std::string& number) {
    if (m_widgets.showHint)
        m_widgets.showHint(QCoreApplication::translate(
                               "SearchPanel", "EAN %1: wrong check digit, searched as typed")
                               .arg(QString::fromStdString(number)));
}

ListChoice SearchPanelBinder::Choice(ListBox list) const {
    const QComboBox* box = m_widgets.lists[static_cast<std::size_t>(list)];
    if (box == nullptr || box->currentIndex() < 0)
        return {};
    return {static_cast<std::int32_t>(box->currentData().toInt()), Utf8(box->currentText())};
}

void SearchPanelBinder::FocusList(ListBox list) {
    if (QComboBox* box = m_widgets.lists[static_cast<std::size_t>(list)])
        box->setFocus(Qt::OtherFocusReason);
}

void SearchPanelBinder::ShowInfo(const std::string& text, const std::string& caption) {
    ShowInformation(m_widgets.window, QString::fromStdString(caption),
                    QString::fromStdString(text));
}

void SearchPanelBinder::NavigateMain(const std::string& url) {
    if (!m_widgets.mainBrowser)
        return;
    m_searches.push_back(QString::fromStdString(url));
    if (!m_awaiting && !m_nextScheduled)
        LoadNextSearch();
}

void SearchPanelBinder::SearchTakenUp() {
    m_awaiting = false;
    m_takeUpLimit->stop();
    if (m_searches.empty() || m_nextScheduled)
        return;
    // Started once the browser's signal has returned; it replaces the load under way.
    m_nextScheduled = true;
    QTimer::singleShot(0, this, &SearchPanelBinder::LoadNextSearch);
}

void SearchPanelBinder::LoadNextSearch() {
    m_nextScheduled = false;
    if (m_searches.empty())
        return;
    const QString url = m_searches.front();
    m_searches.pop_front();
    m_awaiting = true;
    m_announced = false;
    m_widgets.mainBrowser->Navigate(url);
    if (m_widgets.mainBrowser->EngineWidget() == nullptr) {
        m_awaiting = false;
        m_searches.clear(); // no engine: nothing will be announced
    } else {
        m_takeUpLimit->start();
    }
}

std::string SearchPanelBinder::MainLocationUrl() const {
    return m_widgets.mainBrowser ? Utf8(m_widgets.mainBrowser->LocationURL()) : std::string();
}

void SearchPanelBinder::NumberSearched(int kind, const std::string& text) {
    if (m_numberSearched)
        m_numberSearched(kind, text);
}

void SearchPanelBinder::ShowPage(int index) {
    if (m_widgets.showPage)
        m_widgets.showPage(index);
}

} // namespace kelvra::ui
