// The side panel's combo boxes bound to the list logic, against the stand-in service: ids as
// item data, Chinese names from GB2312 replies intact, loads only on a user's choice.
#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "service/HttpTransport.h"
#include "support/SimProcess.h"
#include "ui/app/ComboListsBinder.h"

using kelvra::test::SimProcess;

class ComboListsBinderTest : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        SimProcess sim;
        std::unique_ptr<kelvra::HttpTransport> transport = kelvra::MakeCurlTransport();
        kelvra::AppState state;
        QComboBox boxes[7];
        int errorPages = 0;
        bool online = true;
        std::unique_ptr<kelvra::ComboListsBinder> binder;

        Fixture() {
            state.xmlBaseUrl = sim.Root() + "/kelvra_cd/xml/";
            state.heldTexts["rcb_1"] = "请选择车辆品牌";
            const char* names[] = {"cb_group1_brand",     "cb_group1_category", "cb_group1_type",
                                   "cb_group1_brand_all", "cb_group2_eg",       "engine_code",
                                   "cb_group2_eg_all"};
            for (int i = 0; i < 7; ++i) {
                boxes[i].setObjectName(names[i]);
            }
            kelvra::ListComboBoxes set{&boxes[0], &boxes[1], &boxes[2], &boxes[3],
                                       &boxes[4], &boxes[5], &boxes[6]};
            binder = std::make_unique<kelvra::ComboListsBinder>(
                set, [this] { ++errorPages; }, state, *transport, [this] { return online; });
        }
        QComboBox& brand() { return boxes[0]; }
        QComboBox& category() { return boxes[1]; }
        QComboBox& type() { return boxes[2]; }
        QComboBox& engine() { return boxes[4]; }
        QComboBox& engineCode() { return boxes[5]; }

        int IndexOfData(QComboBox& box, int id) { return box.findData(id); }
        // A choice as the user makes it: select, then the activated signal.
        void Choose(QComboBox& box, int index) {
            box.setCurrentIndex(index);
            emit box.activated(index);
        }
    };

private slots:
    void fillsListsWithIdsAndChineseTexts() {
        Fixture f;
        f.binder->GetComboxList();
        QCOMPARE(f.errorPages, 0);
        QCOMPARE(f.brand().itemText(0), QString::fromUtf8("请选择车辆品牌"));
        QCOMPARE(f.brand().itemData(0).toInt(), 0);
        QCOMPARE(f.brand().currentIndex(), 0);
        int audi = f.IndexOfData(f.brand(), 5);
        QVERIFY(audi > 0);
        QCOMPARE(f.brand().itemText(audi), QString::fromUtf8("Audi 奥迪"));
        // The engine lists come as GB2312 documents.
        int vw = f.IndexOfData(f.engine(), 1);
        QVERIFY(vw > 0);
        QCOMPARE(f.engine().itemText(vw), QString::fromUtf8("大众 Volkswagen"));
        QCOMPARE(f.category().count(), 1);
        QCOMPARE(f.engineCode().count(), 1);
    }

    void loadsOnlyOnUserChoices() {
        Fixture f;
        f.binder->GetComboxList();
        f.sim.ClearRequests();

        // Selecting from code or clearing raises nothing.
        f.brand().setCurrentIndex(f.IndexOfData(f.brand(), 5));
        f.category().clear();
        f.type().setCurrentIndex(0);
        QVERIFY(f.sim.Requests().empty());

        f.Choose(f.brand(), f.IndexOfData(f.brand(), 5));
        QCOMPARE(f.category().count(), 3); // prompt, A4, A6
        QCOMPARE(f.category().currentIndex(), 0);
        f.Choose(f.category(), f.IndexOfData(f.category(), 501));
        QCOMPARE(f.type().count(), 3);
        QCOMPARE(f.type().itemData(1).toInt(), 50101);
        f.Choose(f.engine(), f.IndexOfData(f.engine(), 1));
        QCOMPARE(f.engineCode().count(), 5);
        // No change handling on the type list.
        f.Choose(f.type(), 1);

        std::vector<std::string> expected = {"/kelvra_cd/xml/get_category.asp?mfa_id=5",
                                             "/kelvra_cd/xml/get_type.asp?mod_id=501",
                                             "/kelvra_cd/xml/get_enginecode.asp?eng_id=1"};
        QCOMPARE(f.sim.Requests(), expected);

        // A second make empties the types.
        f.Choose(f.brand(), f.IndexOfData(f.brand(), 16));
        QCOMPARE(f.type().count(), 1);
        QCOMPARE(f.category().itemData(1).toInt(), 1601);
    }

    void failedLoadShowsTheErrorPage() {
        Fixture f;
        f.binder->GetComboxList();
        f.sim.InjectFault("/kelvra_cd/xml/get_category.asp", "500");
        f.Choose(f.brand(), f.IndexOfData(f.brand(), 5));
        QCOMPARE(f.errorPages, 1);
        QCOMPARE(f.category().count(), 1);
        QCOMPARE(f.category().currentIndex(), 0);
    }
};

QTEST_MAIN(ComboListsBinderTest)
#include "combo_lists_binder_test.moc"
