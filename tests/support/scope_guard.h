#pragma once
// Puts a swapped global back when the scope ends, also when a failed
// assertion leaves the test early.
#include <functional>
#include <utility>

namespace test_support {

// Runs Undo when the object goes.
class TScopeGuard {
 public:
  explicit TScopeGuard(std::function<void()> Undo);
  ~TScopeGuard();
  TScopeGuard(const TScopeGuard&) = delete;
  TScopeGuard& operator=(const TScopeGuard&) = delete;

 private:
  std::function<void()> FUndo;
};

// Sets Target to a new value and gives it its old value back when the object
// goes; the value set meanwhile (a test's stand-in) is destroyed then.
//   TRestore Opener(StreamOpener, std::make_unique<TVXStreamOpener>(Dir + "/"));
//   TRestore Volumes(VolumeManager);  // empty until the test starts its own
template <typename T>
class TRestore {
 public:
  TRestore(T& Target, T Value) : FTarget(Target), FOld(std::exchange(Target, std::move(Value))) {}
  // Leaves Target value-initialised (an empty pointer).
  explicit TRestore(T& Target) : TRestore(Target, T{}) {}
  ~TRestore() { FTarget = std::move(FOld); }
  TRestore(const TRestore&) = delete;
  TRestore& operator=(const TRestore&) = delete;

  const T& Old() const { return FOld; }

 private:
  T& FTarget;
  T FOld;
};

// TRestore(Opener, std::make_unique<TDerived>()) restores the type of the target.
template <typename T, typename U>
TRestore(T&, U&&) -> TRestore<T>;

}  // namespace test_support

using test_support::TRestore;
using test_support::TScopeGuard;
