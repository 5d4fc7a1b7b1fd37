// The one exception a command may raise: it carries the PF_Err that EffectMain returns.
#ifndef SPIROVAULT_HOST_PF_ERROR_H
#define SPIROVAULT_HOST_PF_ERROR_H

#include "host/ae_basic_types.h"

class PfError {
  public:
    explicit PfError(PF_Err code) : code_(code) {}
    PF_Err code() const { return code_; }

  private:
    PF_Err code_;
};

// Raises unless err is PF_Err_NONE.
inline void ThrowIfFailed(PF_Err err) {
    if (err != PF_Err_NONE) throw PfError(err);
}

#endif
