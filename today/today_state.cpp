#include "today/today_state.h"

TodayState Today;
