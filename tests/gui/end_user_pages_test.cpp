// The Identification, Radio Link and Serial Interface pages driven as the operator drives them,
// on the demo modem: what they show, what an edit sends, and how the rules answer on the page.
#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "coordinator/coordinator.h"
#include "gui/text_fields.h"
#include "gui_test.h"
#include "level_window.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_catalogue.h"
#include "support/temp_dir.h"
#include "window/page_plan.h"

namespace vxl::gui::test {

class EndUserPages : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        s = std::make_unique<LevelWindow>(std::vector<std::string>{});
        s->LoadDemo();
        QVERIFY(s->app->Coordinator().IsLoaded() && s->ui.messages.empty());
    }
    void cleanup() { s.reset(); }
    void everyControlShowsTheStoredValue();
    void callSignAndOwnerTakeWhatTheirFieldsAllow();
    void protocolModeShowsTheEotFieldsItUses_data();
    void protocolModeShowsTheEotFieldsItUses();
    void eotCharacterStepsWrapAroundByName();
    void linkRateAndModulationAnswerEachOther();
    void importAndChannelChoiceRefillTheChannelList();
    void controlsNoLevelUsesAreHidden();

  private:
    template <class T = QWidget>
    T* Find(const char* name) const {
        T* found = s->dialog->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) qFatal("no control named %s", name);
        return found;
    }
    Page* PageOf(SheetPage page) const { return s->dialog->sheet()->page(page); }
    CCoordinator& Coordinator() { return s->app->Coordinator(); }
    int Int(int id) {
        int value = -999;
        Coordinator().Settings().Parameters()->GetInt(id, value);
        return value;
    }
    QString Text(int id) {
        std::string text;
        Coordinator().Settings().Parameters()->GetText(id, text);
        return QString::fromStdString(text);
    }
    // The operator picks an item of a list, or types into a field.
    void Pick(const char* list, const QString& text) {
        auto* box = Find<QComboBox>(list);
        box->setCurrentIndex(box->findText(text));
        QVERIFY2(box->currentIndex() >= 0, qPrintable(text));
        emit box->activated(box->currentIndex());
        s->dialog->RunUpdatePass();
    }
    void Type(const char* field, const QString& text) {
        Find<QLineEdit>(field)->selectAll();
        QTest::keyClicks(Find(field), text);
    }
    QStringList Items(const char* list) const {
        QStringList items;
        for (int i = 0; i < Find<QComboBox>(list)->count(); ++i)
            items << Find<QComboBox>(list)->itemText(i);
        return items;
    }

    std::unique_ptr<LevelWindow> s;
};

// What the XML export of the modem shows, the pages show.
void EndUserPages::everyControlShowsTheStoredValue() {
    std::map<int, QString> units = {
        {pid::kFrequency, " MHz"}, {pid::kPower, " Watts"}, {pid::kChannelBandwidth, " K"}};
    int checked = 0;
    for (int page = 0; page < 3; ++page) {
        for (int id = 0; id < pid::kParameterCount; ++id) {
            QWidget* control = PageOf(SheetPage(page))->ParameterControl(id);
            if (control == nullptr || id == pid::kChannelSelectType) continue;
            const char* key = CatalogueInfo(id)->key;
            bool flag = false;
            ++checked;
            if (auto* box = qobject_cast<QComboBox*>(control)) {
                QCOMPARE(box->currentText(), Text(id));
            } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
                Coordinator().Settings().Parameters()->GetBool(id, flag);
                QVERIFY2(check->isChecked() == flag, key);
            } else if (auto* number = qobject_cast<IntField*>(control)) {
                QVERIFY2(number->Value() == Int(id), key);  // the security code is hexadecimal
            } else {
                QCOMPARE(qobject_cast<QLineEdit*>(control)->text(), Text(id) + units[id]);
            }
        }
    }
    QCOMPARE(checked, 9 + 12 + 11);
}

void EndUserPages::callSignAndOwnerTakeWhatTheirFieldsAllow() {
    QSignalSpy beeps(Find<CallSignField>("CallSign"), &FieldEdit::refused);
    Type("CallSign", "w1aw/pabcde");  // ten characters on this modem
    QCOMPARE(Find<QLineEdit>("CallSign")->text(), QStringLiteral("W1AW/PABCD"));
    QCOMPARE(Text(pid::kCallSign), QStringLiteral("W1AW/PABCD"));
    QCOMPARE(beeps.count(), 1);
    Type("Owner", QString(33, QLatin1Char('o')));
    QCOMPARE(Text(pid::kOwner), QString(32, QLatin1Char('o')));
    QVERIFY(PageOf(SheetPage::Identification)->changed());
    QVERIFY(!PageOf(SheetPage::RadioLink)->changed());

    QTest::keyClick(s->dialog.get(), Qt::Key_F4);  // Program, answered Yes
    QVERIFY(!Coordinator().IsModified());
    QVERIFY(!PageOf(SheetPage::Identification)->changed());
}

void EndUserPages::protocolModeShowsTheEotFieldsItUses_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("character");
    QTest::addColumn<bool>("count");
    QTest::newRow("count") << "Transparent w/EOT Timeout" << false << true;
    QTest::newRow("character") << "Transparent w/EOT Character" << true << false;
    QTest::newRow("none") << "Digipeater" << false << false;
}

void EndUserPages::protocolModeShowsTheEotFieldsItUses() {
    QFETCH(QString, mode);
    QFETCH(bool, character);
    QFETCH(bool, count);
    Page* page = PageOf(SheetPage::SerialInterface);
    // Away from the mode first, so that the filling has to put the fields right as well.
    Pick("ProtocolMode", mode == "Packet Switched" ? "Digipeater" : "Packet Switched");
    for (bool refilled : {false, true}) {
        if (refilled) {
            Coordinator().Settings().Announce(ParameterChanges::All());
        } else {
            Pick("ProtocolMode", mode);
        }
        QCOMPARE(Text(pid::kProtocolMode), mode);
        for (const char* name : {"EOTCharacter", "eotCharacterUpDown", "eotCharacterLabel"})
            QVERIFY2(Find(name)->isVisibleTo(page) == character, name);
        for (const char* name : {"EOTCount", "eotCountLabel"})
            QVERIFY2(Find(name)->isVisibleTo(page) == count, name);
        QVERIFY(!Find("EOTTimeout")->isVisibleTo(page) &&
                !Find("eotTimeoutLabel")->isVisibleTo(page));
    }
    QVERIFY(page->changed());
}

void EndUserPages::eotCharacterStepsWrapAroundByName() {
    Pick("ProtocolMode", "Transparent w/EOT Character");
    Coordinator().Settings().SetInt(pid::kEOTCharacter, 0);
    QCOMPARE(Find<QLineEdit>("EOTCharacter")->text(), QStringLiteral("NUL"));
    const struct {
        Qt::Key key;
        const char* shown;
        int code;
    } steps[] = {{Qt::Key_Down, "0xFF", 255}, {Qt::Key_Up, "NUL", 0}, {Qt::Key_Up, "SOH", 1}};
    for (const auto& step : steps) {
        QTest::keyClick(Find("eotCharacterUpDown"), step.key);
        QCOMPARE(Find<QLineEdit>("EOTCharacter")->text(), QString::fromLatin1(step.shown));
        QCOMPARE(Int(pid::kEOTCharacter), step.code);
        QCOMPARE(Find<IntField>("EOTCount")->Value(), step.code);  // the same byte
    }
}

void EndUserPages::linkRateAndModulationAnswerEachOther() {
    QCOMPARE(Items("LinkRate"), QStringList({"4800", "9600"}));  // GMSK at 25 kHz
    Pick("ModulationType", "4-Level-FSK");
    Pick("LinkRate", "19200");
    Pick("ModulationType", "GMSK");  // 19200 is not a GMSK rate
    QCOMPARE(Find<QComboBox>("LinkRate")->currentText(), QStringLiteral("9600"));
    QCOMPARE(Int(pid::kLinkRate), 3);

    // A time-out the modem refuses stays on screen until the next filling puts back the last
    // one it took.
    Type("TxAckTimeout", "70000");
    QCOMPARE(Text(pid::kTxAckTimeout), QStringLiteral("700.0"));
    Pick("ModulationType", "4-Level-FSK");
    QCOMPARE(Find<QLineEdit>("TxAckTimeout")->text(), QStringLiteral("700.0"));

    // At 12.5 kHz 4-Level-FSK has one rate: nothing to choose.
    Coordinator().Settings().SetInt(pid::kChannelBandwidth, 1);
    s->dialog->RunUpdatePass();
    QCOMPARE(Items("LinkRate"), QStringList({"9600"}));
    QVERIFY(!Find("LinkRate")->isEnabled() && Find("ModulationType")->isEnabled());
}

void EndUserPages::importAndChannelChoiceRefillTheChannelList() {
    vxl::test::TempDir dir;
    double rx[pid::kChannelCount];
    double tx[pid::kChannelCount];
    for (int k = 0; k < pid::kChannelCount; ++k) rx[k] = (tx[k] = 455.0 + k) - 5.0;
    const std::string table = dir.File("all.upg");
    QCOMPARE(Coordinator().Settings().Parameters()->WriteChannelTableFile(table, 0, rx, tx), 0);
    s->ui.ScriptFiles({table});
    QTest::mouseClick(Find<QPushButton>("importChannelTableButton"), Qt::LeftButton);
    QVERIFY(s->ui.messages.empty());
    QCOMPARE(Find<QComboBox>("CurrentChannel")->count(), pid::kChannelCount);
    QVERIFY(PageOf(SheetPage::Frequencies)->changed());

    Pick("CurrentChannel", Find<QComboBox>("CurrentChannel")->itemText(5));
    QCOMPARE(Int(pid::kCurrentChannel), 5);
    QVERIFY(Find<QComboBox>("CurrentChannel")->currentText().contains("455.0000"));
    QVERIFY(PageOf(SheetPage::RadioLink)->changed());
}

void EndUserPages::controlsNoLevelUsesAreHidden() {
    for (const PageControl& hidden : HiddenControls())
        QVERIFY(PageOf(hidden.page)->Control(hidden.controlId)->isHidden());
    QVERIFY(!Find("ModemEnable")->isEnabled());
}

VXL_GUI_SUITE(EndUserPages);

}  // namespace vxl::gui::test

#include "end_user_pages_test.moc"
