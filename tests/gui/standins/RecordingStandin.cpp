// Stand-in for a program the launcher only starts and never talks to again (the
// DirectX setup, the demo player, the handler the shell picks for a document
// or a web address): it records how it was started and ends at once.
// VOK_STANDIN_RECORD names its record file; see StandinRecord.h.
#include <windows.h>

#include "StandinRecord.h"

#ifndef VOK_STANDIN_RECORD
#error "VOK_STANDIN_RECORD must name the record file"
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    standin::RecordStart(VOK_STANDIN_RECORD);
    standin::AppendLine(VOK_STANDIN_RECORD, "end", "");
    return 0;
}
