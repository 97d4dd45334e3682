#pragma once

#include <velawidget/BankListReport.h>
#include <velawidget/BankListResult.h>
#include <velawidget/LoadFailure.h>
#include <velawidget/VelaWidgetBank.h>
#include <velawidget/VelaWidgetError.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/version.h>
