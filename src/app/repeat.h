// The shared step that marks the last synthesised sound as out of date.
#pragma once

// Unticks RepeatCheckbox (without reporting an event) and clears RepeatFlag.
void ResetRepeat();
