// The About box has no behaviour beyond its template; this unit keeps its header compiled.
#include "app/AboutDlg.h"
