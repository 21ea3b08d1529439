#include "Selection.h"

#include <algorithm>

namespace {
// Below this a walk is cheaper than an index.
constexpr size_t IndexFrom = 32;
}  // namespace

const std::vector<TPersistent*>& TSelection::Items() const {
  Close();
  return FItems;
}

void TSelection::Close() const {
  if (!FHoles) return;
  std::erase(FItems, nullptr);
  FHoles = 0;
  FIndex.reset();
}

void TSelection::Index() const {
  if (FIndex || FItems.empty()) return;
  FIndex = std::make_unique<TIndex>();
  auto& Positions = FIndex->Positions;
  Positions.reserve(FItems.size());
  for (size_t I = 0; I < FItems.size(); ++I) {
    if (!FItems[I]) continue;
    // A second entry of an object is not a second selection of it.
    if (!Positions.emplace(FItems[I], I).second) {
      FItems[I] = nullptr;
      ++FHoles;
    }
  }
}

bool TSelection::Contains(TPersistent* P) const {
  if (!P) return false;
  if (FItems.size() < IndexFrom) return std::find(FItems.begin(), FItems.end(), P) != FItems.end();
  return Position(P) != NotFound;
}

// An entry left behind by an object dropped from the end points past the end, or at a
// hole: it finds nothing.
size_t TSelection::Position(TPersistent* P) const {
  Index();
  auto It = FIndex->Positions.find(P);
  if (It == FIndex->Positions.end()) return NotFound;
  size_t Pos = It->second;
  return Pos < FItems.size() && FItems[Pos] == P ? Pos : NotFound;
}

void TSelection::Assign(const std::vector<TPersistent*>& Objects) {
  FItems.clear();
  FHoles = 0;
  std::copy_if(Objects.begin(), Objects.end(), std::back_inserter(FItems),
               [](TPersistent* P) { return P != nullptr; });
  Changed();
}

bool TSelection::Remove(TPersistent* P) {
  if (!P) return false;
  if (FItems.size() < IndexFrom) {
    Close();
    if (!std::erase(FItems, P)) return false;
    Changed();
    return true;
  }
  Index();  // which also leaves each object listed once
  // Objects freed from the end, as a list deletes them, are the last entry each time:
  // dropped without a look-up, and they leave no holes behind.
  if (FItems.back() == P) {
    FItems.pop_back();
  } else {
    size_t Pos = Position(P);
    if (Pos == NotFound) return false;
    FItems[Pos] = nullptr;
    ++FHoles;
  }
  while (!FItems.empty() && !FItems.back()) {
    FItems.pop_back();
    --FHoles;
  }
  ++FVersion;
  return true;
}
