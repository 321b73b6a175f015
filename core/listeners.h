#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "core/scope.h"

namespace zelmora {

// The listeners of one interface, called in the order they came. Adding
// returns the scope of the registration: the listener is called until it
// ends, and either side may go first.
//
// Thread: ui
template <typename TListener>
class TListeners {
 public:
  TScope Add(TListener& listener) {
    list_->push_back(&listener);
    return TScope([weak = std::weak_ptr<TList>(list_), entry = &listener] {
      if (const std::shared_ptr<TList> list = weak.lock()) {
        std::erase(*list, entry);
      }
    });
  }

  // Calls `call(listener)` for each; one that goes during the round is
  // still called in it only if it has not gone yet.
  template <typename TCall>
  void ForEach(TCall&& call) const {
    const TList round = *list_;
    for (TListener* listener : round) {
      if (std::find(list_->begin(), list_->end(), listener) != list_->end()) {
        call(*listener);
      }
    }
  }

 private:
  using TList = std::vector<TListener*>;
  std::shared_ptr<TList> list_ = std::make_shared<TList>();
};

}  // namespace zelmora
