#pragma once

#include <velawidget/BankListResult.h>
#include <velawidget/VelaWidgetBank.h>
#include <velawidget/VelaWidgetError.h>
#include <velawidget/VelaWidgetSDK.h>
#include <velawidget/platform.h>
#include <velawidget/version.h>
