#pragma once

// The view model headers for units that also see Qt. The observable values
// have a member named `emit`, which Qt's keyword macro of that name would
// erase; the macro is lifted while they are read and put back afterwards.

#if defined(emit)
#define VELA_SCREENS_RESTORE_EMIT
#undef emit
#endif

#include "platform/Observable.h"
#include "selection/BankListCellViewModel.h"
#include "selection/BankListViewModel.h"
#include "selection/WidgetViewModel.h"

#if defined(VELA_SCREENS_RESTORE_EMIT)
#define emit
#undef VELA_SCREENS_RESTORE_EMIT
#endif
