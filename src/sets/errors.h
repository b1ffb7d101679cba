#pragma once

#include "data/errors.h"

namespace tervano::sets {

// A set that cannot be switched, installed, created, renamed or deleted as asked. The text is
// Czech and shown as it stands.
class SetError : public UserError {
 public:
  using UserError::UserError;
};

}  // namespace tervano::sets
