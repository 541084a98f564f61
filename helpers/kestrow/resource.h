// Resource identifiers of the Bluetooth helper: its hidden dialog and the
// dialog's three buttons.
#pragma once

#define IDD_KESTROW 101
#define IDC_STACK_ON 1000
#define IDC_STACK_OFF 1001
#define IDC_QUIT 1002
