#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "core/control_binding.h"
#include "core/listeners.h"
#include "core/scope.h"

using namespace zelmora;

namespace {

class TShown final : public TControl<int> {
 public:
  explicit TShown(int value, bool* gone = nullptr) : value_(value), gone_(gone) {}
  ~TShown() override {
    if (gone_ != nullptr) {
      *gone_ = true;
    }
  }
  TShown(const TShown&) = delete;
  TShown& operator=(const TShown&) = delete;
  int Value() const override { return value_; }
  void SetValue(const int& value) override { value_ = value; }

 private:
  int value_;
  bool* gone_;
};

struct TListener {
  std::string Name;
  std::vector<std::string>* Calls;
  void Call() const { Calls->push_back(Name); }
};

}  // namespace

class BindingScopeTest : public QObject {
  Q_OBJECT

 private slots:
  void theScopeDecidesWhatTheBindingKeeps() {
    struct TCase {
      TOnUnbind OnUnbind;
      int Expected;
    };
    for (const TCase& test : {TCase{TOnUnbind::KeepValue, 7}, TCase{TOnUnbind::Forget, 3}}) {
      TBinding<int> binding(3);
      TShown shown(5);
      {
        const TScope scope = binding.Bind(shown, test.OnUnbind);
        QVERIFY(binding.IsBound());
        binding->SetValue(7);
        QCOMPARE(shown.Value(), 7);
      }
      QVERIFY(!binding.IsBound());
      QCOMPARE(binding->Value(), test.Expected);
    }
  }

  void anOwnedControlGoesWithItsScope() {
    TBinding<int> binding;
    bool gone = false;
    TScope scope = binding.Bind(std::make_unique<TShown>(4, &gone));
    QCOMPARE(binding->Value(), 4);
    scope.End();
    QVERIFY(gone);
    QCOMPARE(binding->Value(), 4);
  }

  // A second control replaces the first; the first one's scope then ends
  // nothing, and moving a scope moves the link.
  void aLaterBindWins() {
    TBinding<int> binding;
    TShown first(1), second(2);
    TScope firstScope = binding.Bind(first);
    TScope secondScope = binding.Bind(second);
    firstScope.End();
    QVERIFY(binding.IsBound());
    QCOMPARE(binding->Value(), 2);
    TScope moved = std::move(secondScope);
    secondScope.End();
    QVERIFY(binding.IsBound());
    moved.End();
    QVERIFY(!binding.IsBound());
  }

  void aScopeMayOutliveItsBinding() {
    TShown shown(1);
    TScope scope;
    {
      TBinding<int> binding;
      scope = binding.Bind(shown);
    }
    scope.End();  // nothing left to unbind
    QCOMPARE(shown.Value(), 1);
  }

  void listenersAreCalledUntilTheirScopeEnds() {
    std::vector<std::string> calls;
    TListener main{"main", &calls}, panel{"panel", &calls};
    TScope panelScope;
    {
      TListeners<TListener> listeners;
      TScope mainScope = listeners.Add(main);
      panelScope = listeners.Add(panel);
      listeners.ForEach([](TListener& listener) { listener.Call(); });
      mainScope.End();
      listeners.ForEach([](TListener& listener) { listener.Call(); });
    }
    panelScope.End();  // the list went first
    QCOMPARE(calls, (std::vector<std::string>{"main", "panel", "panel"}));
  }

  // A listener that ends another's registration during a round: the other
  // one is not called any more in it.
  void aListenerGoneDuringARoundIsNotCalled() {
    std::vector<std::string> calls;
    TListener first{"first", &calls}, second{"second", &calls};
    TListeners<TListener> listeners;
    TScope firstScope = listeners.Add(first);
    TScope secondScope = listeners.Add(second);
    listeners.ForEach([&](TListener& listener) {
      listener.Call();
      secondScope.End();
    });
    QCOMPARE(calls, (std::vector<std::string>{"first"}));
  }
};

QTEST_GUILESS_MAIN(BindingScopeTest)
#include "binding_scope_test.moc"
