// The sections of the state command about the modes: the active mode, a
// pending temporary switch and the next wake-up.
#pragma once

void PrintActiveMode();
void PrintTemporarySwitch();
void PrintNextWakeUp();
