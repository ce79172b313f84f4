#include "ui/app/TFormMain.h"
#include "ui/widgets/WindowPlacement.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QUrl>

#include "app/MainPresenter.h"
#include "app/QuotaSummary.h"
#include "ui/app/MessageBoxes.h"
#include "ui/app/UiTranslations.h"
#include "ui/browser/BrowserView.h"
#include "ui/skin/Skin.h"
#include "ui/widgets/GroupBar.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/SideChannel.h"
#include "ui/widgets/SideItemList.h"
#include "ui/widgets/StatusWidgets.h"
#include "url/Endpoints.h"

namespace kelvra::ui {
namespace {

void CentreIn(QWidget* element, const QWidget* page, int extraTop) {
    element->move(CentredOffset(page->width(), element->width()),
                  CentredOffset(page->height(), element->height()) + extraTop);
}

QTimer* NamedTimer(const char* name, int interval, QObject* parent) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setInterval(interval);
    return timer;
}

} // namespace

TFormMain::TFormMain(AppState& state, BrowserProfile& profile, UiTranslations& translations,
                     QWidget* parent)
    : QWidget(parent), m_state(state), m_translations(translations) {
    setObjectName("FormMain");
    setWindowTitle(QString::fromStdString(m_state.baseCaption));
    setAccessibleName(QStringLiteral("Kelvra"));
    InitResources();
    setWindowIcon(QIcon(QStringLiteral(":/icons/kelvra.png")));
    setAttribute(Qt::WA_StyledBackground, true);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    m_side = BuildSidePanel(this, LoadItemImages());
    m_pageArea = BuildPageArea(this, profile);
    m_status = BuildStatusBar(this);
    m_side.channel->raise();
    connect(m_side.channel, &SideChannel::layoutChanged, this, &TFormMain::LayoutChildren);
    connect(m_status.link, &UrlLabel::clicked, this, &TFormMain::OpenInfoPage);
    for (int page : {1, 2, 3, 8})
        m_pageArea.control->Page(page)->installEventFilter(this);

    // The watches and the version check run on these timers.
    m_timers.timer1 = NamedTimer("Timer1", 1000, this);
    m_timers.timerUpdate = NamedTimer("Timer_update", 10000, this);
    m_timers.timerUpdate->setSingleShot(true);
    m_timers.connKelvra = NamedTimer("conn_kelvra", 20000, this);

    resize(944, 680);
    ApplySkin(this);
}

TFormMain::~TFormMain() {
    // The pages' events no longer concern this window while it is taken down.
    for (int page : {1, 2, 3, 8})
        m_pageArea.control->Page(page)->removeEventFilter(this);
}

BrowserView* TFormMain::Browser(int number) const {
    return number >= 1 && number <= 4 ? m_pageArea.browsers[number - 1] : nullptr;
}

void TFormMain::SetControlText(const std::string& controlName, const std::string& text) {
    const QString name = QString::fromStdString(controlName);
    const QString value = QString::fromStdString(text);
    if (name == objectName()) {
        setWindowTitle(value);
        return;
    }
    QObject* control = findChild<QObject*>(name);
    if (auto* group = qobject_cast<SideGroup*>(control)) {
        group->SetCaption(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(value);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(value);
        edit->setCursorPosition(0);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(value);
        label->setAccessibleName(value);
    }
}

void TFormMain::SetControlHint(const std::string& controlName, const std::string& hint) {
    if (auto* control = findChild<QWidget*>(QString::fromStdString(controlName))) {
        control->setToolTip(QString::fromStdString(hint));
        control->setProperty("hint", QString::fromStdString(hint));
    }
}

void TFormMain::SetWindowCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void TFormMain::ShowHint(const QString& hint) {
    m_status.hint->ShowFor(hint);
}

QList<QWidget*> TFormMain::SearchPanels() const {
    QList<QWidget*> panels;
    for (int group = 0; group < 3 && group < m_side.bar->Groups().size(); ++group)
        panels << m_side.bar->Groups()[group]->Body();
    return panels;
}

SideItemList* TFormMain::SideItems(int group) const {
    return group == 4 ? m_side.group4Items : group == 5 ? m_side.group5Items : nullptr;
}

void TFormMain::SetSideItemCaption(int group, int index, const std::string& caption) {
    if (SideItemList* items = SideItems(group))
        items->SetCaption(index, QString::fromStdString(caption));
}

void TFormMain::SetSideItemImage(int group, int index, int imageIndex) {
    if (SideItemList* items = SideItems(group))
        items->SetImage(index, imageIndex);
}

void TFormMain::SetSideItemSelected(int group, int index, bool selected) {
    if (SideItemList* items = SideItems(group))
        items->SetSelected(index, selected);
}

void TFormMain::ShowPage(int index) {
    m_pageArea.control->SetActiveIndex(index);
}

void TFormMain::RefillLists() {
    emit listsToRefill();
}

void TFormMain::MakeTranslationsCurrent(bool chinese) {
    m_translations.Use(chinese);
}

void TFormMain::RefreshQuota() {
    m_status.quota->Show(SummariseQuota(m_state.session));
}

void TFormMain::SetServiceAnswering(bool answering) {
    m_status.service->SetAnswering(answering);
    m_status.quota->setVisible(answering);
}

void TFormMain::ShowMessage(const std::string& text, const std::string& caption) {
    ShowInformation(this, QString::fromStdString(caption), QString::fromStdString(text));
}

void TFormMain::ReportError(const std::string& text) {
    ShowError(this, QString::fromStdString(text));
}

void TFormMain::CloseWindow() {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TFormMain::CentreOnScreen() {
    ui::CentreOnScreen(*this);
}

void TFormMain::HidePageTabs() {
    m_pageArea.control->SetTabsVisible(false);
}

void TFormMain::CentrePictures() {
    PageControl* pages = m_pageArea.control;
    CentreIn(m_pageArea.homeEnglish, pages->Page(kPageHomeEnglish), 0);
    CentreIn(m_pageArea.homeChinese, pages->Page(kPageHomeChinese), 0);
    CentreIn(m_pageArea.errorPanel, pages->Page(kPageError), 0);
}

void TFormMain::FocusSideChannel() {
    m_side.channel->setFocus(Qt::OtherFocusReason);
}

void TFormMain::SetUrlLabelWidth(int width) {
    m_status.link->setFixedWidth(width);
}

WindowSize TFormMain::OuterSize() const {
    const QSize outer = frameGeometry().size();
    return {outer.width(), outer.height()};
}

void TFormMain::SetOuterSize(WindowSize size) {
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(size.width - frame.width(), size.height - frame.height());
}

void TFormMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return; // the window system restoring the window is not a show of the program
    LayoutChildren();
    emit shownByProgram();
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutChildren();
    emit resized();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (!m_closing) {
        m_closing = true;
        emit closing();
    }
    event->accept();
    emit closed();
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    PageControl* pages = m_pageArea.control;
    if (event->type() == QEvent::Resize) {
        if (watched == pages->Page(kPageHomeChinese))
            CentreIn(m_pageArea.homeChinese, pages->Page(kPageHomeChinese), 32);
        else if (watched == pages->Page(kPageHomeEnglish))
            CentreIn(m_pageArea.homeEnglish, pages->Page(kPageHomeEnglish), 32);
        else if (watched == pages->Page(kPageError))
            CentreIn(m_pageArea.errorPanel, pages->Page(kPageError), 0);
    } else if (event->type() == QEvent::Show && watched == pages->Page(kPageNetwork)) {
        CentreIn(m_pageArea.network, pages->Page(kPageNetwork), 0);
    }
    return QWidget::eventFilter(watched, event);
}

void TFormMain::LayoutChildren() {
    const int statusHeight = m_status.bar->height();
    const int bodyHeight = height() - statusHeight;
    const int reserved = m_side.channel->ReservedWidth();
    m_status.bar->setGeometry(0, bodyHeight, width(), statusHeight);
    LayoutStatusBar(m_status, width());
    m_pageArea.control->setGeometry(reserved, 0, width() - reserved, bodyHeight);
    m_side.channel->setGeometry(0, 0, m_side.channel->VisibleWidth(), bodyHeight);
    m_side.channel->raise();
}

void TFormMain::OpenInfoPage() {
    QDesktopServices::openUrl(
        QUrl(QString::fromStdString(Endpoints(m_state.serviceRoot).InfoPage())));
}

} // namespace kelvra::ui
