#include "ui/login/TFormLogin.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "ui/app/MessageBoxes.h"
#include "ui/skin/Skin.h"

namespace kelvra::ui {
namespace {

constexpr int kPictureSize = 70;
constexpr int kEditWidth = 143;
constexpr int kEditHeight = 21;
constexpr int kButtonWidth = 75; // the toolkit's standard button, as Button1
constexpr int kButtonHeight = 25;

std::string S(const QString& text) {
    return text.toUtf8().toStdString();
}

// "MS Sans Serif" at 11 pixels, with the nearest fonts of this platform after it.
QFont WindowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(11);
    return font;
}

bool IsEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

TFormLogin::TFormLogin(AppState& state, LoginHostView& host, BusyIndicatorControl& busy,
                       SessionClient& session,
                       std::function<void(const std::string& outcome)> afterLogin, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName("FormLogin");
    setWindowTitle(QString::fromLatin1(kLoginWindowCaption));
    setFixedSize(kLoginWindowWidth, kLoginWindowHeight);
    setFont(WindowFont());
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setMouseTracking(true);
    BuildControls();
    m_presenter =
        std::make_unique<LoginPresenter>(state, *this, host, busy, session, std::move(afterLogin));
    const QScreen* display = QGuiApplication::primaryScreen();
    const QSize area =
        display ? display->geometry().size() : QSize(kLoginWindowWidth, kLoginWindowHeight);
    m_presenter->FormCreate(area.width(), area.height());
}

TFormLogin::~TFormLogin() = default;

QLabel* TFormLogin::NewLabel(const char* name, int left, int top) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->move(left, top);
    return label;
}

QLabel* TFormLogin::NewLink(const char* name, int left, int top) {
    QLabel* link = NewLabel(name, left, top);
    QPalette colours = link->palette();
    colours.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
    link->setPalette(colours);
    link->setMouseTracking(true);
    link->installEventFilter(this);
    return link;
}

void TFormLogin::BuildControls() {
    m_image = NewLabel("Image1", 20, 17);
    m_image->setFixedSize(kPictureSize, kPictureSize);
    m_image->setPixmap(LoadPicture(QStringLiteral("login.jpg")));
    m_image->setScaledContents(true);
    m_image->setAccessibleName(QStringLiteral("Kelvra"));

    m_userTitle = NewLabel("Label1", 105, 17);
    m_user = new QLineEdit(this);
    m_user->setObjectName("RzEdit2");
    m_user->setGeometry(105, 40, kEditWidth, kEditHeight);

    m_passTitle = NewLabel("Label2", 104, 76);
    m_pass = new QLineEdit(this);
    m_pass->setObjectName("RzEdit1");
    m_pass->setGeometry(105, 100, kEditWidth, kEditHeight);
    m_pass->setEchoMode(QLineEdit::Password);
    m_pass->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // "*"
    m_pass->installEventFilter(this);

    m_remember = new QCheckBox(this);
    m_remember->setObjectName("CheckBox1");
    m_remember->setGeometry(106, 135, 97, 17);

    m_login = new QPushButton(this);
    m_login->setObjectName("RzButton1");
    m_login->setGeometry(173, 167, kButtonWidth, kButtonHeight);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName("Button1");
    m_cancel->setGeometry(269, 167, kButtonWidth, kButtonHeight);
    for (QPushButton* button : {m_login, m_cancel}) {
        button->setAutoDefault(false); // Enter in the user-name field must not log in
        button->installEventFilter(this);
    }

    m_create = NewLink("Label4", 260, 40);
    m_change = NewLink("Label3", 261, 72);
    m_forgot = NewLink("Label5", 261, 103);

    for (QWidget* passive : std::initializer_list<QWidget*>{m_image, m_userTitle, m_passTitle,
                                                            m_create, m_change, m_forgot})
        passive->setFocusPolicy(Qt::NoFocus);
    setTabOrder(m_user, m_pass);
    setTabOrder(m_pass, m_remember);
    setTabOrder(m_remember, m_login);
    setTabOrder(m_login, m_cancel);

    connect(m_login, &QPushButton::clicked, this, [this] { m_presenter->RzButton1Click(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_presenter->Button1Click(); });
}

void TFormLogin::ShowInFront() {
    show();
    raise();
    activateWindow();
}

std::string TFormLogin::UserNameText() const {
    return S(m_user->text());
}

void TFormLogin::SetUserNameText(const std::string& text) {
    m_user->setText(QString::fromStdString(text));
}

std::string TFormLogin::PasswordText() const {
    return S(m_pass->text());
}

void TFormLogin::SetPasswordText(const std::string& text) {
    m_pass->setText(QString::fromStdString(text));
}

bool TFormLogin::RememberChecked() const {
    return m_remember->isChecked();
}

void TFormLogin::SetRememberChecked(bool checked) {
    m_remember->setChecked(checked);
}

void TFormLogin::FocusUserName() {
    m_user->setFocus(Qt::OtherFocusReason);
}

void TFormLogin::FocusPassword() {
    m_pass->setFocus(Qt::OtherFocusReason);
}

void TFormLogin::SetControlText(const std::string& controlName, const std::string& text) {
    QWidget* control = findChild<QWidget*>(QString::fromStdString(controlName));
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(QString::fromStdString(text));
        label->setAccessibleName(QString::fromStdString(text));
        label->resize(label->sizeHint());
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(QString::fromStdString(text));
    }
}

void TFormLogin::SetControlWidth(const std::string& controlName, int width) {
    if (auto* control = findChild<QLabel*>(QString::fromStdString(controlName)))
        control->resize(width, control->height());
}

void TFormLogin::SetUnderlined(const std::string& controlName, bool underlined) {
    if (auto* control = findChild<QLabel*>(QString::fromStdString(controlName))) {
        QFont font = control->font();
        font.setUnderline(underlined);
        control->setFont(font);
    }
}

void TFormLogin::SetHandCursor(const std::string& controlName) {
    if (auto* control = findChild<QLabel*>(QString::fromStdString(controlName)))
        control->setCursor(Qt::PointingHandCursor);
}

void TFormLogin::MoveWindow(int left, int top) {
    move(left, top);
}

void TFormLogin::ShowMessage(const std::string& text, const std::string& caption) {
    ShowInformation(this, QString::fromStdString(caption), QString::fromStdString(text));
}

void TFormLogin::ReportError(const std::string& text) {
    ShowError(this, QString::fromStdString(text));
}

void TFormLogin::OpenInSystemBrowser(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::TolerantMode));
}

void TFormLogin::CloseWindow() {
    close();
}

void TFormLogin::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return; // the window system restoring the window is not a show of the program
    m_presenter->FormShow();
    FocusUserName();
}

void TFormLogin::closeEvent(QCloseEvent* event) {
    event->accept();
    // Login, Cancel, the change-password link and the close box all end here: the window is
    // hidden (never destroyed) and the main window takes over again.
    if (isVisible())
        m_presenter->FormClose();
}

void TFormLogin::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    // Only the window itself, not a control on it (moves over a control reach here too when
    // the control does not take them).
    if (!childAt(event->position().toPoint()))
        m_presenter->FormMouseMove();
}

bool TFormLogin::LinkEvent(QLabel* link, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (link == m_create)
            m_presenter->Label4MouseMove();
        else if (link == m_change)
            m_presenter->Label3MouseMove();
        else
            m_presenter->Label5MouseMove();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton ||
            !link->rect().contains(mouse->position().toPoint()))
            return false;
        if (link == m_create)
            m_presenter->Label4Click();
        else if (link == m_change)
            m_presenter->Label3Click();
        else
            m_presenter->Label5Click();
        return true;
    }
    return false;
}

bool TFormLogin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_create || watched == m_change || watched == m_forgot)
        return LinkEvent(static_cast<QLabel*>(watched), event);
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_pass && IsEnter(key)) {
        m_presenter->RzEdit1KeyPress('\r');
        return true;
    }
    if ((watched == m_login || watched == m_cancel) && IsEnter(key) && !key->isAutoRepeat()) {
        static_cast<QPushButton*>(watched)->click(); // Enter on a focused button presses it
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kelvra::ui
