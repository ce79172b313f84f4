#include "ui/update/TUpdateForm.h"
#include "ui/widgets/WindowPlacement.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "app/MainPresenter.h"
#include "ui/app/Automation.h"
#include "ui/app/MessageBoxes.h"

namespace kelvra::ui {
namespace {

constexpr int kClientWidth = 479;
constexpr int kClientHeight = 95;

// The skin's colours: a white window, a blue bar with its percentage, a blue link.
constexpr const char* kLook =
    "kelvra--ui--TUpdateForm { background: white; }"
    "QLabel#Label1 { color: #1d3557; }"
    "QLabel#Label3 { color: #1a4fa0; }"
    "QProgressBar { border: 1px solid #7f9db9; border-radius: 2px; background: #f4f7fb;"
    " color: #1d3557; text-align: center; }"
    "QProgressBar::chunk { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0 #3d7cc9, stop:1 #1c4f96); }";

} // namespace

int UpdateWaitIntervalMs(int designedMs) {
    const int ms = Automation::FromEnvironment().updateWaitMs;
    return ms > 0 ? ms : designedMs;
}

TUpdateForm::TUpdateForm(AppState& state, QWidget* mainWindow, QWidget* parent)
    : TUpdateForm(state, UpdateServices::Defaults(state), mainWindow, parent) {}

TUpdateForm::TUpdateForm(AppState& state, UpdateServices services, QWidget* mainWindow,
                         QWidget* parent)
    : QDialog(parent), m_mainWindow(mainWindow) {
    setObjectName("UpdateForm");
    setWindowTitle(QStringLiteral("Update"));
    // A dialog border with the system menu and its close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setStyleSheet(QString::fromLatin1(kLook));
    BuildControls();
    m_presenter = std::make_unique<UpdatePresenter>(state, *this, std::move(services));
}

TUpdateForm::~TUpdateForm() {
    m_presenter.reset(); // joins the worker while the widgets still exist
}

void TUpdateForm::BuildControls() {
    m_label1 = new QLabel(this);
    m_label1->setObjectName("Label1");
    m_label1->setTextFormat(Qt::PlainText);
    m_label1->setGeometry(16, 8, 447, 18);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName("suiProgressBar1");
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(true);
    m_bar->setAlignment(Qt::AlignCenter);
    m_bar->setGeometry(16, 28, 447, 22);

    m_linkPanel = new QWidget(this);
    m_linkPanel->setObjectName("Panel1");
    m_linkPanel->setGeometry(0, 56, kClientWidth, kClientHeight - 56);
    m_linkPanel->setMouseTracking(true);
    m_linkPanel->installEventFilter(this);

    m_label3 = new QLabel(m_linkPanel);
    m_label3->setObjectName("Label3");
    m_label3->setTextFormat(Qt::PlainText);
    m_label3->setGeometry(16, 10, 150, 18);
    m_label3->setMouseTracking(true);
    m_label3->installEventFilter(this);

    m_updateBtn = new QPushButton(this);
    m_updateBtn->setObjectName("UpdateBtn");
    m_updateBtn->setVisible(false);
    connect(m_updateBtn, &QPushButton::clicked, this, [this] { m_presenter->UpdateBtnClick(); });

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName("Timer1");
    m_timer1->setInterval(kUpdateTimerMs);
    connect(m_timer1, &QTimer::timeout, this, [this] { m_presenter->Timer1Timer(); });
}

void TUpdateForm::SetControlText(const std::string& controlName, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (controlName == "Label1") {
        m_label1->setText(value);
    } else if (controlName == "Label3") {
        m_label3->setText(value);
        m_label3->setAccessibleName(value);
        m_label3->adjustSize();
    }
}

void TUpdateForm::CentreOnScreen() {
    ui::CentreOnScreen(*this);
}

void TUpdateForm::StartDownloadTimer(int intervalMs) {
    m_timer1->start(m_waitMs > 0 ? m_waitMs : UpdateWaitIntervalMs(intervalMs));
}

void TUpdateForm::StopDownloadTimer() {
    m_timer1->stop();
}

void TUpdateForm::SetProgress(int percent) {
    if (m_bar->maximum() != 100)
        m_bar->setRange(0, 100);
    m_bar->setValue(percent);
}

void TUpdateForm::SetBusy() {
    m_bar->setRange(0, 0); // a moving bar without a percentage
}

void TUpdateForm::ShowMessage(const std::string& text, const std::string& caption) {
    ShowInformation(isVisible() ? this : m_mainWindow, QString::fromStdString(caption),
                    QString::fromStdString(text));
}

bool TUpdateForm::AskYesNo(const std::string& text, const std::string& caption) {
    return kelvra::ui::AskYesNo(isVisible() ? this : m_mainWindow, QString::fromStdString(caption),
                                QString::fromStdString(text));
}

bool TUpdateForm::AskToUpdate(const std::string& text, const std::string& caption) {
    return kelvra::ui::AskYesNo(isVisible() ? this : m_mainWindow, QString::fromStdString(caption),
                                QString::fromStdString(text), Question::Update);
}

void TUpdateForm::OpenUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void TUpdateForm::CloseWindow() {
    close(); // closeEvent asks the presenter first
}

void TUpdateForm::ShowMainWindow() {
    if (m_mainWindow)
        m_mainWindow->show();
    emit mainWindowShown();
}

void TUpdateForm::QuitProgram() {
    if (m_mainWindow)
        m_mainWindow->close();
    emit quitRequested();
}

void TUpdateForm::SetLinkLook(int width, bool underlined, bool handCursor) {
    QFont font = m_label3->font();
    font.setUnderline(underlined);
    m_label3->setFont(font);
    m_label3->resize(width, m_label3->height());
    if (handCursor)
        m_label3->setCursor(Qt::PointingHandCursor);
    else
        m_label3->unsetCursor();
}

void TUpdateForm::ReportError(const std::string& text) {
    ShowError(isVisible() ? this : m_mainWindow, QString::fromStdString(text));
}

void TUpdateForm::ReportUpdateProblem(kelvra::UpdateProblem problem) {
    QString text;
    switch (problem) {
    case kelvra::UpdateProblem::PathNotScriptable:
        text =
            tr("The update cannot be installed from this folder: its name has characters the "
               "update script cannot use. Nothing was changed; install the new version by hand.");
        break;
    case kelvra::UpdateProblem::ScriptNotStarted:
        text = tr("The update could not be started, so it was not installed. The program stays as "
                  "it was.");
        break;
    case kelvra::UpdateProblem::LastNotInstalled:
        text = tr("The last update could not be completed, so it was not installed. The program "
                  "stays as it was.");
        break;
    }
    ShowError(isVisible() ? this : m_mainWindow, text);
}

void TUpdateForm::RunOnUiThread(std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void TUpdateForm::reject() {
    close();
}

void TUpdateForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // the window system restoring the window is not a show of the program
    m_presenter->FormShow();
}

void TUpdateForm::closeEvent(QCloseEvent* event) {
    if (m_presenter->CloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TUpdateForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_label3) {
        if (event->type() == QEvent::Enter) {
            m_presenter->LinkMouseEnter();
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
                   m_label3->rect().contains(
                       static_cast<QMouseEvent*>(event)->position().toPoint())) {
            m_presenter->Label3Click();
            return true;
        }
    } else if (watched == m_linkPanel && event->type() == QEvent::MouseMove) {
        m_presenter->PanelMouseMove();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kelvra::ui
