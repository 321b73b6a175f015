#include <QTest>

#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "audio/bank/bank.h"
#include "audio/bank/bank_recipes.h"
#include "audio/bank/det_math.h"
#include "audio/bank/pcm.h"
#include "audio/bank/render_image.h"

using namespace zelmora;

Q_DECLARE_METATYPE(std::vector<double>)
Q_DECLARE_METATYPE(std::vector<std::int16_t>)

namespace {

std::vector<std::uint8_t> Bytes(std::span<const std::uint8_t> image) {
  return {image.begin(), image.end()};
}

}  // namespace

class BankRenderTest : public QObject {
  Q_OBJECT

 private slots:
  // The program carries what the generator made at build time; rendering
  // again must give the same bytes, or the sounds depend on something other
  // than their recipes.
  void renderIsReproducible_data() {
    QTest::addColumn<int>("index");  // bank index; kBankCount: click; +1: bell
    const auto recipes = synth::BankRecipes();
    for (int i = 0; i < int(recipes.size()); ++i) {
      QTest::newRow(recipes[std::size_t(i)].name.data()) << i;
    }
    QTest::newRow("click") << kBankCount;
    QTest::newRow("bell") << kBankCount + 1;
  }
  void renderIsReproducible() {
    QFETCH(int, index);
    const auto recipes = synth::BankRecipes();
    QCOMPARE(int(recipes.size()), kBankCount);
    const synth::TBankRecipe& recipe = index < kBankCount    ? recipes[std::size_t(index)]
                                       : index == kBankCount ? synth::ClickRecipe()
                                                             : synth::BellRecipe();
    const std::vector<std::uint8_t> first = synth::RenderImage(recipe);
    QCOMPARE(synth::RenderImage(recipe), first);
    const std::span<const std::uint8_t> embedded = index < kBankCount    ? BankImage(index)
                                                   : index == kBankCount ? ClickImage()
                                                                         : BellImage();
    QCOMPARE(Bytes(embedded), first);
  }

  void exactPeak_data() {
    QTest::addColumn<std::vector<double>>("signal");
    QTest::addColumn<int>("peak");
    QTest::addColumn<std::vector<std::int16_t>>("values");
    QTest::newRow("positive loudest") << std::vector<double>{0.5, 1.0, -0.25} << 32767
                                      << std::vector<std::int16_t>{16384, 32767, -8192};
    QTest::newRow("full scale flips a positive loudest to -32768")
        << std::vector<double>{0.5, 1.0, -0.999} << 32768
        << std::vector<std::int16_t>{-16384, -32768, 32735};
    QTest::newRow("full scale keeps the other side below 32768")
        << std::vector<double>{-1.0, 1.0, 0.0} << 32768
        << std::vector<std::int16_t>{-32768, 32767, 0};
    QTest::newRow("odd peak") << std::vector<double>{0.0, -3.0, 1.5} << 22065
                              << std::vector<std::int16_t>{0, -22065, 11033};
  }
  void exactPeak() {
    QFETCH(std::vector<double>, signal);
    QFETCH(int, peak);
    QFETCH(std::vector<std::int16_t>, values);
    QCOMPARE(synth::ToPcm16(signal, peak), values);
  }

  // The generator's own sine and exponential must track the library's; the
  // arguments cover every range the recipes use.
  void mathMatchesLibrary_data() {
    QTest::addColumn<double>("x");
    for (double x : {-700.0, -40.0, -1.0, -1e-9, 0.0, 0.5, 1.5707963, 3.2, 6.3, 123.456}) {
      QTest::newRow(qPrintable(QString::number(x))) << x;
    }
  }
  void mathMatchesLibrary() {
    QFETCH(double, x);
    QVERIFY(std::fabs(synth::Sin(x) - std::sin(x)) < 1e-12);
    QVERIFY(std::fabs(synth::Cos(x) - std::cos(x)) < 1e-12);
    QVERIFY(std::fabs(synth::Tanh(x) - std::tanh(x)) < 1e-12);
    const double e = std::exp(x);
    QVERIFY(std::fabs(synth::Exp(x) - e) <= 1e-14 * e);
  }
};

QTEST_APPLESS_MAIN(BankRenderTest)
#include "bank_render_test.moc"
