// Run under LANG=de_DE.UTF-8: Qt adopts the German locale, yet the core's frequencies keep their
// decimal point both ways, and so do the fields that show them.
#include <QtTest>
#include <clocale>

#include "coordinator/coordinator.h"
#include "gui/number_fields.h"
#include "gui_test.h"
#include "params/definitions.h"
#include "params/modem_parameter_set.h"
#include "params/parameter_ids.h"
#include "params/parameter_text.h"
#include "support/fake_clock.h"
#include "support/recording_operator.h"
#include "util/format.h"

namespace vxl::gui::test {

class Locale : public QObject {
    Q_OBJECT
  private slots:
    void frequenciesKeepTheirPointUnderAGermanLocale();
};

void Locale::frequenciesKeepTheirPointUnderAGermanLocale() {
    if (QLocale().decimalPoint() != QLatin1Char(','))
        QSKIP("the de_DE.UTF-8 locale is not installed (scripts/deps.sh generates it)");
    QCOMPARE(QString::fromLatin1(std::setlocale(LC_NUMERIC, nullptr)), QStringLiteral("C"));
    QCOMPARE(QString::fromStdString(Format("%.4f", 459.85)), QStringLiteral("459.8500"));

    vxl::test::FakeClock clock;
    vxl::test::RecordingOperator ui;
    ScopedClock clockScope(clock);
    ScopedUi uiScope(ui);
    ScopedDefinitionsPath definitions(VXL_SOURCE_DATA_DIR "/vxlconf.ini");
    CCoordinator coordinator;
    QCOMPARE(coordinator.StartDemo(), 0);
    ModemParameterSet& set = *coordinator.Settings().Parameters();
    const int channel = pid::RxChannelId(1);
    double minimum = 0, maximum = 0;
    int decimals = 0;
    QCOMPARE(set.GetRealRange(channel, minimum, maximum, decimals), 0);
    const double middle = (minimum + maximum) / 2 + 0.0125;
    const std::string typed = Format("%.4f", middle);
    QCOMPARE(set.SetReal(channel, middle), 0);
    std::string text;
    QCOMPARE(set.GetText(channel, text), 0);
    QCOMPARE(QString::fromStdString(text), QString::fromStdString(typed));
    double parsed = 0;
    QCOMPARE(ParseDecimalReal(text, minimum, maximum, parsed), 0);
    QCOMPARE(parsed, middle);

    RealField field;
    field.SetRange(minimum, maximum, decimals);
    field.SetValue(middle);
    QCOMPARE(field.text(), QString::fromStdString(typed));
    field.clear();
    QTest::keyClicks(&field, QString::fromStdString(typed));
    QCOMPARE(field.text(), QString::fromStdString(typed));
    QCOMPARE(field.Value(), middle);
    QTest::keyClick(&field, Qt::Key_Comma);
    QCOMPARE(field.text(), QString::fromStdString(typed));  // a comma is no decimal point here
}

VXL_GUI_SUITE(Locale);

}  // namespace vxl::gui::test

#include "locale_test.moc"
