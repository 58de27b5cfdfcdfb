// Control ids of the bare one-dialog program, shared by its .rc file, the
// program and the start-up timer that waits for it.
#pragma once

#define IDD_BARE 100
#define IDC_BARE_CLOSE 4242
