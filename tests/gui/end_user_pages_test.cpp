// The Identification, Radio Link and Serial Interface pages driven as the operator drives them,
// on the demo modem: what they show, what an edit sends, and how the rules answer on the page.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "app/config_app.h"
#include "coordinator/coordinator.h"
#include "gui/main_dialog.h"
#include "gui/pages.h"
#include "gui/property_sheet.h"
#include "gui/text_fields.h"
#include "gui/up_down_control.h"
#include "gui_test.h"
#include "params/definitions.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_ids.h"
#include "support/fake_clock.h"
#include "support/recording_operator.h"
#include "support/temp_dir.h"

namespace vxl::gui::test {

class EndUserPages : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void everyControlShowsTheStoredValue();
    void callSignAndOwnerTakeWhatTheirFieldsAllow();
    void protocolModeShowsTheEotFieldsItUses_data();
    void protocolModeShowsTheEotFieldsItUses();
    void eotCharacterStepsWrapAroundByName();
    void linkRateAndModulationAnswerEachOther();
    void refusedValuesSnapBack();
    void importAndChannelChoiceRefillTheChannelList();
    void fixedDetails();

  private:
    template <class T = QWidget>
    T* Find(const char* name) const {
        T* found = dialog->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) qFatal("no control named %s", name);
        return found;
    }
    Page* PageOf(CoordinatorPage page) const { return dialog->sheet()->page(page); }
    QWidget* Control(CoordinatorPage page, int id) const { return PageOf(page)->Control(id); }
    ModemParameterSet& Set() const { return *app->Coordinator().GetParameterSet(); }
    int Int(int id) const {
        int value = -999;
        Set().GetInt(id, value);
        return value;
    }
    QString Text(int id) const {
        std::string text;
        Set().GetText(id, text);
        return QString::fromStdString(text);
    }
    // The operator picks an item of a list.
    void Pick(const char* list, const QString& text) {
        auto* box = Find<QComboBox>(list);
        const int index = box->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        box->setCurrentIndex(index);
        emit box->activated(index);
        dialog->RunUpdatePass();
    }
    void Type(const char* field, const QString& text) {
        auto* edit = Find<QLineEdit>(field);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        dialog->RunUpdatePass();
    }
    QStringList Items(const char* list) const {
        QStringList items;
        auto* box = Find<QComboBox>(list);
        for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
        return items;
    }

    vxl::test::RecordingOperator ui;
    std::unique_ptr<ScopedUi> uiScope;
    vxl::test::FakeClock clock;
    std::unique_ptr<ScopedClock> clockScope;
    std::unique_ptr<ScopedDefinitionsPath> definitions;
    std::unique_ptr<CConfigApp> app;
    std::unique_ptr<MainDialog> dialog;
};

void EndUserPages::init() {
    ui = vxl::test::RecordingOperator();
    uiScope = std::make_unique<ScopedUi>(ui);
    clockScope = std::make_unique<ScopedClock>(clock);
    definitions = std::make_unique<ScopedDefinitionsPath>(VXL_SOURCE_DATA_DIR "/vxlconf.ini");
    app = std::make_unique<CConfigApp>();
    app->Coordinator().Init(7, 1);
    dialog = std::make_unique<MainDialog>(*app);
    app->Coordinator().SetView(dialog.get());
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    dialog->model().StartDemo();
    dialog->RunUpdatePass();
    QVERIFY(ui.messages.empty());
}

void EndUserPages::cleanup() {
    std::string response;
    app->Coordinator().Detach(response, true);
    app->Coordinator().SetView(nullptr);
    dialog.reset();
    app.reset();
    definitions.reset();
    clockScope.reset();
    uiScope.reset();
}

void EndUserPages::everyControlShowsTheStoredValue() {
    const std::map<int, QString> suffixes = {
        {pid::kFrequency, " MHz"}, {pid::kPower, " Watts"}, {pid::kChannelBandwidth, " K"}};
    int checked = 0;
    for (CoordinatorPage index : {CoordinatorPage::Identification, CoordinatorPage::RadioLink,
                                  CoordinatorPage::SerialInterface}) {
        for (int id = 0; id < pid::kParameterCount; ++id) {
            const ParameterInfo* info = CatalogueInfo(id);
            QWidget* control = info != nullptr ? PageOf(index)->ParameterControl(id) : nullptr;
            if (control == nullptr) continue;
            const QByteArray key(info->key);
            ++checked;
            if (auto* box = qobject_cast<QComboBox*>(control)) {
                QCOMPARE(box->currentText(), Text(id));
            } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
                bool value = false;
                Set().GetBool(id, value);
                QVERIFY2(check->isChecked() == value, key);
            } else if (auto* number = qobject_cast<IntField*>(control)) {
                QVERIFY2(number->Value() == Int(id), key);
            } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
                const auto suffix = suffixes.find(id);
                QCOMPARE(edit->text(), Text(id) + (suffix != suffixes.end() ? suffix->second : ""));
            } else if (id != pid::kChannelSelectType) {
                QFAIL(key);
            }
        }
    }
    QCOMPARE(checked, 9 + 13 + 11);
}

void EndUserPages::callSignAndOwnerTakeWhatTheirFieldsAllow() {
    auto* callSign = Find<CallSignField>("CallSign");
    QSignalSpy beeps(callSign, &FieldEdit::refused);
    Type("CallSign", "w1aw/p");
    QCOMPARE(callSign->text(), QStringLiteral("W1AW/P"));
    QCOMPARE(Text(pid::kCallSign), QStringLiteral("W1AW/P"));
    QTest::keyClicks(callSign, "abcde");  // ten characters on this modem
    QCOMPARE(callSign->text(), QStringLiteral("W1AW/PABCD"));
    QCOMPARE(beeps.count(), 1);
    QTest::keyClick(callSign, Qt::Key_Backspace);
    QCOMPARE(Text(pid::kCallSign), QStringLiteral("W1AW/PABC"));

    Type("Owner", QString(33, QLatin1Char('o')));
    QCOMPARE(Find<QLineEdit>("Owner")->text().size(), 32);
    QCOMPARE(Text(pid::kOwner), QString(32, QLatin1Char('o')));
    QVERIFY(PageOf(CoordinatorPage::Identification)->changed());
    QVERIFY(!PageOf(CoordinatorPage::RadioLink)->changed());

    QTest::keyClick(dialog.get(), Qt::Key_F4);  // Program, answered Yes
    QVERIFY(!app->Coordinator().IsModified());
    QVERIFY(!PageOf(CoordinatorPage::Identification)->changed());
}

void EndUserPages::protocolModeShowsTheEotFieldsItUses_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("character");
    QTest::addColumn<bool>("count");
    QTest::newRow("0") << "Transparent w/EOT Timeout" << false << true;
    QTest::newRow("1") << "Transparent w/EOT Character" << true << false;
    QTest::newRow("2") << "Packet Switched" << false << false;
    QTest::newRow("3") << "Digipeater" << false << false;
    QTest::newRow("4") << "Fast Async" << false << true;
    QTest::newRow("5") << "TrimMark II/IIe" << false << true;
    QTest::newRow("6") << "TrimTalk 450s" << false << true;
}

void EndUserPages::protocolModeShowsTheEotFieldsItUses() {
    QFETCH(QString, mode);
    QFETCH(bool, character);
    QFETCH(bool, count);
    dialog->sheet()->setCurrentIndex(2);
    Page* page = PageOf(CoordinatorPage::SerialInterface);
    // Away from the mode first, so that a filling has to put the fields right as well.
    Pick("ProtocolMode", mode == "Packet Switched" ? "Digipeater" : "Packet Switched");
    for (bool refilled : {false, true}) {
        if (refilled) {
            app->Coordinator().RefreshPages();
        } else {
            Pick("ProtocolMode", mode);
        }
        QCOMPARE(Text(pid::kProtocolMode), mode);
        for (const char* name : {"EOTCharacter", "eotCharacterUpDown", "eotCharacterLabel"})
            QVERIFY2(Find(name)->isVisibleTo(page) == character, name);
        for (const char* name : {"EOTCount", "eotCountLabel"})
            QVERIFY2(Find(name)->isVisibleTo(page) == count, name);
        for (const char* name : {"EOTTimeout", "eotTimeoutLabel"})
            QVERIFY2(!Find(name)->isVisibleTo(page), name);
    }
    QVERIFY(page->changed());
}

void EndUserPages::eotCharacterStepsWrapAroundByName() {
    dialog->sheet()->setCurrentIndex(2);
    Pick("ProtocolMode", "Transparent w/EOT Character");
    app->Coordinator().SetIntParameter(pid::kEOTCharacter, 0);
    app->Coordinator().RefreshPages();
    auto* name = Find<QLineEdit>("EOTCharacter");
    auto* arrows = Find<UpDownControl>("eotCharacterUpDown");
    QCOMPARE(name->text(), QStringLiteral("NUL"));
    const struct {
        Qt::Key key;
        const char* shown;
        int code;
    } steps[] = {{Qt::Key_Down, "0xFF", 255}, {Qt::Key_Up, "NUL", 0}, {Qt::Key_Up, "SOH", 1}};
    for (const auto& step : steps) {
        QTest::keyClick(arrows, step.key);
        QCOMPARE(name->text(), QString::fromLatin1(step.shown));
        QCOMPARE(Int(pid::kEOTCharacter), step.code);
        QCOMPARE(Find<IntField>("EOTCount")->Value(), step.code);  // the same byte
    }
}

void EndUserPages::linkRateAndModulationAnswerEachOther() {
    dialog->sheet()->setCurrentIndex(1);
    QCOMPARE(Items("LinkRate"), QStringList({"4800", "9600"}));  // GMSK at 25 kHz
    Pick("ModulationType", "4-Level-FSK");
    QCOMPARE(Items("LinkRate"), QStringList({"4800", "9600", "19200"}));
    Pick("LinkRate", "19200");
    Pick("ModulationType", "GMSK");  // 19200 is not a GMSK rate
    QCOMPARE(Find<QComboBox>("LinkRate")->currentText(), QStringLiteral("9600"));
    QCOMPARE(Int(pid::kLinkRate), 3);

    // The TrimMark and TrimTalk protocols run GMSK only.
    Pick("ModulationType", "4-Level-FSK");
    dialog->sheet()->setCurrentIndex(2);
    Pick("ProtocolMode", "TrimMark II/IIe");
    QCOMPARE(Find<QComboBox>("ModulationType")->currentText(), QStringLiteral("GMSK"));
    QVERIFY(!Find("ModulationType")->isEnabled());

    // At 12.5 kHz 4-Level-FSK has one rate: nothing to choose.
    Pick("ProtocolMode", "Packet Switched");
    app->Coordinator().SetIntParameter(pid::kChannelBandwidth, 1);
    dialog->RunUpdatePass();
    QCOMPARE(Items("LinkRate"), QStringList({"9600"}));
    QVERIFY(!Find("LinkRate")->isEnabled());
    QVERIFY(Find("ModulationType")->isEnabled());
}

void EndUserPages::refusedValuesSnapBack() {
    dialog->sheet()->setCurrentIndex(1);
    auto* local = Find<IntField>("LocalAddress");
    const int stored = Int(pid::kLocalAddress);
    Type("LocalAddress", "999");  // above 255: refused, shown in red
    QCOMPARE(local->palette().color(QPalette::Text), QColor(255, 0, 0));
    QVERIFY(Int(pid::kLocalAddress) != 999);
    Find("RemoteAddress")->setFocus();  // leaving puts back the value it had
    QCOMPARE(local->text(), QString::number(stored));
    QCOMPARE(Int(pid::kLocalAddress), stored);

    // A time-out the modem cannot hold stays on screen until the next filling.
    auto* timeout = Find<RealField>("TxAckTimeout");
    Type("TxAckTimeout", "70000");
    QCOMPARE(timeout->text(), QStringLiteral("70000"));
    QCOMPARE(Text(pid::kTxAckTimeout), QStringLiteral("700.0"));  // the last one it took
    Pick("ModulationType", "4-Level-FSK");                        // refills the pages
    QCOMPARE(timeout->text(), QStringLiteral("700.0"));
}

void EndUserPages::importAndChannelChoiceRefillTheChannelList() {
    dialog->sheet()->setCurrentIndex(1);
    vxl::test::TempDir dir;
    double rx[kGridChannels];
    double tx[kGridChannels];
    for (int k = 0; k < kGridChannels; ++k) {
        rx[k] = 450.0 + k;
        tx[k] = 460.0 + k;
    }
    const std::string table = dir.File("all.upg");
    QCOMPARE(Set().WriteChannelTableFile(table, 0, rx, tx), 0);
    ui.ScriptFiles({table});
    QTest::mouseClick(Find<QPushButton>("importChannelTableButton"), Qt::LeftButton);
    QVERIFY(ui.messages.empty());
    QCOMPARE(Find<QComboBox>("CurrentChannel")->count(), kGridChannels);
    QVERIFY(PageOf(CoordinatorPage::Frequencies)->changed());

    Pick("CurrentChannel", Find<QComboBox>("CurrentChannel")->itemText(5));
    QCOMPARE(Int(pid::kCurrentChannel), 5);
    QVERIFY(Find<QComboBox>("CurrentChannel")->currentText().contains("455.0000"));
    QVERIFY(PageOf(CoordinatorPage::RadioLink)->changed());
}

void EndUserPages::fixedDetails() {
    for (const auto& [page, id] : {std::pair{CoordinatorPage::SerialInterface, 1111},
                                   {CoordinatorPage::SerialInterface, 1112},
                                   {CoordinatorPage::RadioLink, 1084},
                                   {CoordinatorPage::RadioLink, 1085},
                                   {CoordinatorPage::RadioLink, 1086},
                                   {CoordinatorPage::RadioLink, 1022}})
        QVERIFY2(Control(page, id)->isHidden(), qPrintable(QString::number(id)));
    QVERIFY(!Find("ModemEnable")->isEnabled());
    QCOMPARE(Find("ModulationType")->toolTip(),
             QStringLiteral("Method of signal modulation over radio link"));
    QCOMPARE(Find<QLabel>("channelHeader")->text(),
             QStringLiteral("Channel                 TX                     RX"));

    // Slowest first; the three codes this modem reads as 1200 are one entry, carrying the code
    // stored when it is one of them.
    QCOMPARE(Items("BaudRate"), QStringList({"1200", "2400", "4800", "9600", "19200", "38400"}));
    auto* baud = Find<ChoiceField>("BaudRate");
    QCOMPARE(baud->itemData(0).toInt(), 4);
    app->Coordinator().SetIntParameter(pid::kBaudRate, 6);
    app->Coordinator().RefreshPages();
    QCOMPARE(baud->currentText(), QStringLiteral("1200"));
    QCOMPARE(baud->Value(), 6);
    QCOMPARE(baud->count(), 6);
}

VXL_GUI_SUITE(EndUserPages);

}  // namespace vxl::gui::test

#include "end_user_pages_test.moc"
