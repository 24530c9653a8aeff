// ResetRepeat: every change of the picture or of a sound parameter makes the next Synthesize recompute.
#include "app/repeat.h"

#include "app/control_ids.h"
#include "app/settings.h"
#include "ui/ui.h"

void ResetRepeat() {
  UiSetState(RepeatCheckbox, 0);
  RepeatFlag = 0;
}
