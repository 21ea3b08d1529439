// Listeners told of events in the order they came, where a listener may come or go while
// an event is being told.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// Events are told by position rather than over a copy of the list: designers tell one for
// every item a collection frees, by the ten thousand. A listener removed meanwhile leaves
// an empty place, closed once no event is being told; one added meanwhile hears the next.
template <class T>
class TListeners {
 public:
  void Add(const T& Listener) {
    if (Listener && std::find(FItems.begin(), FItems.end(), Listener) == FItems.end())
      FItems.push_back(Listener);
  }
  void Remove(const T& Listener) {
    auto It = std::find(FItems.begin(), FItems.end(), Listener);
    if (It == FItems.end()) return;
    if (FTelling) {
      *It = T();
      FGaps = true;
    } else {
      FItems.erase(It);
    }
  }
  template <class F>
  void Each(F&& Call) {
    std::size_t N = FItems.size();
    ++FTelling;
    try {
      for (std::size_t I = 0; I < N; ++I)
        if (FItems[I]) Call(T(FItems[I]));  // held while it runs, should it remove itself
    } catch (...) {
      Done();
      throw;
    }
    Done();
  }

 private:
  void Done() {
    if (--FTelling == 0 && FGaps) {
      std::erase(FItems, T());
      FGaps = false;
    }
  }
  std::vector<T> FItems;
  int FTelling = 0;
  bool FGaps = false;
};
