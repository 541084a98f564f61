// The timer's one process-wide state record.
#include "timer/timer_state.h"

TimerState Timer;
