// What designers and design windows share of the IDE: the listeners that hear what
// happens in designers and, in release 6, the design environment. The IDE owns one and
// hands it to the designers it makes and to design windows as they are created, so that
// neither reaches up into the IDE.
#pragma once

#include <memory>
#include <vector>

#include "DesignCommon.h"
#include "Listeners.h"

class TDesigner;

// Hears what happens in designers: the object inspector, design windows, omide.
class TDesignSink {
 public:
  virtual ~TDesignSink() = default;
  virtual void ItemDeleted(TDesigner* Designer, TPersistent* Item) {}
  virtual void ItemInserted(TDesigner* Designer, TPersistent* Item) {}
  virtual void ItemsModified(TDesigner* Designer) {}
  virtual void SelectionChanged(TDesigner* Designer, const std::vector<TPersistent*>& Selection) {}
  virtual void DesignerOpened(TDesigner* Designer) {}
  virtual void DesignerClosed(TDesigner* Designer) {}
};

class TDesignHub {
 public:
  TDesignHub() = default;
  TDesignHub(const TDesignHub&) = delete;
  TDesignHub& operator=(const TDesignHub&) = delete;

  void AddSink(TDesignSink* Sink) { FSinks.Add(Sink); }
  void RemoveSink(TDesignSink* Sink) { FSinks.Remove(Sink); }
  // Every listener hears it, in the order they came; a listener may go away meanwhile.
  template <class F>
  void Broadcast(F&& Call) {
    FSinks.Each(Call);
  }

  // Expires when the hub goes: a listener that may outlive it leaves it only while it is there.
  std::weak_ptr<const bool> Alive() const noexcept { return FAlive; }

#if OM_HOST_RELEASE == 6
  // What IDesigner::Environment gives the package; null until the IDE sets it. The hub
  // does not own it: whoever sets it keeps it alive as long as the hub.
  _di_IDesignEnvironment Environment() const { return _di_IDesignEnvironment(FEnvironment); }
  void SetEnvironment(IDesignEnvironment* Value) noexcept { FEnvironment = Value; }
#endif

 private:
  TListeners<TDesignSink*> FSinks;
  std::shared_ptr<const bool> FAlive = std::make_shared<const bool>(true);
#if OM_HOST_RELEASE == 6
  IDesignEnvironment* FEnvironment = nullptr;
#endif
};

// The hub a design window joins when it is made. The package makes its windows through
// the platform's constructor, which has no room for one, so the IDE sets it here for as
// long as it runs (and clears it when it goes). Defined with the design windows.
PACKAGE void SetDesignWindowHub(TDesignHub* Hub) noexcept;
