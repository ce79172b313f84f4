#include "ui/app/MainLayout.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "search/SearchKinds.h"
#include "settings/LanguageTables.h"
#include "ui/browser/BrowserView.h"
#include "ui/skin/LazyPicture.h"
#include "ui/skin/Skin.h"
#include "ui/widgets/GroupBar.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/SideChannel.h"
#include "ui/widgets/SideItemList.h"
#include "ui/widgets/StatusWidgets.h"
#include "window/MainPage.h"

namespace kelvra::ui {
namespace {

constexpr int kFieldWidth = 150;

QPushButton* SearchButton(const QString& name, const QString& accessible, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("Search"), parent);
    button->setObjectName(name);
    button->setAccessibleName(accessible);
    button->setFixedSize(75, 25);
    button->setCursor(Qt::PointingHandCursor);
    button->setProperty("searchButton", true);
    return button;
}

QLabel* PanelLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    label->setWordWrap(true);
    label->setProperty("panelTitle", true);
    return label;
}

QComboBox* DropDownList(const QString& name, const QString& accessible, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessible);
    box->setEditable(false); // the user picks an entry and cannot type
    box->setFixedWidth(kFieldWidth);
    box->setMaxVisibleItems(20);
    box->view()->setMinimumWidth(220); // long makes and engine codes stay readable
    return box;
}

void AddCentred(QVBoxLayout* layout, QWidget* widget) {
    layout->addWidget(widget, 0, Qt::AlignHCenter);
}

// The text a control shows before the first language is applied: the Chinese text of its key.
QString DesignedText(const char* key) {
    return QString::fromUtf8(BuiltInText("Function", key, true));
}

QWidget* NumberPanel() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 12, 0, 8);
    layout->setSpacing(4);
    for (const NumberSearch& search : NumberSearches()) {
        auto* edit = new QLineEdit(DesignedText(search.hintKey), panel);
        edit->setObjectName(search.field);
        edit->setAccessibleName(QString::fromUtf8(search.accessibleName));
        edit->setToolTip(edit->text());
        edit->setProperty("hint", edit->text());
        edit->setFixedSize(kFieldWidth, 23);
        AddCentred(layout, edit);
        auto* button = SearchButton(search.button,
                                    QStringLiteral("Search by ") + search.accessibleName, panel);
        auto* buttonRow = new QHBoxLayout;
        buttonRow->setContentsMargins(0, 0, (185 - kFieldWidth) / 2, 0);
        buttonRow->addStretch(1);
        buttonRow->addWidget(button);
        layout->addLayout(buttonRow);
        layout->addSpacing(6);
    }
    layout->addStretch(1);
    return panel;
}

// A titled block of lists with its search button.
void AddListBlock(QVBoxLayout* layout, QWidget* panel, const ListSearch& search) {
    // Left-aligned with the lists; added without an alignment so that a wrapped title gets
    // the height of its lines.
    QLabel* heading = PanelLabel(search.titleLabel, DesignedText(search.titleKey), panel);
    heading->setContentsMargins((185 - kFieldWidth) / 2, 0, 8, 0);
    layout->addWidget(heading);
    for (const ListBox box : search.lists) {
        const SelectionList& list = ListOf(box);
        AddCentred(layout,
                   DropDownList(list.controlName, QString::fromUtf8(list.accessibleName), panel));
    }
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(0, 0, (185 - kFieldWidth) / 2, 0);
    buttonRow->addStretch(1);
    buttonRow->addWidget(
        SearchButton(search.button, QString::fromUtf8(search.accessibleName), panel));
    layout->addLayout(buttonRow);
}

// A panel of two blocks of lists: the searches of the two kinds, top to bottom.
QWidget* ListPanel(int upperKind, int lowerKind) {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 12, 0, 8);
    layout->setSpacing(5);
    AddListBlock(layout, panel, *ListSearchOf(upperKind));
    layout->addSpacing(18);
    AddListBlock(layout, panel, *ListSearchOf(lowerKind));
    layout->addStretch(1);
    return panel;
}

QLabel* Picture(const QString& name, const QString& accessible, const QString& file, QSize fallback,
                QWidget* page) {
    // Decoded when its page is first shown.
    auto* picture = new LazyPicture(file, fallback, page);
    picture->setObjectName(name);
    picture->setAccessibleName(accessible);
    return picture;
}

} // namespace

SidePanel BuildSidePanel(QWidget* parent, const QList<QPixmap>& itemImages) {
    SidePanel side;
    side.channel = new SideChannel(parent);
    side.bar = new GroupBar;
    QWidget* bodies[5] = {NumberPanel(), ListPanel(kSearchVehicleType, kSearchVehicleBrand),
                          ListPanel(kSearchEngineCode, kSearchEngineBrand), nullptr, nullptr};
    side.group4Items =
        new SideItemList(QStringLiteral("RzGroup4"), itemImages, {DesignedText("G4_recomm")}, {5});
    QStringList otherItems;
    for (const char* key : kOtherItemKeys)
        otherItems << DesignedText(key);
    side.group5Items = new SideItemList(QStringLiteral("RzGroup5"), itemImages, otherItems,
                                        {0, 8, 1, 3, 2, 4, 7, 9});
    bodies[3] = side.group4Items;
    bodies[4] = side.group5Items;
    for (int i = 0; i < 5; ++i) {
        const std::string number = std::to_string(i + 1);
        auto* group = new SideGroup(QString::fromStdString("RzGroup" + number),
                                    DesignedText(("Group" + number).c_str()));
        group->SetBody(bodies[i]);
        side.bar->AddGroup(group);
    }
    side.bar->OpenGroup(0);
    side.channel->SetContent(side.bar);
    return side;
}

PageArea BuildPageArea(QWidget* parent, BrowserProfile& profile) {
    PageArea area;
    area.control = new PageControl(parent);
    constexpr int kPageCount = kPageError + 1;
    QWidget* pages[kPageCount];
    for (int i = 0; i < kPageCount; ++i)
        pages[i] = area.control->AddPage(QStringLiteral("TabSheet%1").arg(i + 1));

    const struct {
        int page;
        const char* name;
    } browsers[] = {{kPageResults, "WebBrowser1"},
                    {kPageCountry, "WebBrowser2"},
                    {kPageSuppliers, "WebBrowser3"},
                    {kPagePurchase, "WebBrowser4"}};
    for (int i = 0; i < 4; ++i) {
        QWidget* page = pages[browsers[i].page];
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        area.browsers[i] = new BrowserView(QString::fromLatin1(browsers[i].name), profile, page);
        layout->addWidget(area.browsers[i]);
    }

    area.homeChinese = Picture("img_bg", QStringLiteral("Kelvra home"), "home_cn.jpg",
                               QSize(720, 560), pages[kPageHomeChinese]);
    area.homeEnglish = Picture("Image1", QStringLiteral("Kelvra home"), "home_en.jpg",
                               QSize(720, 560), pages[kPageHomeEnglish]);
    area.network = Picture("Image2", QStringLiteral("No network connection"), "network.jpg",
                           QSize(700, 250), pages[kPageNetwork]);

    auto* about = new QGridLayout(pages[kPageAbout]);
    about->setContentsMargins(0, 0, 0, 0);
    area.aboutEnglish = Picture("img_about_en", QStringLiteral("About Kelvra"), "about_en.jpg",
                                QSize(759, 661), pages[kPageAbout]);
    area.aboutChinese = Picture("img_about_cn", QStringLiteral("About Kelvra"), "about_cn.jpg",
                                QSize(759, 661), pages[kPageAbout]);
    for (QLabel* picture : {area.aboutEnglish, area.aboutChinese}) {
        picture->setScaledContents(true);
        picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        about->addWidget(picture, 0, 0);
    }
    area.aboutEnglish->hide();

    area.errorPanel = new QFrame(pages[kPageError]);
    area.errorPanel->setObjectName("RzPanel1");
    area.errorPanel->setAccessibleName(QStringLiteral("Error"));
    area.errorPanel->resize(393, 57);
    auto* errorIcon =
        Picture("Image3", QStringLiteral("Error"), "error.png", QSize(32, 32), area.errorPanel);
    area.errorText = new QLabel(QStringLiteral("Error! Please try again later"), area.errorPanel);
    area.errorText->setObjectName("Label5");
    area.errorText->setAccessibleName(QStringLiteral("Error message"));
    QFont bold = area.errorText->font();
    bold.setBold(true);
    bold.setPointSize(12);
    area.errorText->setFont(bold);
    auto* errorRow = new QHBoxLayout(area.errorPanel);
    errorRow->setContentsMargins(12, 4, 12, 4);
    errorRow->setSpacing(12);
    errorRow->addWidget(errorIcon);
    errorRow->addWidget(area.errorText, 1);
    return area;
}

StatusBar BuildStatusBar(QWidget* parent) {
    StatusBar status;
    status.bar = new QWidget(parent);
    status.bar->setObjectName("RzStatusBar1");
    status.bar->setAccessibleName(QStringLiteral("Status bar"));
    status.bar->setAttribute(Qt::WA_StyledBackground, true);
    status.bar->setFixedHeight(19);

    auto* left = new QFrame(status.bar);
    left->setObjectName("RzStatusPane1");
    left->setAccessibleName(QStringLiteral("Network state"));
    status.networkText = new QLabel(left);
    status.networkText->setObjectName("Label6");
    status.networkText->setAccessibleName(QStringLiteral("Network state"));
    status.networkText->setAttribute(Qt::WA_TranslucentBackground, true);
    status.networkText->setGeometry(8, 0, 300, 19);

    auto* middle = new QFrame(status.bar);
    middle->setObjectName("RzStatusPane2");
    middle->setAccessibleName(QStringLiteral("Mobile apps"));
    auto* linkPanel = new QFrame(middle);
    linkPanel->setObjectName("RzPanel3");
    linkPanel->setAccessibleName(QStringLiteral("Mobile apps"));
    linkPanel->setGeometry(336 - 329, 0, 285, 19);
    status.link = new UrlLabel(linkPanel);
    status.link->setAccessibleName(QStringLiteral("Mobile apps information"));
    status.link->setText(QStringLiteral("  点击了解苹果系列与安卓手机安装方法"));
    status.link->setGeometry(0, 0, 260, 19);

    status.clock = new ClockStatus(status.bar);
    status.quota = new QuotaStatus(status.bar);
    status.service = new ServiceStatus(status.bar);
    status.hint = new StatusHint(status.bar);
    return status;
}

void LayoutStatusBar(const StatusBar& status, int width) {
    auto* left = status.bar->findChild<QFrame*>("RzStatusPane1");
    auto* middle = status.bar->findChild<QFrame*>("RzStatusPane2");
    left->setGeometry(0, 0, 329, 19);
    middle->setGeometry(329, 0, 481, 19);
    status.clock->setGeometry(width - 122, 0, 122, 19);
    // After the link, up to the clock; the text keeps to the right, next to the clock.
    const int quotaLeft = 329 + 7 + 285;
    status.quota->setGeometry(quotaLeft, 0, std::max(0, width - 122 - 6 - quotaLeft), 19);
    const int serviceLeft = 329 + 7 + 260 + 4; // right after the link's text
    status.service->setGeometry(serviceLeft, 0, std::max(0, width - 122 - 6 - serviceLeft), 19);
    // Over the link and the quota while it is shown.
    status.hint->setGeometry(329 + 1, 0, std::max(0, width - 122 - 329 - 2), 19);
}

} // namespace kelvra::ui
