// A designer's selection: the selected objects in the order they were selected.
#pragma once

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <unordered_map>
#include <vector>

#include "Classes.h"

// Objects freed in bulk (a collection cleared, thousands of columns deleted) leave the
// selection one at a time. Finding and closing up each one must not walk the whole
// selection, or freeing a large selection takes time square in its size: a removal
// leaves a hole found through an index built on the first removal, and the holes close
// when the selection is next read.
class TSelection {
 public:
  // The selected objects, without holes.
  const std::vector<TPersistent*>& Items() const;
  bool Empty() const { return Items().empty(); }
  bool Contains(TPersistent* P) const;
  // Changes with every change of the selection, so a reader can tell its copy is old.
  std::uint64_t Version() const noexcept { return FVersion; }

  // Null entries are dropped. An object listed twice is one selected object: removing it
  // removes it wherever it stands.
  void Assign(const std::vector<TPersistent*>& Objects);
  void Clear() { Assign({}); }
  // False when P was not selected.
  bool Remove(TPersistent* P);
  // Removes every object Gone says is gone; the number removed.
  template <class F>
  size_t RemoveIf(F&& Gone) {
    Close();
    size_t N = std::erase_if(FItems, Gone);
    if (N) Changed();
    return N;
  }

 private:
  static constexpr size_t NotFound = size_t(-1);
  void Close() const;
  void Index() const;
  // Where P stands, or NotFound.
  size_t Position(TPersistent* P) const;
  void Changed() {
    ++FVersion;
    FIndex.reset();
  }
  // The position of each object. Its entries come from one arena and go with it: built
  // for thousands of objects, it costs no allocation for each. Removals leave their
  // entries, which no longer match the items.
  struct TIndex {
    std::pmr::monotonic_buffer_resource Arena;
    std::pmr::unordered_map<TPersistent*, size_t> Positions{&Arena};
  };
  mutable std::vector<TPersistent*> FItems;
  mutable std::unique_ptr<TIndex> FIndex;  // built on demand
  mutable size_t FHoles = 0;
  std::uint64_t FVersion = 0;
};
