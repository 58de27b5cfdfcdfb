#include "Harness.h"
#include "Report.h"
#include "Win32Ui.h"

void RegisterLauncherCases() {}
