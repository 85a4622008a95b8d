#ifndef RES_RESOURCE_H
#define RES_RESOURCE_H

// Dialogs
#define IDD_CONFIRM 102

// Icons
#define IDI_MAIN 128

// Controls
#define IDC_INST   1000
#define IDC_README 1001

#endif
