// The one-per-control rule shared by lookup buttons and attached labels: a control gets at
// most one of each.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/Dialogs.h"

#include <vector>

// Whether `self` (a TF2Button or TDBLabel: class T) may be bound to target. Another
// component of T's family bound to target among those owned by self's parent or placed
// on it (the owner's components while self has no parent) refuses with `refusal` in an
// error box; self already bound to target refuses silently.
template <class T>
bool AcceptBinding(T* self, TWinControl* target, TWinControl* (T::*boundTo)() const,
                   const AnsiString& refusal) {
  if ((self->*boundTo)() == target) return false;
  std::vector<TComponent*> candidates;
  if (TWinControl* parent = self->GetParent()) {
    candidates = parent->Components();
    candidates.insert(candidates.end(), parent->Controls().begin(), parent->Controls().end());
  } else if (TComponent* owner = self->GetOwner()) {
    candidates = owner->Components();
  }
  for (TComponent* c : candidates) {
    auto* other = dynamic_cast<T*>(c);
    if (!other || other == self || (other->*boundTo)() != target) continue;
    MessageDlg(refusal, mtError, TMsgDlgButtons{mbOK}, 0);
    return false;
  }
  return true;
}
