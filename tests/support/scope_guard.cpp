#include "tests/support/scope_guard.h"

namespace test_support {

TScopeGuard::TScopeGuard(std::function<void()> Undo) : FUndo(std::move(Undo)) {}

TScopeGuard::~TScopeGuard() {
  if (FUndo) FUndo();
}

}  // namespace test_support
