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

#include "ui/browser/BrowserView.h"
#include "ui/skin/LazyPicture.h"
#include "ui/skin/Skin.h"
#include "ui/widgets/GroupBar.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/SideChannel.h"
#include "ui/widgets/SideItemList.h"
#include "ui/widgets/StatusWidgets.h"

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

QComboBox* ListBox(const QString& name, const QString& accessible, QWidget* parent) {
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

QWidget* NumberPanel() {
    struct Row {
        const char* edit;
        const char* button;
        const char* designed;
        const char* accessible;
    };
    // Top to bottom: any number, manufacturer number, OE number, special number, EAN.
    const Row rows[] = {
        {"suiEdit_group0_3", "Button3", "请输入任意编号", "Any number"},
        {"suiEdit_group0_2", "Button2", "请输入厂商编号", "Manufacturer number"},
        {"suiEdit_group0_1", "Button1", "请输入OE号", "OE number"},
        {"suiEdit_group0_4", "Button4", "请输入特殊号", "Special number"},
        {"suiEdit_group0_5", "Button6", "请输入国际编码", "EAN"},
    };
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 12, 0, 8);
    layout->setSpacing(4);
    for (const Row& row : rows) {
        auto* edit = new QLineEdit(QString::fromUtf8(row.designed), panel);
        edit->setObjectName(row.edit);
        edit->setAccessibleName(QString::fromUtf8(row.accessible));
        edit->setToolTip(edit->text());
        edit->setProperty("hint", edit->text());
        edit->setFixedSize(kFieldWidth, 23);
        AddCentred(layout, edit);
        auto* button =
            SearchButton(row.button, QStringLiteral("Search by ") + row.accessible, panel);
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

struct ListRow {
    const char* name;
    const char* accessible;
};

// A titled block of lists with its search button.
void AddListBlock(QVBoxLayout* layout, QWidget* panel, const char* label, const char* title,
                  std::initializer_list<ListRow> lists, const char* button, const char* what) {
    // Left-aligned with the lists; added without an alignment so that a wrapped title gets
    // the height of its lines.
    QLabel* heading = PanelLabel(label, QString::fromUtf8(title), panel);
    heading->setContentsMargins((185 - kFieldWidth) / 2, 0, 8, 0);
    layout->addWidget(heading);
    for (const ListRow& list : lists)
        AddCentred(layout, ListBox(list.name, QString::fromUtf8(list.accessible), panel));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(0, 0, (185 - kFieldWidth) / 2, 0);
    buttonRow->addStretch(1);
    buttonRow->addWidget(SearchButton(button, QString::fromUtf8(what), panel));
    layout->addLayout(buttonRow);
}

QWidget* VehiclePanel() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 12, 0, 8);
    layout->setSpacing(5);
    AddListBlock(layout, panel, "Label1", "按具体车型查找配件信息",
                 {{"cb_group1_brand", "Make"},
                  {"cb_group1_category", "Model"},
                  {"cb_group1_type", "Vehicle type"}},
                 "Button5", "Search by vehicle type");
    layout->addSpacing(18);
    AddListBlock(layout, panel, "Label2", "按车辆品牌查找配件信息",
                 {{"cb_group1_brand_all", "All makes"}}, "Button8", "Search by vehicle brand");
    layout->addStretch(1);
    return panel;
}

QWidget* EnginePanel() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 12, 0, 8);
    layout->setSpacing(5);
    AddListBlock(layout, panel, "Label3", "按发动机型号查找配件信息",
                 {{"cb_group2_eg", "Engine brand"}, {"engine_code", "Engine code"}}, "Button7",
                 "Search by engine code");
    layout->addSpacing(18);
    AddListBlock(layout, panel, "Label4", "按发动机品牌查找配件信息",
                 {{"cb_group2_eg_all", "All engine brands"}}, "Button9", "Search by engine brand");
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
    struct Group {
        const char* name;
        const char* caption;
    };
    const Group groups[] = {{"RzGroup1", "按编号查找"},
                            {"RzGroup2", "按车型查找"},
                            {"RzGroup3", "按发动机查找"},
                            {"RzGroup4", "厂商推荐"},
                            {"RzGroup5", "其他选项"}};
    QWidget* bodies[5] = {NumberPanel(), VehiclePanel(), EnginePanel(), nullptr, nullptr};
    side.group4Items =
        new SideItemList(QStringLiteral("RzGroup4"), itemImages, {QStringLiteral("厂商推荐")}, {5});
    side.group5Items = new SideItemList(QStringLiteral("RzGroup5"), itemImages,
                                        {QStringLiteral("关于我们"), QStringLiteral("了解Kelvra"),
                                         QStringLiteral("注册"), QStringLiteral("完善资料"),
                                         QStringLiteral("地区选择"), QStringLiteral("登陆"),
                                         QStringLiteral("在线购买"), QStringLiteral("语言切换")},
                                        {0, 8, 1, 3, 2, 4, 7, 9});
    bodies[3] = side.group4Items;
    bodies[4] = side.group5Items;
    for (int i = 0; i < 5; ++i) {
        auto* group = new SideGroup(groups[i].name, QString::fromUtf8(groups[i].caption));
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
    QWidget* pages[9];
    for (int i = 0; i < 9; ++i)
        pages[i] = area.control->AddPage(QStringLiteral("TabSheet%1").arg(i + 1));

    const struct {
        int page;
        const char* name;
    } browsers[] = {{0, "WebBrowser1"}, {5, "WebBrowser2"}, {4, "WebBrowser3"}, {7, "WebBrowser4"}};
    for (int i = 0; i < 4; ++i) {
        QWidget* page = pages[browsers[i].page];
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        area.browsers[i] = new BrowserView(QString::fromLatin1(browsers[i].name), profile, page);
        layout->addWidget(area.browsers[i]);
    }

    area.homeChinese =
        Picture("img_bg", QStringLiteral("Kelvra home"), "home_cn.jpg", QSize(720, 560), pages[1]);
    area.homeEnglish =
        Picture("Image1", QStringLiteral("Kelvra home"), "home_en.jpg", QSize(720, 560), pages[2]);
    area.network = Picture("Image2", QStringLiteral("No network connection"), "network.jpg",
                           QSize(700, 250), pages[3]);

    auto* about = new QGridLayout(pages[6]);
    about->setContentsMargins(0, 0, 0, 0);
    area.aboutEnglish = Picture("img_about_en", QStringLiteral("About Kelvra"), "about_en.jpg",
                                QSize(759, 661), pages[6]);
    area.aboutChinese = Picture("img_about_cn", QStringLiteral("About Kelvra"), "about_cn.jpg",
                                QSize(759, 661), pages[6]);
    for (QLabel* picture : {area.aboutEnglish, area.aboutChinese}) {
        picture->setScaledContents(true);
        picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        about->addWidget(picture, 0, 0);
    }
    area.aboutEnglish->hide();

    area.errorPanel = new QFrame(pages[8]);
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
}

} // namespace kelvra::ui
